// The main window's side of the key configuration: the controls editor command and the
// defined-keys switch.

#include "app/frmCargador.h"
#include "widgets/Colours.h"
#include "widgets/LabelButton.h"
#include "widgets/Seams.h"

namespace zefrin {

void frmCargador::chkUsaControles_Click()
{
    if (state_.EmulatorBusy)
        return;
}

void frmCargador::lblTeclas_Click()
{
    if (state_.EmulatorBusy)
        return;
    if (lblTeclas->backColour() == Colours::disabledGrey()) {
        context_.dialogs.message(this, Dialogs::Icon::Information, QStringLiteral("No es posible."),
                                 QStringLiteral("Esta opción no está habilitada para pa versión "
                                                "de M.A.M.E que tienes, actualiza la versión si "
                                                "quieres configurar desde el Zefrin!."));
        return;
    }
}

bool frmCargador::CambiarOpcionIni(const QString& name, const QString& value, bool restore)
{
    Q_UNUSED(name);
    Q_UNUSED(value);
    Q_UNUSED(restore);
    return true;
}

} // namespace zefrin
