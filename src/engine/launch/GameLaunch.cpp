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
#include <QSet>

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

QString defaultSettingsName()
{
    return QStringLiteral("default") + settingsExtension();
}

QString cfgFolderOf(const QString& emulatorFolder)
{
    return emulatorPath(emulatorFolder, QStringLiteral("cfg"));
}

// Gives back every file; the first that could not be, or nothing.
std::optional<std::pair<AsideFile, FileResult>> giveAllBack(const QString& cfgFolder,
                                                            const QList<AsideFile>& files)
{
    std::optional<std::pair<AsideFile, FileResult>> failed;
    for (const AsideFile& file : files)
        if (const FileResult back = giveBack(cfgFolder, file); !back.ok && !failed)
            failed = std::make_pair(file, back);
    return failed;
}

// Links, in `links`, the lower-case names of the entries of roms/ named in capitals (unless
// roms/ has the lower-case name itself) to them: today's emulator looks on Linux for the set's
// name as it knows it, in lower case. False when no link was needed or could be made.
bool linkLowerCaseNames(const QString& roms, const QString& links)
{
    QDir folder(links);
    if (folder.exists())
        (void)folder.removeRecursively();
    const QStringList entries =
        QDir(roms).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    const QSet<QString> names(entries.begin(), entries.end());
    bool linked = false;
    for (const QString& entry : entries) {
        const QString lower = entry.toLower();
        if (lower == entry || names.contains(lower) || !QDir().mkpath(links))
            continue;
        linked = QFile::link(roms + QLatin1Char('/') + entry, links + QLatin1Char('/') + lower) ||
                 linked;
    }
    return linked;
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
    result_.exitCode = shell.exitCode;
    result_.crashed = shell.crashed;
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

QStringList GameLaunch::settingsNames() const
{
    QStringList names{QFileInfo(settings_).fileName()};
    if (request_.dialect == Dialect::Today)
        names << defaultSettingsName();
    return names;
}

bool GameLaunch::moveSettingsAside()
{
    if (!request_.definedKeys)
        return true;
    QList<AsideFile> plan;
    for (const QString& name : settingsNames())
        if (const std::optional<AsideFile> file =
                planAside(cfgFolder_, name, request_.dialect == Dialect::Today))
            plan << *file;
    if (plan.isEmpty())
        return true;
    result_.armed = true;
    // A record a run that never ended left (its settings could not be put back at start-up)
    // is settled first: this run's record takes its place.
    if (recoverGameSettings(request_.recordPath, request_.emulatorFolder).outcome ==
        SettingsRecovery::Outcome::Failed)
        return fail(Failure::SettingsAside, settings_);
    // Noted first, naming the run to come: a program ended from here on leaves the settings
    // aside, and the next start waits for that run, if it started, before it puts them back.
    // Without the note they are not moved.
    run_ = runner_.nextRun();
    aside_ = plan;
    if (!request_.recordPath.isEmpty() &&
        !writeRunRecord(request_.recordPath, request_.emulatorFolder, settingsNote())) {
        aside_.clear();
        return fail(Failure::Record, request_.recordPath);
    }
    return setFilesAside(plan);
}

bool GameLaunch::setFilesAside(const QList<AsideFile>& plan)
{
    for (const AsideFile& file : plan) {
        QString reason;
        if (!setAside(cfgFolder_, file, &reason))
            return fail(Failure::SettingsAside,
                        described(cfgFolder_ + QLatin1Char('/') + file.settings, reason));
    }
    return true;
}

bool GameLaunch::writePlayScript()
{
    if (request_.scriptPath.isEmpty())
        return fail(Failure::Script, QString());
    const bool linked =
        request_.dialect == Dialect::Today && !request_.romLinksFolder.isEmpty() &&
        !request_.romLinksFolder.contains(QLatin1Char(';')) && // a separator of -rompath
        linkLowerCaseNames(emulatorPath(request_.emulatorFolder, QStringLiteral("roms")),
                           request_.romLinksFolder);
    const QStringList lines = playScriptLines(
        request_.emulatorFolder, game_, launchWithoutSound(request_.emulatorVersion),
        request_.logPath, request_.dialect, request_.controllerFolders,
        linked ? request_.romLinksFolder : QString());
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
    // The process too, now that it is known: its number is quicker to look up than the mark.
    if (!aside_.isEmpty()) {
        run_ = runner_.runIdentity();
        (void)writeRunRecord(request_.recordPath, request_.emulatorFolder, settingsNote());
    }
    return true;
}

QJsonObject GameLaunch::settingsNote() const
{
    return withRun(asideNote(aside_), run_);
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
    // Today's default.cfg is the user's own, given back with the game's settings.
    const QString defaults = cfgFolder_ + QLatin1Char('/') + defaultSettingsName();
    if (!request_.definedKeys || request_.dialect == Dialect::Today || !FileExists(defaults))
        return true;
    QString reason;
    if (!removeFile(defaults, &reason))
        return fail(Failure::DefaultSettings, described(defaults, reason));
    return true;
}

bool GameLaunch::restoreSettings()
{
    if (aside_.isEmpty())
        return true;
    if (const auto failed = giveAllBack(cfgFolder_, aside_))
        return fail(
            Failure::Restore,
            described(cfgFolder_ + QLatin1Char('/') + failed->first.backup, failed->second.error));
    aside_.clear();
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
    if (aside_.isEmpty())
        return;
    // Left in the backup, the settings would be overwritten by the next run that moves the
    // game's settings aside.
    if (const auto failed = giveAllBack(cfgFolder_, aside_)) {
        result_.strandedBackup = cfgFolder_ + QLatin1Char('/') + failed->first.backup;
        result_.strandedSettings = cfgFolder_ + QLatin1Char('/') + failed->first.settings;
    } else {
        (void)clearRunRecord(request_.recordPath);
    }
    aside_.clear();
}

bool GameLaunch::fail(Failure failure, const QString& detail)
{
    result_.failure = failure;
    result_.detail = detail;
    return false;
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
    const std::optional<QList<AsideFile>> files = asideFilesOf(reading.note);
    const QString what =
        !files ? QStringLiteral("la configuración de un juego, apartada durante "
                                "la partida")
        : files->size() == 1
            ? QStringLiteral("la configuración de un juego (cfg/") + files->first().settings +
                  QStringLiteral("), apartada durante la partida como cfg/") + files->first().backup
            : QStringLiteral("la configuración apartada durante una partida (") +
                  describedFiles(*files) + QLatin1Char(')');
    if (const QString why =
            recordNotApplicableReason(reading, files.has_value(), emulatorFolder, readOnly);
        !why.isEmpty())
        return {Outcome::SetAside, {}, setRunRecordAside(recordPath, what, why)};
    if (const ProcessIdentity run = recordedRun(reading.note); isRunning(run))
        return {Outcome::Waiting, run, std::nullopt};

    const QString folder = cfgFolderOf(emulatorFolder);
    for (const AsideFile& file : *files) {
        const QString backup = folder + QLatin1Char('/') + file.backup;
        const std::optional<FileIdentity> identity = fileIdentity(backup);
        if (identity && !(*identity == file.identity))
            return {Outcome::SetAside,
                    {},
                    setRunRecordAside(recordPath, what, recordFileChangedReason(backup))};
    }
    if (giveAllBack(folder, *files))
        return {Outcome::Failed, {}, std::nullopt};
    (void)clearRunRecord(recordPath);
    return {Outcome::Restored, {}, std::nullopt};
}

} // namespace zefrin
