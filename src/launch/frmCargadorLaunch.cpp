// Starting the selected game and showing what the emulator printed.

#include "app/frmCargador.h"

namespace zefrin {

void frmCargador::lstJuegos_DblClick()
{
    LaunchSelectedGame();
}

void frmCargador::LaunchSelectedGame()
{
    if (state_.EmulatorBusy)
        return;
}

void frmCargador::lblLog_Click()
{
    ShowLaunchLog();
}

void frmCargador::ShowLaunchLog()
{
    if (state_.EmulatorBusy)
        return;
}

} // namespace zefrin
