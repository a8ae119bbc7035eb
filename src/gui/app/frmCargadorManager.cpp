// The main window's ROM manager command.

#include "frmCargador.h"
#include "gui/romman/frmGestionar.h"
#include "gui/widgets/Seams.h"

namespace zefrin {

void frmCargador::lblGestionar_Click()
{
    if (emulatorBusy())
        return;
    setCursor(Qt::WaitCursor);
    // The main window counts as busy from here until the manager has closed.
    manager_ = std::make_unique<frmGestionar>(context_, this);
    connect(manager_.get(), &frmGestionar::loaded, this, &frmCargador::managerLoaded);
    connect(manager_.get(), &QDialog::finished, this, &frmCargador::managerClosed);
    if (!manager_->Form_Load()) {
        manager_.reset();
        unsetCursor();
    }
}

void frmCargador::managerLoaded()
{
    // Modal to this window: it takes no input until the manager has closed.
    manager_->open();
}

void frmCargador::managerClosed()
{
    // Called from the manager's own signal: it goes once that has returned.
    manager_.release()->deleteLater();
    // The manager may have given archives new names.
    if (!context_.programExit.hasEnded())
        CargarDatos();
    unsetCursor();
}

} // namespace zefrin
