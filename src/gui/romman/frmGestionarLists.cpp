// Loading the ROM manager, its two lists and their selections, and leaving it.

#include "engine/catalogue/GameList.h"
#include "engine/catalogue/GeneratedFiles.h"
#include "engine/catalogue/RomFolder.h"
#include "engine/input/KeyNameTable.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"
#include "frmGestionar.h"
#include "gui/widgets/Seams.h"
#include "gui/widgets/TitleRows.h"
#include "gui/widgets/Twips.h"

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
    regenerateGameList(&frmGestionar::gameListMade);
}

void frmGestionar::gameListMade()
{
    // Every step may fail on its own: the list then shows less, the window still opens.
    refreshRomList();
    if (const std::optional<QStringList> lines = readGameLines(state_.emulatorFolder)) {
        const QSignalBlocker quiet(lstJuegos);
        setTitleRows(lstJuegos, managerTitles(*lines, state_.dialect));
    } else {
        context_.dialogs.message(
            this, Dialogs::Icon::Critical, QStringLiteral("Error."),
            gameListNotMadeText(state_.emulatorFolder, listMaker_.diskWasFull()));
    }
    unsetCursor();
    emit loaded();
}

void frmGestionar::regenerateGameList(void (frmGestionar::*then)())
{
    connect(&listMaker_, &GameListMaker::made, this, then, Qt::SingleShotConnection);
    if (listMaker_.start(state_.dialect))
        return;
    disconnect(&listMaker_, &GameListMaker::made, this, then);
    (this->*then)();
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
    // The title shown is the selected archive's, under its name of now.
    if (!ManagerBusy)
        showArchiveTitle();
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
    return selected.isEmpty() ? QString() : rowTitle(selected.first());
}

void frmGestionar::ROMs_Click()
{
    if (ManagerBusy)
        return;
    const QScopedValueRollback<bool> busy(ManagerBusy, true);
    showArchiveTitle();
}

void frmGestionar::lstJuegos_Click()
{
    if (ManagerBusy)
        return;
    const QScopedValueRollback<bool> busy(ManagerBusy, true);
    showGameArchive();
}

void frmGestionar::showSelections()
{
    showArchiveTitle();
    showGameArchive();
}

void frmGestionar::showArchiveTitle()
{
    const QString archive = selectedArchiveName();
    if (archive.isEmpty())
        return;
    // Without a readable game list no archive is known, nor one whose name cannot be handed
    // to the emulator.
    const std::optional<QString> title =
        isPassableArchiveName(archive)
            ? TitleForArchive(state_.emulatorFolder, archive, state_.dialect)
            : std::nullopt;
    setValue(lblTitulo, title.value_or(unknownArchiveTitle(archive)));
}

void frmGestionar::showGameArchive()
{
    if (!gameSelected())
        return;
    gameArchive_ = ArchiveForTitle(state_.emulatorFolder, selectedTitle(), state_.dialect);
    setValue(lblArchivo, gameArchive_.value_or(QStringLiteral("ERROR")));
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

QString frmGestionar::path(const QString& relative) const
{
    return emulatorPath(state_.emulatorFolder, relative);
}

} // namespace zefrin
