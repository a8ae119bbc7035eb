// Loading the ROM manager, its two lists and their selections, and leaving it.

#include "catalogue/GameList.h"
#include "catalogue/GeneratedFiles.h"
#include "catalogue/RomFolder.h"
#include "input/KeyNameTable.h"
#include "romman/GameLines.h"
#include "romman/frmGestionar.h"
#include "services/EmulatorCommands.h"
#include "services/SystemServices.h"
#include "services/TextFile.h"
#include "widgets/Seams.h"
#include "widgets/Twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QSignalBlocker>

namespace zefrin {

namespace {

// The window is designed as 9570 by 4485 twips outside, without a title bar: its border takes
// 120 twips of the width and 90 of the height.
constexpr int clientWidthTwips = 9570 - 120;
constexpr int clientHeightTwips = 4485 - 90;

} // namespace

bool frmGestionar::Form_Load()
{
    setCursor(Qt::WaitCursor);
    setFixedSize(pixels(clientWidthTwips), pixels(clientHeightTwips));
    refreshRomList();
    CargarDatos();
    unsetCursor();
    return !context_.programExit.hasEnded();
}

void frmGestionar::CargarDatos()
{
    lstJuegos->clear();

    if (state_.CdMode && !generatedFilesPresent(state_.emulatorFolder)) {
        context_.dialogs.message(this, Dialogs::Icon::Critical, cdWithoutGeneratedFilesTitle(),
                                 cdWithoutGeneratedFilesText());
        context_.programExit.endProgram();
        return;
    }

    // Every step may fail on its own: the list then shows less, the window still opens.
    regenerateGameList();
    refreshRomList();
    const std::optional<QStringList> lines = readTextLines(path(gameListFileName()));
    if (lines) {
        const QSignalBlocker quiet(lstJuegos);
        lstJuegos->addItems(managerTitles(gameLinesOf(*lines)));
    }
}

void frmGestionar::regenerateGameList()
{
    (void)ensureGameListScript(state_.emulatorFolder);
    makeGameList(state_.emulatorFolder, state_.records.gameList);
}

void frmGestionar::refreshRomList(const QString& select)
{
    const QString keep = select.isEmpty() ? selectedArchiveName() : select;
    const QSignalBlocker quiet(ROMs);
    ROMs->clear();
    ROMs->addItems(listRomArchives(path(QStringLiteral("roms"))));
    if (keep.isEmpty())
        return;
    const QList<QListWidgetItem*> found = ROMs->findItems(keep, Qt::MatchExactly);
    if (found.isEmpty())
        return;
    ROMs->setCurrentItem(found.first());
    ROMs->scrollToItem(found.first());
}

QString frmGestionar::selectedArchiveName() const
{
    const QList<QListWidgetItem*> selected = ROMs->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

bool frmGestionar::gameSelected() const
{
    return !lstJuegos->selectedItems().isEmpty();
}

QString frmGestionar::selectedTitle() const
{
    const QList<QListWidgetItem*> selected = lstJuegos->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void frmGestionar::ROMs_Click()
{
    if (ManagerBusy)
        return;
    const QScopedValueRollback<bool> busy(ManagerBusy, true);
    const QString archive = selectedArchiveName();
    if (archive.isEmpty())
        return;
    // Without a readable game list no archive is known, nor one whose name cannot be handed
    // to the emulator.
    const std::optional<QString> title = isPassableArchiveName(archive)
                                             ? TitleForArchive(state_.emulatorFolder, archive)
                                             : std::nullopt;
    setValue(lblTitulo, title.value_or(unknownArchiveTitle(archive)));
}

void frmGestionar::lstJuegos_Click()
{
    if (ManagerBusy)
        return;
    const QScopedValueRollback<bool> busy(ManagerBusy, true);
    if (!gameSelected())
        return;
    setValue(
        lblArchivo,
        ArchiveForTitle(state_.emulatorFolder, selectedTitle()).value_or(QStringLiteral("ERROR")));
}

void frmGestionar::setValue(QLabel* label, const QString& text)
{
    label->setText(text);
    label->adjustSize();
}

void frmGestionar::lblSalir_Click()
{
    if (ManagerBusy)
        return;
    done(QDialog::Accepted);
}

void frmGestionar::closeEvent(QCloseEvent* event)
{
    if (ManagerBusy) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmGestionar::reject()
{
    if (ManagerBusy)
        return;
    QDialog::reject();
}

ArchiveChecker frmGestionar::checker() const
{
    return ArchiveChecker(state_.emulatorFolder, state_.records.pendingRename);
}

QString frmGestionar::path(const QString& relative) const
{
    return emulatorPath(state_.emulatorFolder, relative);
}

} // namespace zefrin
