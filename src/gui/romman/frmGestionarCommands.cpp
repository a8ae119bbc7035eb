// The ROM manager's commands: the compatibility search and its cancel, the compare, the
// update and the two detail reports.

#include "ManagerMessages.h"
#include "engine/catalogue/GeneratedFiles.h"
#include "engine/catalogue/RomFolder.h"
#include "engine/romman/RomReports.h"
#include "engine/romman/RomUpdate.h"
#include "engine/services/ExchangeFiles.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"
#include "frmGestionar.h"
#include "gui/widgets/Seams.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>

namespace zefrin {

bool frmGestionar::refusedName(const QStringList& names)
{
    for (const QString& name : names) {
        if (!isPassableArchiveName(name)) {
            showNameNotPassable(context_.dialogs, this, name);
            return true;
        }
    }
    // Every command writes abrir.bat and its answers in 1.p to 4.p; the game list's all.bat
    // is written only when missing.
    QStringList users = usersExchangeFiles(state_.records.exchangeFiles, state_.emulatorFolder);
    users.removeAll(QStringLiteral("all.bat"));
    if (users.isEmpty())
        return false;
    showUsersExchangeFiles(context_.dialogs, this, users);
    return true;
}

QString frmGestionar::analysedCaption()
{
    return QStringLiteral("Número de ROMs Analizadas:");
}

void frmGestionar::beginCommand()
{
    ManagerBusy = true;
    setCursor(Qt::WaitCursor);
}

void frmGestionar::endCommand()
{
    unsetCursor();
    ManagerBusy = false;
    // The lists' clicks during the command changed their selections, not the labels: what
    // the next command acts on is what the window shows.
    showSelections();
}

void frmGestionar::lblBuscar_Click()
{
    if (ManagerBusy)
        return;
    const QString archive = selectedArchiveName();
    if (archive.isEmpty() || refusedName({archive}))
        return;
    ManagerBusy = true;
    if (!context_.dialogs.askYesNo(
            this, Dialogs::Icon::Exclamation, QStringLiteral("¿De verdad deseas buscar?"),
            QStringLiteral("Quieres realmente buscar una ROM compatible con este archivo entre "
                           "las ROMs emulables por esta versión de M.A.M.E? Si decides hacerlo, "
                           "recuerda que este proceso puede durar bastante."))) {
        ManagerBusy = false;
        return;
    }
    beginCommand();
    Estado->show();
    Estado->raise();
    search_.start(archive);
}

void frmGestionar::romSelectionChanged()
{
    // A search under way takes up the new selection at its next check.
    search_.select(selectedArchiveName());
}

void frmGestionar::searchListMade()
{
    setValue(lblTotal, QString::number(lstJuegos->count()));
    setProgress(0);
}

void frmGestionar::crcListEnded()
{
    Label7->setText(analysedCaption());
    Estado->setToolTip(QString());
}

void frmGestionar::showListProgress(int reached)
{
    Label7->setText(QStringLiteral("Preparando lista de CRC:"));
    setValue(lblActual, QString::number(reached));
    setProgress(reached);
}

void frmGestionar::showEarlierRun(qint64 pid, int reached)
{
    Label7->setText(QStringLiteral("Esperando a M.A.M.E:"));
    Estado->setToolTip(QStringLiteral("Una sesión anterior de Zefrin! dejó a M.A.M.E (proceso ") +
                       QString::number(pid) +
                       QStringLiteral(") escribiendo la lista de CRC (listacrc.txt). La búsqueda "
                                      "seguirá cuando termine; puedes cancelarla."));
    setValue(lblActual, QString::number(reached));
    setProgress(reached);
}

void frmGestionar::searchEnded(const SearchResult& result)
{
    Estado->hide();
    endCommand();
    showSearchResult(result);
}

void frmGestionar::showCounter(int counter)
{
    setValue(lblActual, QString::number(counter));
    setProgress(counter);
}

void frmGestionar::setProgress(int counter)
{
    const ProgressFigures figures = progressFigures(counter, lstJuegos->count());
    progreso->setRange(figures.minimum, figures.maximum);
    progreso->setValue(figures.value);
}

void frmGestionar::showSearchResult(const SearchResult& result)
{
    Dialogs& dialogs = context_.dialogs;
    switch (result.end) {
    case SearchEnd::Found:
        dialogs.message(this, Dialogs::Icon::Exclamation, QStringLiteral("¡Encontrada!"),
                        QStringLiteral("Se ha encpntrado compatibilidad para el archivo "
                                       "seleccionado, el título del juego es ") +
                            result.title + QStringLiteral("."));
        return;
    case SearchEnd::AlreadyThere:
        dialogs.message(this, Dialogs::Icon::Exclamation, QStringLiteral("Ya está en roms"),
                        QStringLiteral("El archivo seleccionado es compatible con el juego ") +
                            result.title + QStringLiteral(", pero el archivo de ese juego, ") +
                            result.candidate +
                            QStringLiteral(", ya está en la carpeta roms: este es una copia suya "
                                           "o una versión distinta. No se ha cambiado el nombre "
                                           "de ningún archivo."));
        return;
    case SearchEnd::Cancelled:
        dialogs.message(this, Dialogs::Icon::Critical, QStringLiteral("Proceso cancelado"),
                        QStringLiteral("La comprobación ha sido cancelada por el usuario."));
        return;
    case SearchEnd::Exhausted:
        dialogs.message(this, Dialogs::Icon::Critical, QStringLiteral("¡Ogh!"),
                        QStringLiteral("No se han encontrado ROMs compatibbles"));
        return;
    case SearchEnd::Unreadable:
        dialogs.message(this, Dialogs::Icon::Critical, QStringLiteral("¡Ogh!"),
                        QStringLiteral("El archivo ") + result.archive +
                            QStringLiteral(" no es un archivo .zip que se pueda leer, así que no "
                                           "puede contener las ROMs de ningún juego."));
        return;
    case SearchEnd::Stopped:
        showCheckFailure(dialogs, this, result.failure, result.archive, result.candidate,
                         state_.records.pendingRename);
        refreshRomList();
        return;
    case SearchEnd::NoGameList:
        dialogs.message(this, Dialogs::Icon::Critical, QStringLiteral("Error."),
                        gameListNotMadeText(state_.emulatorFolder, result.diskFull));
        return;
    case SearchEnd::CrcListCut:
        dialogs.message(this, Dialogs::Icon::Critical, QStringLiteral("Error."),
                        crcListCutText(state_.emulatorFolder, result.diskFull));
        return;
    }
}

void frmGestionar::lblCancelar_Click()
{
    // Not guarded: the one command that acts while a search runs. The search notices the
    // cancel once the step in hand has ended.
    if (context_.dialogs.askYesNo(
            this, Dialogs::Icon::Exclamation, QStringLiteral("¿Estas seguro?"),
            QStringLiteral("¿Deseas abortar la búsqueda de ROMs compatibles?")))
        search_.cancel();
}

void frmGestionar::lblCompara_Click()
{
    if (ManagerBusy)
        return;
    const QString archive = selectedArchiveName();
    if (archive.isEmpty() || !gameSelected())
        return;
    if (!gameArchive_) {
        showUnknownGameArchive(context_.dialogs, this);
        return;
    }
    const QString candidate = *gameArchive_;
    if (refusedName({archive, candidate}))
        return;
    // The archive of the game itself is compared as it is.
    if (candidate != archive && FileExists(checker_.romsFolder() + QLatin1Char('/') + candidate)) {
        showCompareNameTaken(context_.dialogs, this);
        return;
    }
    beginCommand();
    compareArchive_ = archive;
    compareCandidate_ = candidate;
    if (const std::optional<CheckOutcome> outcome =
            checker_.CheckArchiveAsGame(archive, candidate)) {
        compareChecked(*outcome);
        return;
    }
    connect(&checker_, &ArchiveChecker::checked, this, &frmGestionar::compareChecked,
            Qt::SingleShotConnection);
}

void frmGestionar::compareChecked(CheckOutcome outcome)
{
    endCommand();
    if (outcome == CheckOutcome::Good) {
        context_.dialogs.message(this, Dialogs::Icon::Exclamation, QStringLiteral("¡Encontrada!"),
                                 QStringLiteral("Las ROMs son compatibles. Puede que actualizando "
                                                "la ROM para el juego seleccionado M.A.M.E pueda "
                                                "emularla."));
    } else if (outcome == CheckOutcome::NameTaken || outcome == CheckOutcome::GoodBeside) {
        // The game's archive came while the compare began.
        showCompareNameTaken(context_.dialogs, this);
    } else if (outcome == CheckOutcome::NoRomFiles) {
        showNoRomFiles(context_.dialogs, this, false);
    } else if (stopsSearch(outcome)) {
        showCheckFailure(context_.dialogs, this, outcome, compareArchive_, compareCandidate_,
                         state_.records.pendingRename);
        refreshRomList();
    } else {
        context_.dialogs.message(this, Dialogs::Icon::Critical, QStringLiteral("¡Ogh!"),
                                 QStringLiteral("No hay compatibilidad entre estas ROMs."));
    }
}

void frmGestionar::lblActualizar_Click()
{
    if (ManagerBusy)
        return;
    Dialogs& dialogs = context_.dialogs;
    const QString archive = selectedArchiveName();
    if (archive.isEmpty() || !gameSelected()) {
        dialogs.message(this, Dialogs::Icon::Information, QStringLiteral("¡No!"),
                        QStringLiteral("Debes selccionar un archivo de la carpeta roms y un "
                                       "título para que se pueda actualizar."));
        return;
    }
    if (!gameArchive_) {
        showUnknownGameArchive(dialogs, this);
        return;
    }
    const QString newName = *gameArchive_;
    if (refusedName({archive, newName}))
        return;
    ManagerBusy = true;
    if (!dialogs.askYesNo(this, Dialogs::Icon::Exclamation, QStringLiteral("Atención"),
                          QStringLiteral("¿Deseas actualizar el archivo de ROM ") + archive +
                              QStringLiteral(" al archivo para el juego ") + selectedTitle() +
                              QLatin1Char('(') + newName + QStringLiteral(")?"))) {
        ManagerBusy = false;
        return;
    }
    beginCommand();
    updateArchive_ = archive;
    updateName_ = newName;
    if (const std::optional<UpdateResult> result = update_.start(archive, newName))
        updateEnded(*result);
}

void frmGestionar::updateEnded(const UpdateResult& result)
{
    endCommand();
    Dialogs& dialogs = context_.dialogs;
    const QString& archive = updateArchive_;
    const QString& newName = updateName_;
    switch (result.end) {
    case UpdateEnd::Updated:
        refreshRomList(newName);
        return;
    case UpdateEnd::TargetTaken:
        dialogs.message(this, Dialogs::Icon::Critical, QStringLiteral("Error"),
                        QStringLiteral("No es posible actualizar el archivo zip para el juego "
                                       "seleccionado, ya que existe otro zip con el nombre de la "
                                       "actualización."));
        return;
    case UpdateEnd::ArchiveGone:
        dialogs.message(this, Dialogs::Icon::Critical, QStringLiteral("No es posible continuar"),
                        QStringLiteral("El archivo a actualizar ha sido borrado o movido durante "
                                       "el proceso de actualización."));
        return;
    case UpdateEnd::NotEmulable:
        dialogs.message(this, Dialogs::Icon::Critical, QStringLiteral("¡No!"),
                        QStringLiteral("No es posible actualizar esta ROM ya que no sería "
                                       "emulable por la versión de M.A.M.E"));
        return;
    case UpdateEnd::NoRomFiles:
        showNoRomFiles(dialogs, this, true);
        return;
    case UpdateEnd::CheckFailed:
        showCheckFailure(dialogs, this, result.check, archive, newName,
                         state_.records.pendingRename);
        refreshRomList();
        return;
    case UpdateEnd::RenameFailed:
        showUpdateRenameFailed(dialogs, this, archive, newName);
        refreshRomList();
        return;
    }
}

void frmGestionar::lblArchivosJuego_Click()
{
    if (ManagerBusy)
        return;
    if (!gameSelected())
        return;
    if (!gameArchive_) {
        showUnknownGameArchive(context_.dialogs, this);
        return;
    }
    if (refusedName({*gameArchive_}))
        return;
    beginCommand();
    if (!reports_.gameReport(selectedTitle(), *gameArchive_))
        endCommand();
}

void frmGestionar::lblContiene_Click()
{
    if (ManagerBusy)
        return;
    const QString archive = selectedArchiveName();
    if (archive.isEmpty() || refusedName({archive}))
        return;
    beginCommand();
    if (!reports_.archiveReport(archive))
        endCommand();
}

void frmGestionar::reportMade(const ReportResult& report)
{
    endCommand();
    presentReport(context_.dialogs, context_.desktop, this, report);
}

} // namespace zefrin
