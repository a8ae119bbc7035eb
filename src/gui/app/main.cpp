// Zefrin! works in the emulator's folder: everything it reads and writes is there. That is its
// own folder when it was copied beside the emulator, else the folder named on the command line,
// the one used last or the one the user chooses (StartPlace.h).

#include "StartPlace.h"
#include "engine/services/InstanceLock.h"
#include "engine/services/RunRecord.h"
#include "engine/state/AppState.h"
#include "frmCargador.h"
#include "gui/widgets/Colours.h"
#include "gui/widgets/Seams.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Answered before any window system or setting is touched.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<QString> help = zefrin::commandLineHelp(arguments)) {
        std::fputs(help->toLocal8Bit().constData(), stdout);
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zefrin!"));
    // The desktop finds the menu entry, and with it the icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zefrin.Zefrin"));
    QApplication::setFont(zefrin::windowFont());
    // The interface is Spanish whatever the desktop's language: the standard buttons too.
    QTranslator standardTexts;
    if (standardTexts.load(QStringLiteral("qtbase_es"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&standardTexts);

    if (const std::optional<QString> help =
            zefrin::commandLineHelp(QCoreApplication::arguments())) {
        std::fputs(help->toLocal8Bit().constData(), stdout);
        return 0;
    }

    zefrin::MessageBoxDialogs dialogs;
    // Decided before anything is made: a start that ends here leaves nothing behind.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Zefrin!"),
                       QStringLiteral("Zefrin!"));
    const std::optional<zefrin::EmulatorPlace> place = zefrin::startPlace(
        QCoreApplication::arguments(), QCoreApplication::applicationDirPath(), settings, dialogs);
    if (!place)
        return 0;

    zefrin::AppState state;
    state.emulatorFolder = place->folder;
    state.emulator.useEmulator(place->program);
    state.records = zefrin::RunRecords::forFolder(state.emulatorFolder);
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
