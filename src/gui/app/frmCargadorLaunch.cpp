// Starting the selected game and showing what the emulator printed.

#include "engine/catalogue/GameCatalogue.h"
#include "engine/catalogue/RomFolder.h"
#include "engine/launch/GameLaunch.h"
#include "engine/launch/LaunchMessages.h"
#include "frmCargador.h"
#include "gui/widgets/Colours.h"
#include "gui/widgets/Pointer.h"
#include "gui/widgets/Seams.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QScreen>

namespace zefrin {

namespace {

void reportLaunchFailure(Dialogs& dialogs, QWidget* parent, const LaunchResult& result)
{
    const MessageText failure = launchFailureMessage(result);
    dialogs.message(parent, Dialogs::Icon::Critical, failure.title, failure.text);
    if (!result.strandedBackup.isEmpty()) {
        const MessageText stranded =
            strandedBackupMessage(result.strandedBackup, result.strandedSettings);
        dialogs.message(parent, Dialogs::Icon::Critical, stranded.title, stranded.text);
    }
}

// Lines (height) of characters (width) a message box shows on the window's screen. A box
// wraps its text at about 420 pixels and must leave room for its button and frame.
QSize messageBoxCapacity(const QWidget* window)
{
    const QScreen* screen = window->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const QFontMetrics metrics(window->font());
    const int rows = area.height() * 2 / 3 / qMax(1, metrics.lineSpacing());
    const int columns = qMin(420, area.width() / 2) / qMax(1, metrics.averageCharWidth());
    return QSize(columns, rows);
}

} // namespace

void frmCargador::lstJuegos_DblClick()
{
    LaunchSelectedGame();
}

void frmCargador::LaunchSelectedGame()
{
    if (emulatorBusy())
        return;
    // The current row of a list that has just taken the focus is not a choice of the user's.
    const QModelIndex row = chosenRow();
    if (!row.isValid())
        return;
    const QString archive = row.data(GameCatalogue::ArchiveRole).toString();
    // Such a name has an unknown archive's row; the refusal says why it cannot run at all.
    if (!isPassableArchiveName(archive)) {
        const MessageText refusal = notPassableArchiveMessage(archive);
        context_.dialogs.message(this, Dialogs::Icon::Information, refusal.title, refusal.text);
        return;
    }
    if (!row.data(GameCatalogue::KnownRole).toBool()) {
        const MessageText refusal = unrecognisedArchiveMessage();
        context_.dialogs.message(this, Dialogs::Icon::Information, refusal.title, refusal.text);
        return;
    }

    showHourglass();
    state_.LastLaunchTitle = row.data(GameCatalogue::TitleRole).toString();
    setStatus(QStringLiteral("Cargando ROM, por favor se paciente."), Colours::statusRed());

    LaunchRequest request;
    request.emulatorFolder = state_.emulatorFolder;
    request.archive = archive;
    request.emulatorVersion = state_.EmulatorVersion;
    request.dialect = state_.dialect;
    request.controllerFolders = state_.controllerFolders;
    request.definedKeys = chkUsaControles->isChecked();
    request.recordPath = state_.records.gameSettings;
    if (state_.scratch.isValid()) {
        request.scriptPath = state_.scratch.playScriptPath();
        request.logPath = state_.scratch.logPath();
        request.romLinksFolder = state_.scratch.filePath(QStringLiteral("roms"));
    }
    launch_ = std::make_unique<GameLaunch>(state_.emulator, request);
    connect(launch_.get(), &GameLaunch::ended, this, &frmCargador::launchFinished);
    if (const std::optional<LaunchResult> refused = launch_->start())
        launchFinished(*refused);
}

void frmCargador::launchFinished(const LaunchResult& result)
{
    // The user reads what happened with the normal pointer.
    showNormalPointer();
    if (result.log)
        state_.LastLaunchLog = *result.log;
    if (!result.ok()) {
        reportLaunchFailure(context_.dialogs, this, result);
        return;
    }
    // The classic emulator's exit status says nothing reliable: its runs read as before.
    if (const std::optional<MessageText> failed =
            state_.dialect == Dialect::Today ? failedRunMessage(result) : std::nullopt) {
        setStatus(failedRunStatus(), Colours::statusRed());
        if (context_.dialogs.askYesNo(this, Dialogs::Icon::Critical, failed->title, failed->text))
            ShowLaunchLog();
        return;
    }
    setStatus(QStringLiteral("Ha terminado la carga."), Colours::statusDarkBlue());
}

void frmCargador::lblLog_Click()
{
    ShowLaunchLog();
}

void frmCargador::ShowLaunchLog()
{
    if (emulatorBusy())
        return;
    const QByteArray& log = state_.LastLaunchLog;
    const QString heading = launchLogHeading(state_.LastLaunchTitle);
    const QSize capacity = messageBoxCapacity(this);
    if (log.isEmpty() || logFitsInMessageBox(heading, log, capacity.height(), capacity.width())) {
        const MessageText shown = launchLogMessage(state_.LastLaunchTitle, log);
        context_.dialogs.message(this, Dialogs::Icon::None, shown.title, shown.text);
    } else {
        context_.dialogs.showLongText(this, QStringLiteral("Visor de sucesos."), heading, log);
    }
}

} // namespace zefrin
