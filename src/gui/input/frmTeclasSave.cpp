// "Guardar y salir": three groups of steps, each with its own failure message. A failure
// ends the save with the window still open; what earlier groups wrote stays on disk.

#include "DefinedKeysSwitch.h"
#include "KeyMessages.h"
#include "engine/input/ControllerFiles.h"
#include "engine/input/KeySwitch.h"
#include "engine/input/KeySwitchSteps.h"
#include "frmTeclas.h"
#include "gui/widgets/Seams.h"

namespace zefrin {

bool frmTeclas::GuardarTeclado()
{
    const QString& folder = state_.emulatorFolder;
    if (!writeControllerFiles(folder, state_.TablaTeclas, state_.dialect)) {
        context_.dialogs.message(this, Dialogs::Icon::Critical, keyErrorTitle(),
                                 keyFilesErrorText(folder));
        return false;
    }
    KeySwitchSteps steps(folder, state_.dialect, state_.records, state_.LineaAnterior);
    if (!showKeyStep(context_.dialogs, this, steps.parkInputSettings()))
        return false;

    bool failureReported = false;
    if (!keysSwitch_.pointAtControllerFile(&failureReported)) {
        if (!failureReported)
            context_.dialogs.message(this, Dialogs::Icon::Critical, keyErrorTitle(),
                                     mameIniErrorText());
        // With the switch off the emulator's own settings belong in their place.
        if (!keysSwitch_.definedKeysOn())
            (void)showKeyStep(context_.dialogs, this, steps.giveBackInputSettings());
        return false;
    }
    // Turning the switch on finds nothing left to change; should it fail all the same, it has
    // told the user why and turned itself off again.
    keysSwitch_.turnDefinedKeysOn();
    if (!keysSwitch_.definedKeysOn())
        return false;
    accept();
    return true;
}

} // namespace zefrin
