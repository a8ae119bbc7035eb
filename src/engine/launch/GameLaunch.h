#pragma once
// One game run, from the game's settings file moved aside to the emulator's output read back:
// the part of a launch that touches files and waits for the emulator. The window decides
// whether to launch, locks itself and reports; this runs the steps in their order and stops
// at the first one that fails.
//
// While the user's own keys are in use the emulator must not find the game's own input
// mappings, which would override them for that game: cfg/GAME.cfg is moved to cfg/GAME.bak
// for the run (or to a free name beside it, when a GAME.bak of the user's own is there; see
// launch/KeyedSettings.h). With the classic emulator the whole file yields, and the
// cfg/default.cfg it writes on exit is deleted (the user's own one lies parked while the keys
// are in use). With today's emulator only the mappings of cfg/GAME.cfg and of cfg/default.cfg
// yield: everything else of them applies during the run, and what the emulator saves is kept.

#include "KeyedSettings.h"

#include "engine/services/Dialect.h"
#include "engine/services/EmulatorRunner.h"
#include "engine/services/RunRecord.h"
#include "engine/version/InstalledVersion.h"

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>

#include <optional>

namespace zefrin {

// The base name under which cfg/ keeps the settings of `game`: `game` itself, unless only a
// name differing in letter case is there. Windows finds such a file under either spelling,
// and the emulator names the file after its own (lower-case) short name whatever the
// archive is called.
QString gameSettingsStem(const QString& cfgFolder, const QString& game);

// Everything a run needs, read from the window before the first file is touched.
struct LaunchRequest {
    QString emulatorFolder;
    QString archive; // the archive's file name, extension included
    InstalledVersion emulatorVersion;
    Dialect dialect = Dialect::Classic;
    bool definedKeys = false; // the defined-keys switch, read once for the whole run
    QString scriptPath;       // empty when there is no scratch folder to write it in
    QString logPath;
    // The run record (services/RunRecord.h) kept while the game's settings are moved aside;
    // empty keeps none.
    QString recordPath;
    // A folder of the scratch folder for the lower-case names today's emulator looks for,
    // linked to archives of roms/ named in capitals; empty: none.
    QString romLinksFolder = QString();
    // Where today's emulator looks for controller files (AppState::controllerFolders).
    QString controllerFolders = QStringLiteral("ctrlr");
};

struct LaunchResult {
    enum class Failure {
        None,
        SettingsAside,   // the game's settings file could not be moved aside
        Record,          // the record of the settings moved aside could not be written
        Script,          // the play script could not be written
        Start,           // the script could not be started
        TemporaryFile,   // the script or the log could not be deleted
        Log,             // the emulator's output could not be read
        DefaultSettings, // the default.cfg the emulator wrote could not be deleted
        Restore,         // the game's settings file could not be put back
    };
    Failure failure = Failure::None;
    // The failure came after the attempt to move the game's settings file aside.
    bool armed = false;
    QString detail; // the file and the reason behind a failure
    // The emulator's output, once it was read.
    std::optional<QByteArray> log; // launch/LaunchLog.h
    // How the emulator's run ended, once it has: its exit status, or the signal that ended it.
    int exitCode = 0;
    bool crashed = false;
    // The backup that still holds the game's own settings after a failure, or empty, and the
    // settings file it is to be put back as.
    QString strandedBackup;
    QString strandedSettings;

    bool ok() const { return failure == Failure::None; }
};

// One launch: the steps before the emulator runs, the run, the steps after it. A failure
// after the game's settings were moved aside puts them back before the launch ends.
class GameLaunch : public QObject {
    Q_OBJECT

public:
    GameLaunch(EmulatorRunner& runner, const LaunchRequest& request);

    // Runs the steps up to the emulator's start. A launch that ends before it (a step failed,
    // or another run is in progress: Failure::Start) comes back at once; otherwise nothing
    // comes back and `ended` follows once the emulator has ended.
    std::optional<LaunchResult> start();

signals:
    void ended(const LaunchResult& result);

private slots:
    void runEnded(const ShellResult& shell);

private:
    bool moveSettingsAside();
    bool setFilesAside(const QList<AsideFile>& plan);
    bool writePlayScript();
    bool startEmulator();
    bool removeScript(const ShellResult& shell);
    bool readLog();
    bool dropDefaultSettings();
    bool restoreSettings();
    LaunchResult finish();
    void cleanUpAfterFailure();
    bool fail(LaunchResult::Failure failure, const QString& detail);
    QJsonObject settingsNote() const;
    QStringList settingsNames() const;

    EmulatorRunner& runner_;
    const LaunchRequest request_;
    const QString game_;
    const QString cfgFolder_;
    QString settings_;
    // The files this run holds aside (or is setting aside), until they are given back.
    QList<AsideFile> aside_;
    ProcessIdentity run_; // the run the record names
    LaunchResult result_;
};

// What the start-up did with the game's settings a launch left moved aside.
struct SettingsRecovery {
    enum class Outcome {
        Nothing,  // no record: nothing was aside
        Restored, // put back, or found back in place
        Waiting,  // the run is still going: nothing is touched until it has ended
        Failed,   // they could not be put back; the record is kept for the next start
        SetAside, // the record cannot be applied (see RunRecord.h): nothing is touched
    };
    Outcome outcome = Outcome::Nothing;
    ProcessIdentity run; // the run still going
    std::optional<RecordSetAside> setAside;
};

// Puts back the game's settings that a launch the program did not live to finish left moved
// aside, as its record tells, as long as the backup is still the file that was moved; what
// the emulator wrote meanwhile gives way. The emulator may still be running that game: it
// writes the settings when it ends, so they wait until then. From a read-only installation
// (a CD) nothing was moved: a record there is stale and only set aside.
SettingsRecovery recoverGameSettings(const QString& recordPath, const QString& emulatorFolder,
                                     bool readOnly = false);

} // namespace zefrin
