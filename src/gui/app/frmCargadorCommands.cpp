// The main window's own commands: About, the layout that keeps the list filling the window,
// and the guarded shutdown.

#include "Layout.h"
#include "engine/input/KeySwitch.h"
#include "engine/services/ExchangeFiles.h"
#include "engine/services/SystemServices.h"
#include "frmCargador.h"
#include "gui/info/frmAcercaDe.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Seams.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>

namespace zefrin {

namespace {

// Gives the emulator folder back as the user had it: the parked default.cfg returns and the
// temporary files the program made go. Every step is tried; the result lists what could not
// be done.
QStringList restoreEmulatorFolder(const QString& folder, const RunRecords& records)
{
    const QString& parkedRecord = records.inputSettings;
    QStringList problems;
    const QString parked = QStringLiteral("cfg/") + parkedInputFileName(folder, parkedRecord);
    if (const FileResult back = restoreEmulatorInputFile(folder, parkedRecord); !back.ok)
        problems << QStringLiteral("- No se ha podido devolver '%1' a 'cfg/default.cfg' (%2); tu "
                                   "configuración de M.A.M.E sigue guardada en '%1'.")
                        .arg(parked, back.error);
    for (const QString& name : removeOwnExchangeFiles(records.exchangeFiles, folder))
        problems << QStringLiteral("- No se ha podido borrar el archivo temporal '%1'.").arg(name);
    return problems;
}

QString shutdownProblemsText(const QStringList& problems)
{
    return QStringLiteral("Zefrin! se va a cerrar, pero no ha podido dejar la carpeta de M.A.M.E "
                          "como estaba, comprueba que estos archivos no tengan la propiedad "
                          "'sólo lectura':\r\n\r\n") +
           problems.join(QStringLiteral("\r\n"));
}

} // namespace

void frmCargador::Label1_Click()
{
    if (emulatorBusy())
        return;
    // Window-modal: the main window takes no input until the About window is closed.
    if (auto* shown = findChild<frmAcercaDe*>(QString(), Qt::FindDirectChildrenOnly);
        shown && shown->isVisible()) {
        shown->activateWindow();
        return;
    }
    auto* about = new frmAcercaDe(context_.dialogs, context_.desktop, this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->open();
}

void frmCargador::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isMinimized())
        return;
    const MainWindowLayout layout = mainWindowLayout(size());
    lstJuegos->setGeometry(layout.lstJuegos);
    lblEstado->setGeometry(layout.lblEstado);
    lblLog->setGeometry(layout.lblLog);
    // The window system answers with another resize event, for the snapped size.
    if (layout.snapped(size()))
        resize(layout.clientSize);
}

void frmCargador::closeEvent(QCloseEvent* event)
{
    if (emulatorBusy()) {
        // The caption alone changes: the colour stays that of the launch's status.
        lblEstado->setText(QStringLiteral("Si MAME está activo, no se puede cerrar Zefrin!"));
        event->ignore();
        return;
    }
    QStringList problems;
    // From a CD nothing in the folder was changed, and the generated files a CD start needs
    // (all.bat among them) must stay for the next one.
    if (!state_.CdMode) {
        giveBackControllerOption();
        problems = restoreEmulatorFolder(state_.emulatorFolder, state_.records);
    }
    // The scratch folder goes with the program; a log left in it harms nothing.
    if (state_.scratch.isValid())
        (void)removeIfExists(state_.scratch.logPath());
    if (!problems.isEmpty())
        context_.dialogs.message(this, Dialogs::Icon::Exclamation, QStringLiteral("Error."),
                                 shutdownProblemsText(problems));
    event->accept();
}

} // namespace zefrin
