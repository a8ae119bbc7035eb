// The main window's ROM manager command, and the start-up step that puts back an archive a
// check left under another game's name when the program was ended in the middle of it.

#include "engine/romman/PendingRename.h"
#include "frmCargador.h"
#include "gui/romman/ManagerMessages.h"
#include "gui/romman/frmGestionar.h"
#include "gui/widgets/Seams.h"

#include <QScopedValueRollback>

namespace zefrin {

void frmCargador::lblGestionar_Click()
{
    if (state_.EmulatorBusy)
        return;
    setCursor(Qt::WaitCursor);
    {
        const QScopedValueRollback<bool> busy(state_.EmulatorBusy, true);
        {
            frmGestionar manager(context_, this);
            if (manager.Form_Load())
                manager.exec();
        }
        // The manager may have given archives new names. The rebuild runs while the flag is
        // still set, so it is called directly and not through lblDirectorio's busy test.
        if (!context_.programExit.hasEnded())
            CargarDatos();
    }
    unsetCursor();
}

void frmCargador::RestorePendingRename()
{
    showRecovery(context_.dialogs, nullptr,
                 recoverPendingRename(state_.records.pendingRename, state_.emulatorFolder));
}

} // namespace zefrin
