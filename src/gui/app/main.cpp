// Zefrin! lives in the emulator's own folder: everything it reads and writes is there.

#include "engine/services/InstanceLock.h"
#include "engine/services/RunRecord.h"
#include "engine/state/AppState.h"
#include "frmCargador.h"
#include "gui/widgets/Colours.h"
#include "gui/widgets/Seams.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zefrin!"));
    QApplication::setFont(zefrin::windowFont());
    // The interface is Spanish whatever the desktop's language: the standard buttons too.
    QTranslator standardTexts;
    if (standardTexts.load(QStringLiteral("qtbase_es"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&standardTexts);

    zefrin::AppState state;
    state.emulatorFolder = QCoreApplication::applicationDirPath();
    state.records = zefrin::RunRecords::forFolder(state.emulatorFolder);
    zefrin::MessageBoxDialogs dialogs;
    zefrin::SystemDesktop desktop;
    zefrin::ApplicationExit programExit;
    zefrin::InstanceLock instanceLock;
    zefrin::AppContext context{state, dialogs, desktop, programExit, instanceLock};

    zefrin::frmCargador window(context);
    // Shown once the start-up has built the game list and applied the version rules.
    QObject::connect(&window, &zefrin::frmCargador::loaded, &window, &QWidget::show);
    if (!window.Form_Load())
        return 0;
    // Scratch folders beside ours whose marker names a copy that no longer runs are what
    // copies ended by force left behind.
    state.scratch.removeLeftovers();
    return QApplication::exec();
}
