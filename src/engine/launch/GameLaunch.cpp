#include "GameLaunch.h"

#include "LaunchLog.h"

#include "engine/services/EmulatorCommands.h"
#include "engine/services/RunRecord.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"
#include "engine/version/VersionRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zefrin {

namespace {

using Failure = LaunchResult::Failure;

QString settingsExtension()
{
    return QStringLiteral(".cfg");
}

QString backupExtension()
{
    return QStringLiteral(".bak");
}

const QString settingsKey = QStringLiteral("settings");
const QString backupKey = QStringLiteral("backup");
const QString identityKey = QStringLiteral("settingsIdentity");

QString cfgFolderOf(const QString& emulatorFolder)
{
    return emulatorPath(emulatorFolder, QStringLiteral("cfg"));
}

// A name from a record names a file of the cfg folder itself, nothing else.
bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar());
}

QString described(const QString& path, const QString& reason)
{
    return reason.isEmpty() ? path : path + QStringLiteral(": ") + reason;
}

// Deletes a file that exists; false, with the reason, when it is still there.
bool removeFile(const QString& path, QString* reason)
{
    QFile file(path);
    if (file.remove())
        return true;
    *reason = file.errorString();
    return false;
}

} // namespace

GameLaunch::GameLaunch(EmulatorRunner& runner, const LaunchRequest& request)
    : runner_(runner)
    , request_(request)
    , game_(StripExtension(request.archive))
    , cfgFolder_(cfgFolderOf(request.emulatorFolder))
{
    const QString stem = cfgFolder_ + QLatin1Char('/') + gameSettingsStem(cfgFolder_, game_);
    settings_ = stem + settingsExtension();
}

std::optional<LaunchResult> GameLaunch::start()
{
    if (moveSettingsAside() && writePlayScript() && startEmulator())
        return std::nullopt;
    return finish();
}

void GameLaunch::runEnded(const ShellResult& shell)
{
    if (removeScript(shell) && readLog() && dropDefaultSettings())
        (void)restoreSettings();
    emit ended(finish());
}

LaunchResult GameLaunch::finish()
{
    if (!result_.ok())
        cleanUpAfterFailure();
    return result_;
}

bool GameLaunch::moveSettingsAside()
{
    if (!request_.definedKeys || !FileExists(settings_))
        return true;
    result_.armed = true;
    // A record a run that never ended left (its settings could not be put back at start-up)
    // is settled first: this run's record takes its place.
    if (recoverGameSettings(request_.recordPath, request_.emulatorFolder).outcome ==
        SettingsRecovery::Outcome::Failed)
        return fail(Failure::SettingsAside, settings_);
    // A GAME.bak that no record names is the user's own: the settings go aside under another
    // name, and neither file is ever deleted.
    backup_ = cfgFolder_ + QLatin1Char('/') +
              freeFileName(cfgFolder_, QFileInfo(settings_).completeBaseName(), backupExtension());
    if (const std::optional<FileIdentity> identity = fileIdentity(settings_))
        settingsIdentity_ = identityToJson(*identity);
    // Noted first: a program ended during the run leaves the settings aside, and the next
    // start puts them back. Without the note they are not moved.
    if (!request_.recordPath.isEmpty() &&
        !writeRunRecord(request_.recordPath, request_.emulatorFolder, settingsNote()))
        return fail(Failure::Record, request_.recordPath);
    if (!RenameInFolder(QFileInfo(settings_).fileName(), QFileInfo(backup_).fileName(),
                        cfgFolder_)) {
        (void)clearRunRecord(request_.recordPath);
        return fail(Failure::SettingsAside, settings_);
    }
    movedAside_ = true;
    return true;
}

bool GameLaunch::writePlayScript()
{
    if (request_.scriptPath.isEmpty())
        return fail(Failure::Script, QString());
    const QStringList lines = playScriptLines(
        request_.emulatorFolder, game_, launchWithoutSound(request_.emulatorVersion),
        request_.logPath, request_.dialect, request_.controllerFolders);
    if (!writeScript(request_.scriptPath, lines))
        return fail(Failure::Script, request_.scriptPath);
    return true;
}

bool GameLaunch::startEmulator()
{
    // The script's interpreter would start even without an emulator to run, and say so
    // where nobody reads it.
    const QString emulator = runner_.emulatorFor(request_.emulatorFolder);
    if (!QFileInfo(emulator).isExecutable())
        return fail(Failure::Start, emulator);
    // The emulator's exit code tells nothing the log does not: a game that cannot run says
    // why in its output, which the user reads in the load log.
    if (!runner_.start(scriptCommand(request_.emulatorFolder, request_.scriptPath, emulator), this,
                       &GameLaunch::runEnded))
        return fail(Failure::Start, QStringLiteral("M.A.M.E ya está en marcha"));
    // The emulator may outlive the program and write the game's settings when the game ends:
    // a next start must wait for this run before it puts anything back.
    if (movedAside_)
        (void)writeRunRecord(request_.recordPath, request_.emulatorFolder,
                             withRun(settingsNote(), runner_.runIdentity()));
    return true;
}

QJsonObject GameLaunch::settingsNote() const
{
    return {{settingsKey, QFileInfo(settings_).fileName()},
            {backupKey, QFileInfo(backup_).fileName()},
            {identityKey, settingsIdentity_}};
}

bool GameLaunch::removeScript(const ShellResult& shell)
{
    if (!shell.started)
        return fail(Failure::Start, shell.error);
    QString reason;
    if (!removeFile(request_.scriptPath, &reason))
        return fail(Failure::TemporaryFile, described(request_.scriptPath, reason));
    return true;
}

bool GameLaunch::readLog()
{
    QString reason;
    result_.log = readLaunchLog(request_.logPath, &reason);
    if (!result_.log)
        return fail(Failure::Log, described(request_.logPath, reason));
    if (!removeFile(request_.logPath, &reason))
        return fail(Failure::TemporaryFile, described(request_.logPath, reason));
    return true;
}

bool GameLaunch::dropDefaultSettings()
{
    const QString defaults = cfgFolder_ + QStringLiteral("/default") + settingsExtension();
    if (!request_.definedKeys || !FileExists(defaults))
        return true;
    QString reason;
    if (!removeFile(defaults, &reason))
        return fail(Failure::DefaultSettings, described(defaults, reason));
    return true;
}

bool GameLaunch::restoreSettings()
{
    if (!movedAside_)
        return true;
    const FileResult back = ReplaceFile(backup_, settings_);
    if (!back.ok)
        return fail(Failure::Restore, described(backup_, back.error));
    movedAside_ = false;
    (void)clearRunRecord(request_.recordPath);
    return true;
}

void GameLaunch::cleanUpAfterFailure()
{
    // The scratch files go quietly: the scratch folder goes with the program anyway.
    if (!request_.scriptPath.isEmpty()) {
        QFile::remove(request_.scriptPath);
        QFile::remove(request_.logPath);
    }
    if (!movedAside_)
        return;
    // Left in the backup, the settings would be overwritten by the next run that moves the
    // game's settings aside. What the emulator saved meanwhile is its defaults: it goes.
    if (ReplaceFile(backup_, settings_).ok) {
        (void)clearRunRecord(request_.recordPath);
    } else {
        result_.strandedBackup = backup_;
        result_.strandedSettings = settings_;
    }
}

bool GameLaunch::fail(Failure failure, const QString& detail)
{
    result_.failure = failure;
    result_.detail = detail;
    return false;
}

bool isUnrecognisedTitle(const QString& title)
{
    return title.startsWith(QStringLiteral("ROM desconocida"), Qt::CaseSensitive);
}

QString gameSettingsStem(const QString& cfgFolder, const QString& game)
{
    const QString settingsName = game + settingsExtension();
    const QString backupName = game + backupExtension();
    const QString folder = cfgFolder + QLatin1Char('/');
    if (FileExists(folder + settingsName) || FileExists(folder + backupName))
        return game;
    const QStringList entries =
        QDir(cfgFolder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& wanted : {settingsName, backupName})
        for (const QString& entry : entries)
            if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
                return StripExtension(entry);
    return game;
}

SettingsRecovery recoverGameSettings(const QString& recordPath, const QString& emulatorFolder,
                                     bool readOnly)
{
    using Outcome = SettingsRecovery::Outcome;
    const RecordReading reading = readRunRecordFor(recordPath, emulatorFolder);
    if (reading.state == RecordState::Absent)
        return {};
    const QString settingsName = reading.note.value(settingsKey).toString();
    const QString backupName = reading.note.value(backupKey).toString();
    const std::optional<FileIdentity> identity =
        identityFromJson(reading.note.value(identityKey).toObject());
    const bool readable = isPlainFileName(settingsName) && isPlainFileName(backupName) && identity;
    const QString what =
        readable ? QStringLiteral("la configuración de un juego (cfg/") + settingsName +
                       QStringLiteral("), apartada durante la partida como cfg/") + backupName
                 : QStringLiteral("la configuración de un juego, apartada durante la partida");
    if (const QString why = recordNotApplicableReason(reading, readable, emulatorFolder, readOnly);
        !why.isEmpty())
        return {Outcome::SetAside, {}, setRunRecordAside(recordPath, what, why)};
    if (const ProcessIdentity run = recordedRun(reading.note); isRunning(run))
        return {Outcome::Waiting, run, std::nullopt};

    const QString folder = cfgFolderOf(emulatorFolder) + QLatin1Char('/');
    const std::optional<FileIdentity> backup = fileIdentity(folder + backupName);
    if (backup && !(*backup == *identity))
        return {Outcome::SetAside,
                {},
                setRunRecordAside(recordPath, what, recordFileChangedReason(folder + backupName))};
    if (backup && !ReplaceFile(folder + backupName, folder + settingsName).ok)
        return {Outcome::Failed, {}, std::nullopt};
    (void)clearRunRecord(recordPath);
    return {Outcome::Restored, {}, std::nullopt};
}

} // namespace zefrin
