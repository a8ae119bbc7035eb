// The game list of the main window: building it from the roms folder and the emulator's
// game list, and the commands that read or rebuild it.

#include "app/frmCargador.h"
#include "widgets/Colours.h"
#include "widgets/Pointer.h"

namespace zefrin {

void frmCargador::CargarDatos() {
    Timer1.stop();
    showNormalPointer();
    setStatus(QStringLiteral("Lista cargada."), Colours::statusGreen());
}

void frmCargador::FillGameList() {
}

void frmCargador::lstJuegos_Click() {
}

void frmCargador::lblDirectorio_Click() {
}

void frmCargador::lblLista_Click() {
}

void frmCargador::Timer1_Timer() {
}

} // namespace zefrin
