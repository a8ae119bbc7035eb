// The game list of the main window: building it from the roms folder and the emulator's
// game list, and the commands that read or rebuild it.

#include "engine/catalogue/GameCatalogue.h"
#include "engine/catalogue/GeneratedFiles.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/SystemServices.h"
#include "frmCargador.h"
#include "gui/widgets/Colours.h"
#include "gui/widgets/Pointer.h"
#include "gui/widgets/Seams.h"

#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QListView>

namespace zefrin {

namespace {

// The delayed rebuild after "Actualizar lista de juegos": the first tick comes after 1 ms,
// the next ones a second apart, and the tick that finds the count at its last value rebuilds:
// about two seconds in which the user sees that the old list is gone.
constexpr int firstTimerTick = 6;
constexpr int rebuildTimerTick = 8;
constexpr int firstTickInterval = 1;
constexpr int laterTickInterval = 1000;

// Deletes the game list. A list without write permission for its owner counts as read-only
// and is kept, as Windows keeps a file marked read-only: the user protected it on purpose.
bool removeGameList(const QString& path)
{
    const QFileInfo list(path);
    if (list.exists() && !list.permission(QFileDevice::WriteOwner))
        return false;
    return QFile::remove(path);
}

// A tool tip is read as markup when it looks like it ("pac<i>man.zip" would lose its "<i>"):
// this one is markup that shows the text as it is, on one line.
QString plainToolTip(const QString& text)
{
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace

void frmCargador::CargarDatos()
{
    // A build cancels a pending delayed rebuild; a new interval alone would restart the timer.
    Timer1.stop();
    Timer1.setInterval(firstTickInterval);
    showHourglass();

    const QString& folder = state_.emulatorFolder;
    if (state_.CdMode && !generatedFilesPresent(folder)) {
        context_.dialogs.message(this, Dialogs::Icon::Critical, cdWithoutGeneratedFilesTitle(),
                                 cdWithoutGeneratedFilesText());
        showNormalPointer();
        context_.programExit.endProgram();
        return;
    }
    catalogueBuild_.start(state_.dialect); // showCatalogue() follows
}

void frmCargador::showListBeingMade()
{
    setStatus(QStringLiteral("Creando lista de juegos."), Colours::statusRed());
}

void frmCargador::showListNotMade(bool diskWasFull)
{
    context_.dialogs.message(this, Dialogs::Icon::Critical, QStringLiteral("Error."),
                             gameListNotMadeText(state_.emulatorFolder, diskWasFull));
}

void frmCargador::showCatalogue()
{
    Timer1.stop();
    showNormalPointer();
    setStatus(QStringLiteral("Lista cargada."), Colours::statusGreen());
    emit listLoaded();
}

QModelIndex frmCargador::chosenRow() const
{
    // The chosen row is the selected one, the one Enter starts, not the current row a list
    // gets with the focus.
    const QModelIndexList selected = lstJuegos->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : selected.first();
}

void frmCargador::lstJuegos_Click()
{
    // Emptying the list leaves no row chosen: that is no click on a row.
    const QModelIndex row = chosenRow();
    if (emulatorBusy() || !row.isValid())
        return;
    setStatus(QStringLiteral("Haz doble clic para cargar la ROM."), Colours::statusTeal());
    lstJuegos->setToolTip(plainToolTip(QStringLiteral("Nombre del archivo zip de la ROM: \"") +
                                       row.data(GameCatalogue::ArchiveRole).toString() +
                                       QLatin1Char('"')));
}

void frmCargador::lblDirectorio_Click()
{
    if (emulatorBusy())
        return;
    CargarDatos();
}

void frmCargador::lblLista_Click()
{
    if (emulatorBusy())
        return;
    showHourglass();
    const QString list = path(gameListFileName());
    if (!FileExists(list)) {
        CargarDatos();
        return;
    }
    if (!removeGameList(list)) {
        context_.dialogs.message(this, Dialogs::Icon::Critical, QStringLiteral("Error."),
                                 QStringLiteral("Se ha producido un error, comprueba si el "
                                                "archivo 'Lista.txt' está cómo sólo lectura ya "
                                                "que si es así es imposible seguir."));
        showNormalPointer();
        return;
    }
    Timer1.setInterval(firstTickInterval);
    setStatus(QStringLiteral("Borrando lista antigua."), Colours::statusRed());
    TimerTicks = firstTimerTick;
    Timer1.start();
}

void frmCargador::Timer1_Timer()
{
    // A game or the ROM manager started before the rebuild was due: it waits for them to end.
    if (emulatorBusy() && TimerTicks == rebuildTimerTick) {
        Timer1.setInterval(laterTickInterval);
        return;
    }
    if (TimerTicks != rebuildTimerTick) {
        ++TimerTicks;
    } else {
        Timer1.stop();
        showNormalPointer();
        setStatus(QStringLiteral("Lista antigua borrada."), Colours::statusGreen());
        CargarDatos();
    }
    Timer1.setInterval(laterTickInterval);
}

} // namespace zefrin
