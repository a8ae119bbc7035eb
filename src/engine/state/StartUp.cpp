#include "StartUp.h"

#include "AppState.h"
#include "engine/catalogue/CatalogueBuild.h"
#include "engine/catalogue/GeneratedFiles.h"
#include "engine/catalogue/ListOrigin.h"
#include "engine/input/KeySwitch.h"
#include "engine/input/MameIniOption.h"
#include "engine/launch/GameLaunch.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/EmulatorPlace.h"
#include "engine/services/EmulatorSettings.h"
#include "engine/services/ExchangeFiles.h"
#include "engine/services/InstanceLock.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"
#include "engine/version/Dialect.h"
#include "engine/version/VersionRules.h"

#include <QDir>

namespace zefrin {

namespace {

// An emulator that has not answered "-version" in this time is taken for one that never will.
constexpr int versionTimeLimitMs = 10000;
// A version is a line; more of an answer is not read.
constexpr qint64 versionAnswerBytes = 4096;
// More of an answer is not read: the settings are a few hundred lines.
constexpr qint64 settingsAnswerBytes = 1 << 20;
// An emulator that has not printed its settings in this time is taken for one that never will.
constexpr int settingsTimeLimitMs = 10000;
// The emulator's answers, in the scratch folder.
const QString versionAnswerName = QStringLiteral("version.txt");
const QString settingsAnswerName = QStringLiteral("ajustes.txt");

} // namespace

StartUp::StartUp(AppState& state, InstanceLock& lock, CatalogueBuild& build, QObject* parent)
    : QObject(parent)
    , state_(state)
    , lock_(lock)
    , build_(build)
{
    connect(&build_, &CatalogueBuild::listReady, this, &StartUp::catalogueStep);
    connect(&build_, &CatalogueBuild::built, this, &StartUp::catalogueBuilt);
}

bool StartUp::start()
{
    if (!lockStep())
        return false;
    recoveryStep();
    if (awaitingEarlierRun_) {
        emit waiting();
        return true;
    }
    versionStep();
    return step_ != Step::Ended;
}

void StartUp::enter(Step step)
{
    step_ = step;
    emit stepStarted(step);
}

void StartUp::end(const StartUpNotice& notice)
{
    emit this->notice(notice);
    step_ = Step::Ended;
    emit ended();
}

bool StartUp::lockStep()
{
    enter(Step::Lock);
    state_.CdMode = IsCdDrive(state_.emulatorFolder);
    const QString emulator = program();
    if (!FileExists(emulator)) {
        end({StartUpNotice::Kind::Critical, emulatorMissingTitle(),
             emulatorMissingText(state_.emulatorFolder)});
        return false;
    }
    if (const QString reason = emulatorUnusableReason(emulator); !reason.isEmpty()) {
        end({StartUpNotice::Kind::Critical, emulatorUnusableTitle(),
             emulatorUnusableText(emulator, reason)});
        return false;
    }
    // A lock that could not be made is no other copy: the user is told what keeps it from being.
    const bool locked = lock_.tryAcquire();
    if (!locked && lock_.failed()) {
        end({StartUpNotice::Kind::Critical, lock_.failureTitle(), lock_.failureText()});
        return false;
    }
    if (!locked) {
        end({StartUpNotice::Kind::Information, QStringLiteral("Zefrin ya está abierto."),
             QStringLiteral("Zefrin! ya se encuentra abierto, búscalo, debe estar por ahí.")});
        return false;
    }
    return true;
}

void StartUp::recoveryStep()
{
    enter(Step::Recovery);
    // Notes of this folder kept under the name it had before a rename are its own.
    removeUnfinishedRunRecords(state_.records);
    adoptRunRecords(state_.records, state_.emulatorFolder);
    emit renameRecovered(
        recoverPendingRename(state_.records.pendingRename, state_.emulatorFolder, state_.CdMode));
    recoverInterruptedRun();
}

// Puts back what a run ended by force left changed: a game's settings moved aside, a game list
// half written, the user's controller line (given back at shutdown). What an emulator run of
// that copy still going may write waits for the run's end: the runner is busy meanwhile, so the
// window takes no command and does not close. A note that cannot be applied is said and set
// aside.
void StartUp::recoverInterruptedRun()
{
    const QString& folder = state_.emulatorFolder;
    const bool readOnly = state_.CdMode;
    const SettingsRecovery settings =
        recoverGameSettings(state_.records.gameSettings, folder, readOnly);
    const ListRecovery list = dropInterruptedGameList(state_.records.gameList, folder, readOnly);
    if (!readOnly) { // a mame.ini rewrite ended between its write and its rename
        removeIniRewriteLeftover(state_.records.iniRewrite, folder);
        settleExchangeFiles(state_.records.exchangeFiles, folder);
    }
    // The user's line that a run ended with the keys switched on never gave back: this run's
    // shutdown gives it back.
    const ControllerLineRecovery line =
        recallControllerLine(state_.records.controllerLine, folder, readOnly);
    if (!line.line.isEmpty())
        state_.LineaAnterior = line.line;
    // Settings parked while the keys were in use stay parked: the shutdown gives them back.
    const std::optional<RecordSetAside> parked =
        checkParkedInputFile(state_.records.inputSettings, folder, readOnly);
    for (const std::optional<RecordSetAside>& setAside :
         {settings.setAside, list.setAside, line.setAside, parked})
        if (setAside)
            emit notice({StartUpNotice::Kind::Exclamation, recordSetAsideTitle(),
                         recordSetAsideText(*setAside)});
    const ProcessIdentity run = settings.run.isValid() ? settings.run : list.run;
    awaitingEarlierRun_ =
        run.isValid() && state_.emulator.await(run, this, &StartUp::earlierRunOver);
    waited_ = waited_ || awaitingEarlierRun_;
}

void StartUp::earlierRunOver(const ShellResult&)
{
    recoverInterruptedRun();
    if (awaitingEarlierRun_)
        return;
    emit earlierRunEnded();
    versionStep();
}

bool StartUp::everythingGivenBack() const
{
    // A record still there is what could not be put back.
    return !FileExists(state_.records.gameSettings) && !FileExists(state_.records.gameList);
}

// The version comes first: the game list is read in the dialect it decides.
void StartUp::versionStep()
{
    enter(Step::Version);
    // A CD without the generated files ends the program: nothing could be read.
    if (state_.CdMode && !generatedFilesPresent(state_.emulatorFolder)) {
        end({StartUpNotice::Kind::Critical, cdWithoutGeneratedFilesTitle(),
             cdWithoutGeneratedFilesText()});
        return;
    }
    const InstalledVersion version = ReadEmulatorVersion(state_.emulatorFolder, program());
    // Today's packaged emulator ships no release notes: it is asked.
    if (!version.isKnown() && state_.scratch.isValid()) {
        CommandLine ask =
            emulatorCommand(state_.emulatorFolder, {QStringLiteral("-version")}, program());
        ask.outputFile = state_.scratch.filePath(versionAnswerName);
        ask.timeLimitMs = versionTimeLimitMs;
        if (state_.emulator.start(ask, this, &StartUp::versionAnswered))
            return;
    }
    settleVersion(version);
}

void StartUp::versionAnswered(const ShellResult& result)
{
    const QByteArray bytes =
        takeAnswer(result, state_.scratch.filePath(versionAnswerName), versionAnswerBytes);
    settleVersion(versionFromAnswer(bytes));
}

void StartUp::settleVersion(const InstalledVersion& version)
{
    state_.EmulatorVersion = version;
    state_.dialect = dialectOf(version);
    state_.keysAvailable = versionStateFor(version).keysAvailable;
    enter(Step::List);
    dropListOfAnotherEmulator();
    build_.start(state_.dialect);
}

// A list another emulator made names its games and titles: the build makes it again, and the
// CRC list with it.
void StartUp::dropListOfAnotherEmulator()
{
    const QString list = path(gameListFileName());
    if (state_.CdMode || !FileExists(list))
        return;
    const QString origin = listOriginPath(state_.records.gameList);
    switch (listOrigin(origin, state_.emulatorFolder, program())) {
    case ListOrigin::Same:
        return;
    case ListOrigin::Unknown:
        // Made before the maker was noted: taken for this emulator's, as it always was.
        (void)noteListOrigin(origin, state_.emulatorFolder, emulatorIdentity(program()));
        return;
    case ListOrigin::Other:
        if (removeIfExists(list))
            (void)removeIfExists(path(crcListFileName()));
        return;
    }
}

// The build serves the window's rebuilds too: only the start-up's own build moves it on.
void StartUp::catalogueStep()
{
    if (step_ == Step::List)
        enter(Step::Catalogue);
}

void StartUp::catalogueBuilt()
{
    if (step_ == Step::Catalogue)
        settingsStep();
}

// mame.ini made when the folder has none: the emulator writes it in a folder of the program's
// own, since today's writes its other settings files too, over the user's. Whether it did is
// not checked: a missing file just makes the next start ask again.
void StartUp::settingsStep()
{
    enter(Step::Settings);
    if (!versionStateFor(state_.EmulatorVersion).mayCreateSettings || state_.CdMode ||
        FileExists(path(QStringLiteral("mame.ini"))) || !state_.scratch.isValid())
        return controllerFoldersStep();
    const QString work = state_.scratch.filePath(settingsWorkFolderName());
    if (!QDir().mkpath(work))
        return controllerFoldersStep();
    CommandLine command =
        emulatorCommand(state_.emulatorFolder, {QStringLiteral("-cc")}, program());
    command.workingFolder = work;
    if (!state_.emulator.start(command, this, &StartUp::settingsFileMade))
        controllerFoldersStep();
}

void StartUp::settingsFileMade(const ShellResult&)
{
    (void)placeMadeSettings(state_.scratch.filePath(settingsWorkFolderName()),
                            state_.emulatorFolder);
    controllerFoldersStep();
}

// Today's emulator finds controller files on a list of folders: a game's run names the
// folder's own ctrlr folder, where the program's files are, and keeps those the settings
// name (the package's own controller files, the user's), which would otherwise be hidden.
void StartUp::controllerFoldersStep()
{
    enter(Step::ControllerFolders);
    state_.controllerFolders =
        controllerFolders({controllerPathIn(path(QStringLiteral("mame.ini")))});
    if (state_.dialect != Dialect::Today || !state_.scratch.isValid())
        return finish();
    CommandLine ask =
        emulatorCommand(state_.emulatorFolder, {QStringLiteral("-showconfig")}, program());
    // Run elsewhere, so that it reads the emulator's own settings, not the folder's.
    ask.workingFolder = state_.scratch.path();
    ask.outputFile = state_.scratch.filePath(settingsAnswerName);
    ask.timeLimitMs = settingsTimeLimitMs;
    if (!state_.emulator.start(ask, this, &StartUp::controllerFoldersAnswered))
        finish();
}

void StartUp::controllerFoldersAnswered(const ShellResult& result)
{
    const QByteArray bytes =
        takeAnswer(result, state_.scratch.filePath(settingsAnswerName), settingsAnswerBytes);
    const QString emulatorsOwn = controllerPathOf(splitLines(decodeSystemText(bytes)));
    state_.controllerFolders = controllerFolders({state_.controllerFolders, emulatorsOwn});
    finish();
}

void StartUp::finish()
{
    enter(Step::Done);
    emit finished();
}

QString StartUp::path(const QString& relative) const
{
    return emulatorPath(state_.emulatorFolder, relative);
}

QString StartUp::program() const
{
    return state_.emulator.emulatorFor(state_.emulatorFolder);
}

} // namespace zefrin
