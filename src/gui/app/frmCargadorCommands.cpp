// The main window's own commands: About, the layout that keeps the list filling the window,
// and the guarded shutdown.

#include "Layout.h"
#include "engine/input/KeySwitch.h"
#include "engine/state/ShutDown.h"
#include "frmCargador.h"
#include "gui/info/frmAcercaDe.h"
#include "gui/input/KeyMessages.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Seams.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>

namespace zefrin {

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
    const ShutDownResult left = shutDown(state_);
    (void)showKeyStep(context_.dialogs, this, left.controllerLine);
    if (!left.problems.isEmpty())
        context_.dialogs.message(this, Dialogs::Icon::Exclamation, QStringLiteral("Error."),
                                 shutDownProblemsText(left.problems));
    event->accept();
}

} // namespace zefrin
