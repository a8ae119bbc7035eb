// The main window's ROM manager command.

#include "app/frmCargador.h"

namespace zefrin {

void frmCargador::lblGestionar_Click()
{
    if (state_.EmulatorBusy)
        return;
}

} // namespace zefrin
