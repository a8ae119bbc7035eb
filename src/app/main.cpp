// Zefrin! lives in the emulator's own folder: everything it reads and writes is there.

#include "app/AppState.h"
#include "app/InstanceLock.h"
#include "app/frmCargador.h"
#include "widgets/Colours.h"
#include "widgets/Seams.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zefrin!"));
    QApplication::setFont(zefrin::windowFont());

    zefrin::AppState state;
    state.emulatorFolder = QCoreApplication::applicationDirPath();
    zefrin::MessageBoxDialogs dialogs;
    zefrin::SystemDesktop desktop;
    zefrin::ApplicationExit programExit;
    zefrin::InstanceLock instanceLock;
    zefrin::AppContext context{state, dialogs, desktop, programExit, instanceLock};

    zefrin::frmCargador window(context);
    if (!window.Form_Load())
        return 0;
    window.show();
    return QApplication::exec();
}
