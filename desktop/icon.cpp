// Writes the program's icon, the joystick of the main window, as PNG files of the given
// sizes: icon SIZE FILE [SIZE FILE...]. Drawn at each size rather than scaled from one, so
// the small ones stay sharp.

#include "gui/widgets/Pictures.h"

#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char* argv[])
{
    // No display is needed to draw into a picture.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3 || arguments.size() % 2 == 0) {
        std::fputs("usage: zefrin-icon SIZE FILE [SIZE FILE...]\n", stderr);
        return 2;
    }
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        bool isNumber = false;
        const int size = arguments.at(i).toInt(&isNumber);
        if (!isNumber || size <= 0 || !zefrin::joystickPicture(size).save(arguments.at(i + 1))) {
            std::fprintf(stderr, "zefrin-icon: cannot write %s\n", qPrintable(arguments.at(i + 1)));
            return 1;
        }
    }
    return 0;
}
