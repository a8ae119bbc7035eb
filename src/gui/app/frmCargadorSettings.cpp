// The start-up's look at the emulator's settings: mame.ini made when the folder has none, and
// the controller folders a game's run is to name.

#include "engine/services/EmulatorCommands.h"
#include "engine/services/EmulatorSettings.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"
#include "engine/version/VersionRules.h"
#include "frmCargador.h"

#include <QDir>

namespace zefrin {

namespace {

// More of an answer is not read: the settings are a few hundred lines.
constexpr qint64 settingsAnswerBytes = 1 << 20;
// An emulator that has not printed its settings in this time is taken for one that never will.
constexpr int settingsTimeLimitMs = 10000;
// The emulator's settings as it prints them, in the scratch folder.
const QString settingsAnswerName = QStringLiteral("ajustes.txt");

} // namespace

// The emulator writes its settings file in a folder of the program's own: today's writes its
// other settings files too, over the user's. Whether it did is not checked: a missing file
// just makes the next start ask again.
bool frmCargador::makeSettingsFile()
{
    if (!versionStateFor(state_.EmulatorVersion).mayCreateSettings || state_.CdMode ||
        FileExists(path(QStringLiteral("mame.ini"))) || !state_.scratch.isValid())
        return false;
    const QString work = state_.scratch.filePath(settingsWorkFolderName());
    if (!QDir().mkpath(work))
        return false;
    CommandLine command = emulatorCommand(state_.emulatorFolder, {QStringLiteral("-cc")},
                                          state_.emulator.emulatorFor(state_.emulatorFolder));
    command.workingFolder = work;
    return state_.emulator.start(command, this, &frmCargador::settingsFileMade);
}

void frmCargador::settingsFileMade(const ShellResult&)
{
    (void)placeMadeSettings(state_.scratch.filePath(settingsWorkFolderName()),
                            state_.emulatorFolder);
    askControllerFolders();
}

// Today's emulator finds controller files on a list of folders: a game's run names the
// folder's own ctrlr folder, where the program's files are, and keeps those the settings
// name (the package's own controller files, the user's), which would otherwise be hidden.
void frmCargador::askControllerFolders()
{
    state_.controllerFolders =
        controllerFolders({controllerPathIn(path(QStringLiteral("mame.ini")))});
    if (state_.dialect != Dialect::Today || !state_.scratch.isValid()) {
        applyStartupCaptions();
        return;
    }
    CommandLine ask = emulatorCommand(state_.emulatorFolder, {QStringLiteral("-showconfig")},
                                      state_.emulator.emulatorFor(state_.emulatorFolder));
    // Run elsewhere, so that it reads the emulator's own settings, not the folder's.
    ask.workingFolder = state_.scratch.path();
    ask.outputFile = state_.scratch.filePath(settingsAnswerName);
    ask.timeLimitMs = settingsTimeLimitMs;
    if (!state_.emulator.start(ask, this, &frmCargador::controllerFoldersAnswered))
        applyStartupCaptions();
}

void frmCargador::controllerFoldersAnswered(const ShellResult& result)
{
    const QByteArray bytes =
        takeAnswer(result, state_.scratch.filePath(settingsAnswerName), settingsAnswerBytes);
    const QString emulatorsOwn = controllerPathOf(splitLines(decodeSystemText(bytes)));
    state_.controllerFolders = controllerFolders({state_.controllerFolders, emulatorsOwn});
    applyStartupCaptions();
}

} // namespace zefrin
