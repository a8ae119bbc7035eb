// The main window's side of the key configuration: the controls editor command and the
// defined-keys switch chkUsaControles, which points mame.ini at the controller files and
// parks the emulator's own input settings while it is on.

#include "engine/input/ControllerFiles.h"
#include "engine/input/KeySwitch.h"
#include "engine/input/MameIniOption.h"
#include "engine/services/SystemServices.h"
#include "frmCargador.h"
#include "gui/input/frmTeclas.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Seams.h"

#include <QCheckBox>
#include <QFileInfo>
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

void frmCargador::switchDefinedKeysOn()
{
    if (!FileExists(controllerEntryPath(state_.emulatorFolder))) {
        chkUsaControles->setChecked(false);
        context_.dialogs.message(this, Dialogs::Icon::Information, QStringLiteral("Todavía no."),
                                 QStringLiteral("No hay un archivo de teclado configurado, debes "
                                                "configurar las teclas antes de seleccionar la "
                                                "casilla."));
        return;
    }
    const Parking parking =
        parkEmulatorInputFile(state_.emulatorFolder, state_.records.inputSettings, state_.dialect);
    if (parking.outcome != Parking::Outcome::Parked) {
        // The emulator's own settings would override the user's keys; without the record they
        // could stay parked for good.
        context_.dialogs.message(this, Dialogs::Icon::Critical, keyErrorTitle(),
                                 parking.outcome == Parking::Outcome::RecordFailed
                                     ? keyNoteErrorText(state_.records.inputSettings)
                                     : cfgFolderErrorText(state_.emulatorFolder));
        chkUsaControles->setChecked(false);
        return;
    }
    if (!parking.parkedAs.isEmpty())
        context_.dialogs.message(this, Dialogs::Icon::Information, parkedElsewhereTitle(),
                                 parkedElsewhereText(state_.emulatorFolder, parking.parkedAs));
    bool failureReported = false;
    (void)pointAtControllerFile(&failureReported);
    const QString ini = path(QStringLiteral("mame.ini"));
    if (failureReported || iniOptionHolds(ini, QStringLiteral("ctrlr"), QStringLiteral("Zefrin")))
        return;
    // Without a controller line (or without mame.ini, a link to nothing too) the emulator would
    // not use the keys: the switch does not claim it does, and gives the parked settings back.
    chkUsaControles->setChecked(false);
    context_.dialogs.message(this, Dialogs::Icon::Exclamation, keyErrorTitle(),
                             keysNotPointedText(state_.emulatorFolder, QFileInfo::exists(ini)));
}

void frmCargador::switchDefinedKeysOff()
{
    if (!restoreEmulatorInputFile(state_.emulatorFolder, state_.records.inputSettings).ok)
        context_.dialogs.message(this, Dialogs::Icon::Critical, keyErrorTitle(),
                                 cfgFolderErrorText(state_.emulatorFolder));
    // The remembered line stays while it could not be put back, for a later attempt.
    if (!state_.LineaAnterior.isEmpty() &&
        CambiarOpcionIni(QStringLiteral("ctrlr"), QString(), true))
        forgetControllerLine();
}

void frmCargador::forgetControllerLine()
{
    state_.LineaAnterior.clear();
    keepControllerLine(state_.records.controllerLine, state_.emulatorFolder, QString());
}

// Only a controller line this program set is changed: the user's own line comes back when
// this run remembers it, and a line still naming the program's files from an earlier run is
// reset. A controller setting of the user's own stays as it is.
void frmCargador::giveBackControllerOption()
{
    const QString option = QStringLiteral("ctrlr");
    if (!state_.LineaAnterior.isEmpty()) {
        if (CambiarOpcionIni(option, QString(), true))
            forgetControllerLine();
        return;
    }
    if (iniOptionHolds(path(QStringLiteral("mame.ini")), option, QStringLiteral("Zefrin")))
        (void)CambiarOpcionIni(option, QString(), false);
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
        chkUsaControles->isChecked() ||
        !iniOptionHolds(path(QStringLiteral("mame.ini")), QStringLiteral("ctrlr"),
                        QStringLiteral("Zefrin")))
        return;
    if (FileExists(controllerEntryPath(state_.emulatorFolder)) &&
        FileExists(controllerXmlPath(state_.emulatorFolder)))
        chkUsaControles->setChecked(true);
    else {
        switchDefinedKeysOff();
        giveBackControllerOption();
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
    if (failureReported)
        *failureReported = false;
    // A line that a set replaces is kept in the record before mame.ini loses it. The shutdown's
    // reset (an empty value) puts nothing of the user's aside: it keeps no record.
    std::function<bool(const QString&)> keepLine;
    if (!restore && !value.isEmpty())
        keepLine = [this](const QString& line) {
            return keepControllerLine(state_.records.controllerLine, state_.emulatorFolder, line);
        };
    const IniChange change =
        rewriteIniOption(path(QStringLiteral("mame.ini")), name, value, restore,
                         state_.LineaAnterior, keepLine, state_.records.iniRewrite);
    if (change == IniChange::Unchanged || change == IniChange::Rewritten)
        return true;
    if (change == IniChange::NotRead)
        return false;
    if (failureReported)
        *failureReported = true;
    if (!reportingIniFailure_) {
        const QScopedValueRollback<bool> reporting(reportingIniFailure_, true);
        context_.dialogs.message(this, Dialogs::Icon::Critical, keyErrorTitle(),
                                 change == IniChange::NotNoted
                                     ? keyNoteErrorText(state_.records.controllerLine)
                                     : mameIniErrorText());
        chkUsaControles->setChecked(false);
    }
    return false;
}

} // namespace zefrin
