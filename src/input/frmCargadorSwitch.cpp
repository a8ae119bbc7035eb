// The defined-keys switch of the main window.

#include "app/frmCargador.h"

namespace zefrin {

void frmCargador::chkUsaControles_Click()
{
    if (state_.EmulatorBusy)
        return;
}

} // namespace zefrin
