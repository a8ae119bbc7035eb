#pragma once
// The hourglass over the program while long work runs. Not counted: showing it twice and
// the normal pointer once leaves the normal pointer, as callers expect.

namespace zefrin {

void showHourglass();
void showNormalPointer();
bool hourglassShown();

} // namespace zefrin
