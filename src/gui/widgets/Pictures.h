#pragma once
// The window's two decorative pictures, drawn rather than shipped as files so the program
// stays a single executable.

#include <QPixmap>

namespace zefrin {

QPixmap joystickPicture(int size);
QPixmap marqueePicture(int width, int height);

} // namespace zefrin
