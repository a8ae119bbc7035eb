#pragma once
// The ROM manager window: the archives of the roms folder beside the titles of every game the
// installed emulator supports, and the commands on a pair of selections. Its procedures:
//   frmGestionar.cpp          building the window and its controls
//   frmGestionarLists.cpp     loading, the two lists and their selections, leaving
//   frmGestionarCommands.cpp  search, cancel, compare, update and the two reports
// The work itself is in plain code beside it (ArchiveCheck, CompatibilitySearch, RomUpdate,
// RomReports); the window reads its selections and shows the outcomes.
//
// While one of its commands waits for the emulator the window's events keep flowing, so every
// command but the search's cancel first tests ManagerBusy and does nothing while it is set;
// the window's own close control and the Escape key obey it as lblSalir does.

#include "engine/catalogue/GameListMaker.h"
#include "engine/romman/ArchiveCheck.h"
#include "engine/romman/CompatibilitySearch.h"
#include "engine/romman/RomReports.h"
#include "engine/romman/RomUpdate.h"
#include "gui/widgets/AppContext.h"

#include <QDialog>

#include <array>
#include <optional>

class QFrame;
class QLabel;
class QListWidget;
class QProgressBar;

namespace zefrin {

class LabelButton;

class frmGestionar : public QDialog {
    Q_OBJECT

public:
    explicit frmGestionar(AppContext& context, QWidget* parent = nullptr);
    ~frmGestionar() override;

    // Sizes the window and fills both lists. False when the program ended instead (a CD
    // installation without the files the window needs); otherwise `loaded` follows once the
    // lists are filled.
    bool Form_Load();
    // Regenerates the emulator's game list and rebuilds both lists from it and the roms
    // folder; `loaded` follows.
    void CargarDatos();

    // A command of this window is running: from its click until its outcome is shown.
    bool ManagerBusy = false;

    // What the commands read: the archive selected in ROMs (empty for none), whether a game is
    // selected in lstJuegos, and its title.
    QString selectedArchiveName() const;
    bool gameSelected() const;
    QString selectedTitle() const;

    // Controls.
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QListWidget* ROMs = nullptr;
    QListWidget* lstJuegos = nullptr;
    QFrame* Estado = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* lblTotal = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* lblActual = nullptr;
    QLabel* Label9 = nullptr;
    QProgressBar* progreso = nullptr;
    LabelButton* lblCancelar = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* lblTitulo = nullptr;
    LabelButton* lblContiene = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* lblArchivo = nullptr;
    LabelButton* lblArchivosJuego = nullptr;
    LabelButton* lblBuscar = nullptr;
    LabelButton* lblCompara = nullptr;
    LabelButton* lblActualizar = nullptr;
    LabelButton* lblSalir = nullptr; // element 1 of its control array
    std::array<QFrame*, 8> Line{};   // Line1 to Line8, decoration only

signals:
    void loaded();

protected:
    void closeEvent(QCloseEvent* event) override;

public slots:
    void reject() override;

private slots:
    void ROMs_Click();
    void lstJuegos_Click();
    void lblSalir_Click();
    void lblBuscar_Click();
    void lblCancelar_Click();
    void lblCompara_Click();
    void lblActualizar_Click();
    void lblArchivosJuego_Click();
    void lblContiene_Click();
    void gameListMade();
    void romSelectionChanged();
    void searchListMade();
    void showCounter(int counter);
    void showListProgress(int reached);
    void showEarlierRun(qint64 pid, int reached);
    void crcListEnded();
    void searchEnded(const SearchResult& result);
    void compareChecked(CheckOutcome outcome);
    void updateEnded(const UpdateResult& result);
    void reportMade(const ReportResult& report);

private:
    void buildControls();
    void buildStatusPanel();
    void buildLines();
    void connectControls();

    // lblTitulo and lblArchivo for the selections of now (each kept when nothing is selected).
    // Says so, and is true, when one of the names cannot be handed to the emulator, or when
    // the command would write over the user's own exchange files.
    bool refusedName(const QStringList& names);
    void showSelections();
    void showArchiveTitle();
    void showGameArchive();
    // Re-reads the roms folder; the selection stays on `select` (or the selected name).
    void refreshRomList(const QString& select = QString());
    // The emulator's game list written anew (all.bat written first when missing), then
    // `then` runs; at once when the emulator cannot be asked now.
    void regenerateGameList(void (frmGestionar::*then)());
    // A command begins: busy, under the hourglass; and ends.
    void beginCommand();
    void endCommand();
    // The bar for check number `counter` of the list's titles (0: none yet).
    void setProgress(int counter);
    void showSearchResult(const SearchResult& result);
    void setValue(QLabel* label, const QString& text);
    // Label7's own caption, which the making of the CRC list borrows.
    static QString analysedCaption();
    QString path(const QString& relative) const;

    AppContext& context_;
    AppState& state_;
    GameListMaker listMaker_;
    ArchiveChecker checker_;
    CompatibilitySearch search_;
    RomUpdate update_;
    ReportMaker reports_;
    // The archive of the game last looked up in lstJuegos, which lblArchivo shows ("ERROR"
    // when the game list has no such game, or cannot be read): nothing before the first lookup
    // or after a failed one.
    std::optional<QString> gameArchive_;
    // The pair of the compare in progress.
    QString compareArchive_;
    QString compareCandidate_;
    // The pair of the update in progress.
    QString updateArchive_;
    QString updateName_;
};

} // namespace zefrin
