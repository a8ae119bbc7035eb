// The load handler of the main window: probes the emulator folder and settles the state every
// later command relies on, before the window is first shown.

#include "Layout.h"
#include "engine/catalogue/GeneratedFiles.h"
#include "engine/catalogue/ListOrigin.h"
#include "engine/input/KeySwitch.h"
#include "engine/input/MameIniOption.h"
#include "engine/launch/GameLaunch.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/EmulatorPlace.h"
#include "engine/services/ExchangeFiles.h"
#include "engine/services/InstanceLock.h"
#include "engine/services/SystemServices.h"
#include "engine/version/Dialect.h"
#include "engine/version/VersionRules.h"
#include "frmCargador.h"
#include "gui/widgets/Colours.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Pictures.h"
#include "gui/widgets/Pointer.h"
#include "gui/widgets/Seams.h"
#include "gui/widgets/Twips.h"

#include <QCheckBox>
#include <QLabel>

#include <utility>

namespace zefrin {

namespace {

// An emulator that has not answered "-version" in this time is taken for one that never will.
constexpr int versionTimeLimitMs = 10000;
// A version is a line; more of an answer is not read.
constexpr qint64 versionAnswerBytes = 4096;

} // namespace

bool frmCargador::Form_Load()
{
    resize(designClientSize());

    // Hand pointers are set when the buttons are built; the pictures are drawn here.
    Image1->setPixmap(joystickPicture(Image1->height()));
    Image2->setPixmap(marqueePicture(Image2->width(), Image2->height()));

    state_.CdMode = IsCdDrive(state_.emulatorFolder);

    const QString program = state_.emulator.emulatorFor(state_.emulatorFolder);
    if (!FileExists(program)) {
        context_.dialogs.message(nullptr, Dialogs::Icon::Critical, emulatorMissingTitle(),
                                 emulatorMissingText(state_.emulatorFolder));
        context_.programExit.endProgram();
        return false;
    }
    if (const QString reason = emulatorUnusableReason(program); !reason.isEmpty()) {
        context_.dialogs.message(nullptr, Dialogs::Icon::Critical, emulatorUnusableTitle(),
                                 emulatorUnusableText(program, reason));
        context_.programExit.endProgram();
        return false;
    }

    // A lock that could not be made is no other copy: the user is told what keeps it from being.
    const bool locked = context_.instanceLock.tryAcquire();
    if (!locked && context_.instanceLock.failed()) {
        context_.dialogs.message(nullptr, Dialogs::Icon::Critical,
                                 context_.instanceLock.failureTitle(),
                                 context_.instanceLock.failureText());
        context_.programExit.endProgram();
        return false;
    }
    if (!locked) {
        context_.dialogs.message(
            nullptr, Dialogs::Icon::Information, QStringLiteral("Zefrin ya está abierto."),
            QStringLiteral("Zefrin! ya se encuentra abierto, búscalo, debe estar por ahí."));
        context_.programExit.endProgram();
        return false;
    }
    // Notes of this folder kept under the name it had before a rename are its own.
    removeUnfinishedRunRecords(state_.records);
    adoptRunRecords(state_.records, state_.emulatorFolder);
    RestorePendingRename();
    (void)recoverInterruptedRun();

    showHourglass();

    // A CD without the generated files ends the program: the build says so at once.
    if (state_.CdMode && !generatedFilesPresent(state_.emulatorFolder)) {
        CargarDatos();
        return false;
    }
    // The version comes first: the game list is read in the dialect it decides.
    const InstalledVersion version = ReadEmulatorVersion(
        state_.emulatorFolder, state_.emulator.emulatorFor(state_.emulatorFolder));
    if (!version.isKnown() && state_.scratch.isValid()) {
        // The emulator is asked once the earlier copy's run has ended (earlierRunEnded); the
        // window shows meanwhile that it waits.
        if (awaitingEarlierRun_) {
            versionPending_ = true;
            showNormalPointer();
            ApplyCdMode();
            showWaitingStatus();
            emit loaded();
            return true;
        }
        if (askVersion())
            return true;
    }
    settleVersion(version);
    return !context_.programExit.hasEnded();
}

bool frmCargador::askVersion()
{
    CommandLine ask = emulatorCommand(state_.emulatorFolder, {QStringLiteral("-version")},
                                      state_.emulator.emulatorFor(state_.emulatorFolder));
    ask.outputFile = state_.scratch.filePath(QStringLiteral("version.txt"));
    ask.timeLimitMs = versionTimeLimitMs;
    return state_.emulator.start(ask, this, &frmCargador::versionAnswered);
}

// Today's packaged emulator ships no release notes: it is asked.
void frmCargador::versionAnswered(const ShellResult& result)
{
    const QByteArray bytes = takeAnswer(
        result, state_.scratch.filePath(QStringLiteral("version.txt")), versionAnswerBytes);
    settleVersion(versionFromAnswer(bytes));
}

void frmCargador::settleVersion(const InstalledVersion& version)
{
    state_.EmulatorVersion = version;
    state_.dialect = dialectOf(version);
    connect(this, &frmCargador::listLoaded, this, &frmCargador::applyVersionRules,
            Qt::SingleShotConnection);
    dropListOfAnotherEmulator();
    CargarDatos();
}

// A list another emulator made names its games and titles: the build makes it again, and the
// CRC list with it.
void frmCargador::dropListOfAnotherEmulator()
{
    const QString list = path(gameListFileName());
    if (state_.CdMode || !FileExists(list))
        return;
    const QString origin = listOriginPath(state_.records.gameList);
    const QString program = state_.emulator.emulatorFor(state_.emulatorFolder);
    switch (listOrigin(origin, state_.emulatorFolder, program)) {
    case ListOrigin::Same:
        return;
    case ListOrigin::Unknown:
        // Made before the maker was noted: taken for this emulator's, as it always was.
        (void)noteListOrigin(origin, state_.emulatorFolder, emulatorIdentity(program));
        return;
    case ListOrigin::Other:
        if (removeIfExists(list))
            (void)removeIfExists(path(crcListFileName()));
        return;
    }
}

// The emulator's settings (frmCargadorSettings.cpp), then the captions.
void frmCargador::applyVersionRules()
{
    if (!makeSettingsFile())
        askControllerFolders();
}

void frmCargador::applyStartupCaptions()
{
    const VersionState version = versionStateFor(state_.EmulatorVersion);
    setStatus(version.caption, version.tone == StatusTone::Information ? Colours::statusTeal()
                                                                       : Colours::statusRed());
    if (!version.keysAvailable)
        disableKeyConfiguration();
    showDefinedKeysInForce();

    lblTeclas->setToolTip(lblTeclas->backColour() == Colours::disabledGrey()
                              ? QStringLiteral("Función no habilitada.")
                              : QStringLiteral("Configuración de teclas de M.A.M.E. para "
                                               "versiones posteriores a la 0.59b."));
    ApplyCdMode();
    if (awaitingEarlierRun_)
        showWaitingStatus();
    emit loaded();
}

void frmCargador::showWaitingStatus()
{
    setStatus(QStringLiteral("Esperando a que se cierre el M.A.M.E que quedó abierto de la "
                             "sesión anterior."),
              Colours::statusRed());
}

void frmCargador::disableKeyConfiguration()
{
    lblTeclas->setBackColour(Colours::disabledGrey());
    setCheckBoxColour(Colours::disabledGrey());
    // Unticking runs the switch-off steps, as a user's click would.
    chkUsaControles->setChecked(false);
    chkUsaControles->setEnabled(false);
}

void frmCargador::ApplyCdMode()
{
    if (!state_.CdMode)
        return;
    for (QWidget* control : std::initializer_list<QWidget*>{lblDirectorio, lblLista, lblTeclas,
                                                            lblGestionar, chkUsaControles})
        control->setEnabled(false);
    setStatus(QStringLiteral("Ejecutando desde CD (Modo deshabilitado)"), Colours::statusRed());
}

bool frmCargador::recoverInterruptedRun()
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
            context_.dialogs.message(nullptr, Dialogs::Icon::Exclamation, recordSetAsideTitle(),
                                     recordSetAsideText(*setAside));
    const ProcessIdentity run = settings.run.isValid() ? settings.run : list.run;
    awaitingEarlierRun_ =
        run.isValid() && state_.emulator.await(run, this, &frmCargador::earlierRunEnded);
    return list.outcome == ListRecovery::Outcome::Dropped;
}

void frmCargador::earlierRunEnded(const ShellResult&)
{
    const bool listDropped = recoverInterruptedRun();
    if (awaitingEarlierRun_)
        return;
    showRecoveryStatus();
    showDefinedKeysInForce();
    // The version could not be asked while the emulator ran: it is now, and the list is built
    // after it, in its dialect. What was put back is told once that start-up has ended.
    if (std::exchange(versionPending_, false)) {
        connect(this, &frmCargador::loaded, this, &frmCargador::showRecoveryStatus,
                Qt::SingleShotConnection);
        if (!askVersion())
            settleVersion(InstalledVersion());
        return;
    }
    // The list could not be made while the emulator ran.
    if (listDropped || !FileExists(path(gameListFileName()))) {
        connect(this, &frmCargador::listLoaded, this, &frmCargador::showRecoveryStatus,
                Qt::SingleShotConnection);
        CargarDatos();
    }
}

void frmCargador::showRecoveryStatus()
{
    // A record still there is what could not be put back; the next start tries again.
    if (FileExists(state_.records.gameSettings) || FileExists(state_.records.gameList))
        setStatus(QStringLiteral("M.A.M.E se ha cerrado, pero Zefrin! no ha podido devolver todo "
                                 "a su sitio; lo intentará de nuevo la próxima vez que se abra."),
                  Colours::statusRed());
    else
        setStatus(
            QStringLiteral("M.A.M.E se ha cerrado y Zefrin! ha devuelto lo que tenía apartado."),
            Colours::statusTeal());
}

} // namespace zefrin
