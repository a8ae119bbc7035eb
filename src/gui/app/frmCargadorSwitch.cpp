// The main window's side of the key configuration: the controls editor command and the
// defined-keys switch chkUsaControles, which points mame.ini at the controller files and
// parks the emulator's own input settings while it is on.

#include "engine/input/KeySwitchSteps.h"
#include "frmCargador.h"
#include "gui/input/KeyMessages.h"
#include "gui/input/frmTeclas.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Seams.h"

#include <QCheckBox>
#include <QScopedValueRollback>
#include <QSignalBlocker>

namespace zefrin {

void frmCargador::lblTeclas_Click()
{
    if (emulatorBusy())
        return;
    if (!state_.keysAvailable) {
        context_.dialogs.message(this, Dialogs::Icon::Information, QStringLiteral("No es posible."),
                                 QStringLiteral("Esta opción no está habilitada para pa versión "
                                                "de M.A.M.E que tienes, actualiza la versión si "
                                                "quieres configurar desde el Zefrin!."));
        return;
    }
    frmTeclas editor(context_, *this, this);
    editor.Form_Load();
    editor.exec();
}

// Runs on every change of the box's value, whether the user clicked it or code set it.
void frmCargador::chkUsaControles_Click()
{
    if (emulatorBusy()) {
        // A game or the ROM manager may be using the files the switch would change: the click
        // is ignored, and the box goes back to what is in force.
        const QSignalBlocker blocker(chkUsaControles);
        chkUsaControles->setChecked(!chkUsaControles->isChecked());
        return;
    }
    if (chkUsaControles->isChecked())
        switchDefinedKeysOn();
    else {
        switchDefinedKeysOff();
        giveBackControllerOption();
    }
}

KeySwitchSteps frmCargador::keySteps()
{
    return KeySwitchSteps(state_.emulatorFolder, state_.dialect, state_.records,
                          state_.LineaAnterior);
}

void frmCargador::switchDefinedKeysOn()
{
    KeySwitchSteps steps = keySteps();
    const KeyStep saved = steps.checkKeysSaved();
    if (!saved.done) {
        chkUsaControles->setChecked(false);
        (void)showKeyStep(context_.dialogs, this, saved);
        return;
    }
    if (!showKeyStep(context_.dialogs, this, steps.parkInputSettings())) {
        chkUsaControles->setChecked(false);
        return;
    }
    bool failureReported = false;
    (void)pointAtControllerFile(&failureReported);
    if (failureReported)
        return;
    const KeyStep pointed = steps.checkKeysPointed();
    if (pointed.done)
        return;
    // The switch does not claim the emulator uses the keys, and gives the parked settings back.
    chkUsaControles->setChecked(false);
    (void)showKeyStep(context_.dialogs, this, pointed);
}

void frmCargador::switchDefinedKeysOff()
{
    KeySwitchSteps steps = keySteps();
    (void)showKeyStep(context_.dialogs, this, steps.giveBackInputSettings());
    (void)reportIniFailure(steps.giveBackUserLine());
}

// Only a controller line this program set is changed: the user's own line comes back when
// this run remembers it, and a line still naming the program's files from an earlier run is
// reset. A controller setting of the user's own stays as it is.
void frmCargador::giveBackControllerOption()
{
    (void)reportIniFailure(keySteps().giveBackControllerOption());
}

// A copy ended with the keys on leaves mame.ini pointing at them: the switch shows what is in
// force, and turning it on makes the rest whole (the emulator's own settings parked, those it
// wrote meanwhile gone). With the saved keys deleted since, every game's run would stop on the
// missing controller file: everything is given back at once, as the switch going off does.
// While an earlier copy's run is awaited, that waits for its end, and then for the version,
// whose dialect decides what turning the keys on does with default.cfg.
void frmCargador::showDefinedKeysInForce()
{
    if (state_.CdMode || emulatorBusy() || !chkUsaControles->isEnabled() ||
        chkUsaControles->isChecked())
        return;
    switch (keySteps().keysInForce()) {
    case KeysInForce::No:
        return;
    case KeysInForce::Yes:
        chkUsaControles->setChecked(true);
        return;
    case KeysInForce::SavedKeysGone:
        switchDefinedKeysOff();
        giveBackControllerOption();
        return;
    }
}

bool frmCargador::pointAtControllerFile(bool* failureReported)
{
    return changeIniOption(QStringLiteral("ctrlr"), QStringLiteral("Zefrin"), false,
                           failureReported);
}

bool frmCargador::definedKeysOn() const
{
    return chkUsaControles->isChecked();
}

void frmCargador::turnDefinedKeysOn()
{
    chkUsaControles->setChecked(true);
}

bool frmCargador::CambiarOpcionIni(const QString& name, const QString& value, bool restore)
{
    return changeIniOption(name, value, restore, nullptr);
}

bool frmCargador::changeIniOption(const QString& name, const QString& value, bool restore,
                                  bool* failureReported)
{
    const KeyStep change = keySteps().changeIniOption(name, value, restore);
    if (failureReported)
        *failureReported = !change.messages.isEmpty();
    return reportIniFailure(change);
}

bool frmCargador::reportIniFailure(const KeyStep& change)
{
    if (!change.done && !change.messages.isEmpty() && !reportingIniFailure_) {
        const QScopedValueRollback<bool> reporting(reportingIniFailure_, true);
        (void)showKeyStep(context_.dialogs, this, change);
        chkUsaControles->setChecked(false);
    }
    return change.done;
}

} // namespace zefrin
