// Starting the selected game and showing what the emulator printed.

#include "app/frmCargador.h"
#include "catalogue/RomFolder.h"
#include "launch/GameLaunch.h"
#include "launch/LaunchMessages.h"
#include "widgets/Colours.h"
#include "widgets/Pointer.h"
#include "widgets/Seams.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QListWidget>
#include <QScreen>

namespace zefrin {

namespace {

// The program is busy, under the hourglass, for as long as a launch runs; every way out of
// the launch clears both.
class LaunchLock {
public:
    explicit LaunchLock(AppState& state)
        : state_(state)
    {
        showHourglass();
        state_.EmulatorBusy = true;
    }
    ~LaunchLock()
    {
        state_.EmulatorBusy = false;
        showNormalPointer();
    }
    LaunchLock(const LaunchLock&) = delete;
    LaunchLock& operator=(const LaunchLock&) = delete;

private:
    AppState& state_;
};

void reportLaunchFailure(Dialogs& dialogs, QWidget* parent, const LaunchResult& result)
{
    // The user reads the message with the normal pointer; the lock itself ends after it.
    showNormalPointer();
    const MessageText failure = launchFailureMessage(result);
    dialogs.message(parent, Dialogs::Icon::Critical, failure.title, failure.text);
    if (!result.strandedBackup.isEmpty()) {
        const MessageText stranded = strandedBackupMessage(result.strandedBackup);
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
    if (state_.EmulatorBusy)
        return;
    // The current row of a list that has just taken the focus is not a choice of the user's.
    const QList<QListWidgetItem*> selected = lstJuegos->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = lstJuegos->row(selected.first());
    const QString title = selected.first()->text();
    const int archive = row < ROMTemporal.size() ? ROMTemporal.at(row) : -1;
    const bool known = archive >= 0 && archive < ROMs.size();
    // Such a name has an unknown archive's row; the refusal says why it cannot run at all.
    if (known && !isPassableArchiveName(ROMs.at(archive))) {
        const MessageText refusal = notPassableArchiveMessage(ROMs.at(archive));
        context_.dialogs.message(this, Dialogs::Icon::Information, refusal.title, refusal.text);
        return;
    }
    if (isUnrecognisedTitle(title)) {
        const MessageText refusal = unrecognisedArchiveMessage();
        context_.dialogs.message(this, Dialogs::Icon::Information, refusal.title, refusal.text);
        return;
    }
    if (!known)
        return;

    const LaunchLock lock(state_);
    state_.LastLaunchTitle = title;
    setStatus(QStringLiteral("Cargando ROM, por favor se paciente."), Colours::statusRed());

    LaunchRequest request;
    request.emulatorFolder = state_.emulatorFolder;
    request.archive = ROMs.at(archive);
    request.emulatorVersion = state_.EmulatorVersion;
    request.definedKeys = chkUsaControles->isChecked();
    request.recordPath = state_.records.gameSettings;
    if (state_.scratch.isValid()) {
        request.scriptPath = state_.scratch.playScriptPath();
        request.logPath = state_.scratch.logPath();
    }
    const LaunchResult result = runGameLaunch(request);
    if (result.log)
        state_.LastLaunchLog = *result.log;
    if (!result.ok()) {
        reportLaunchFailure(context_.dialogs, this, result);
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
    if (state_.EmulatorBusy)
        return;
    const MessageText log = launchLogMessage(state_.LastLaunchTitle, state_.LastLaunchLog);
    const QSize capacity = messageBoxCapacity(this);
    if (fitsInMessageBox(log.text, capacity.height(), capacity.width()))
        context_.dialogs.message(this, Dialogs::Icon::None, log.title, log.text);
    else
        context_.dialogs.showLongText(this, log.title, log.text);
}

} // namespace zefrin
