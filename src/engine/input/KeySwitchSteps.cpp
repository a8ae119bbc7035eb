#include "KeySwitchSteps.h"

#include "ControllerFiles.h"
#include "KeySwitch.h"
#include "MameIniOption.h"
#include "engine/services/SystemServices.h"

#include <QFileInfo>

#include <functional>

namespace zefrin {

namespace {

const QString controllerOption = QStringLiteral("ctrlr");
const QString controllerName = QStringLiteral("Zefrin");

KeyStep failed(KeyMessage::Kind kind, const QString& title, const QString& text)
{
    return {false, {{kind, title, text}}};
}

} // namespace

KeySwitchSteps::KeySwitchSteps(const QString& emulatorFolder, Dialect dialect,
                               const RunRecords& records, QString& controllerLine)
    : emulatorFolder_(emulatorFolder)
    , dialect_(dialect)
    , records_(records)
    , controllerLine_(controllerLine)
{
}

QString KeySwitchSteps::iniPath() const
{
    return emulatorPath(emulatorFolder_, QStringLiteral("mame.ini"));
}

KeyStep KeySwitchSteps::checkKeysSaved() const
{
    if (FileExists(controllerEntryPath(emulatorFolder_)))
        return {};
    return failed(KeyMessage::Kind::Information, QStringLiteral("Todavía no."),
                  QStringLiteral("No hay un archivo de teclado configurado, debes configurar las "
                                 "teclas antes de seleccionar la casilla."));
}

KeyStep KeySwitchSteps::parkInputSettings() const
{
    const Parking parking =
        parkEmulatorInputFile(emulatorFolder_, records_.inputSettings, dialect_);
    // The emulator's own settings would override the user's keys; without the record they
    // could stay parked for good.
    if (parking.outcome != Parking::Outcome::Parked)
        return failed(KeyMessage::Kind::Critical, keyErrorTitle(),
                      parking.outcome == Parking::Outcome::RecordFailed
                          ? keyNoteErrorText(records_.inputSettings)
                          : cfgFolderErrorText(emulatorFolder_));
    if (parking.parkedAs.isEmpty())
        return {};
    return {true,
            {{KeyMessage::Kind::Information, parkedElsewhereTitle(),
              parkedElsewhereText(emulatorFolder_, parking.parkedAs)}}};
}

KeyStep KeySwitchSteps::giveBackInputSettings() const
{
    if (restoreEmulatorInputFile(emulatorFolder_, records_.inputSettings).ok)
        return {};
    return failed(KeyMessage::Kind::Critical, keyErrorTitle(), cfgFolderErrorText(emulatorFolder_));
}

KeysInForce KeySwitchSteps::keysInForce() const
{
    if (!iniOptionHolds(iniPath(), controllerOption, controllerName))
        return KeysInForce::No;
    return FileExists(controllerEntryPath(emulatorFolder_)) &&
                   FileExists(controllerXmlPath(emulatorFolder_))
               ? KeysInForce::Yes
               : KeysInForce::SavedKeysGone;
}

KeyStep KeySwitchSteps::checkKeysPointed() const
{
    const QString ini = iniPath();
    if (iniOptionHolds(ini, controllerOption, controllerName))
        return {};
    // Without a controller line (or without mame.ini, a link to nothing too) the emulator would
    // not use the keys.
    return failed(KeyMessage::Kind::Exclamation, keyErrorTitle(),
                  keysNotPointedText(emulatorFolder_, QFileInfo::exists(ini)));
}

KeyStep KeySwitchSteps::changeIniOption(const QString& name, const QString& value, bool restore)
{
    // A line that a set replaces is kept in the record before mame.ini loses it. The shutdown's
    // reset (an empty value) puts nothing of the user's aside: it keeps no record.
    std::function<bool(const QString&)> keepLine;
    if (!restore && !value.isEmpty())
        keepLine = [this](const QString& line) {
            return keepControllerLine(records_.controllerLine, emulatorFolder_, line);
        };
    const IniChange change = rewriteIniOption(iniPath(), name, value, restore, controllerLine_,
                                              keepLine, records_.iniRewrite);
    if (change == IniChange::Unchanged || change == IniChange::Rewritten)
        return {};
    if (change == IniChange::NotRead)
        return {false, {}};
    return failed(KeyMessage::Kind::Critical, keyErrorTitle(),
                  change == IniChange::NotNoted ? keyNoteErrorText(records_.controllerLine)
                                                : mameIniErrorText());
}

void KeySwitchSteps::forgetControllerLine()
{
    controllerLine_.clear();
    keepControllerLine(records_.controllerLine, emulatorFolder_, QString());
}

KeyStep KeySwitchSteps::giveBackUserLine()
{
    // The remembered line stays while it could not be put back, for a later attempt.
    if (controllerLine_.isEmpty())
        return {};
    KeyStep step = changeIniOption(controllerOption, QString(), true);
    if (step.done)
        forgetControllerLine();
    return step;
}

KeyStep KeySwitchSteps::giveBackControllerOption()
{
    if (!controllerLine_.isEmpty())
        return giveBackUserLine();
    if (iniOptionHolds(iniPath(), controllerOption, controllerName))
        return changeIniOption(controllerOption, QString(), false);
    return {};
}

} // namespace zefrin
