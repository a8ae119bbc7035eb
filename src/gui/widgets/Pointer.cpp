#include "Pointer.h"

#include <QApplication>

namespace zefrin {

void showHourglass()
{
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(Qt::WaitCursor);
    else
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void showNormalPointer()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

bool hourglassShown()
{
    return QApplication::overrideCursor() != nullptr;
}

} // namespace zefrin
