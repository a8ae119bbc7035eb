// What the ROM manager adds to each check of a compatibility search. The search runs the
// emulator once per game by design, so its cost is the emulator's runs plus the program's own
// work between them (the pending-rename record, two renames, the script, the answer, the
// progress shown). A full search over a 2,000-game list with the stand-in emulator, which
// answers at once, through the window as a user starts it; then the same emulator run alone,
// as the check runs it, for the share that is the emulator's own.

#include "QuietSeams.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/EmulatorRunner.h"
#include "engine/services/InstanceLock.h"
#include "engine/services/SystemServices.h"
#include "fixture/Collection.h"
#include "gui/romman/frmGestionar.h"
#include "gui/widgets/AppContext.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Seams.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <string>

#include <sys/resource.h>

using namespace zefrin;
using namespace zefrin::bench;
namespace fx = zefrin::fixture;

namespace {

constexpr int gameCount = 2000;
constexpr int emulatorRuns = 300;

// An emulator folder with the stand-in, `gameCount` games and one archive of none of them.
bool writeFolder(const QString& folder)
{
    fx::Collection collection;
    for (int i = 0; i < gameCount; ++i) {
        const std::string name = "juego" + std::to_string(i);
        collection.games.push_back(
            fx::makeGame(name, "Juego número " + std::to_string(i), {{name + ".rom", 64}}));
    }
    return QDir().mkpath(folder + "/roms") &&
           QFile::copy(QStringLiteral(ZEFRIN_STANDIN_PATH), folder + "/mame") &&
           fx::writeDataFile(collection, (folder + "/standin.dat").toStdString()) &&
           fx::writeForeignArchive((folder + "/roms/misterio.zip").toStdString(), "bench");
}

// Lets events flow until `done` holds.
template <typename Condition> void waitUntil(Condition done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

double milliseconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

// The processor time of the program itself, without its children (the shell, the emulator).
double ownCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
}

// Runs a script through a runner of its own and waits for its end.
class ScriptRun : public QObject {
public:
    void ended(const ShellResult&) { loop.quit(); }
    void run(const QString& folder, const QString& script)
    {
        EmulatorRunner runner;
        if (runner.start(scriptCommand(folder, script), this, &ScriptRun::ended))
            loop.exec();
    }
    QEventLoop loop;
};

// One emulator run as a check makes it, with the archive already under the game's name.
double emulatorRunMs(const QString& folder)
{
    const QString script = folder + "/abrir.bat";
    if (!RenameInFolder("misterio.zip", "juego1000.zip", folder + "/roms") ||
        !writeScript(script, {verifySetLine("juego1000", Dialect::Classic)}))
        return -1;
    QElapsedTimer timer;
    timer.start();
    ScriptRun runs;
    for (int i = 0; i < emulatorRuns; ++i)
        runs.run(folder, script);
    const double each = static_cast<double>(timer.nsecsElapsed()) / 1e6 / emulatorRuns;
    return RenameInFolder("juego1000.zip", "misterio.zip", folder + "/roms") ? each : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QTemporaryDir root;
    QTemporaryDir recordFolder;
    const QString folder = root.filePath("MAME 0.70");
    if (!root.isValid() || !writeFolder(folder)) {
        std::fprintf(stderr, "cannot set up the emulator folder\n");
        return 1;
    }

    AppState state;
    state.emulatorFolder = folder;
    state.records.pendingRename = recordFolder.filePath("pending-rename.json");
    AnsweringDialogs dialogs{true};
    NoDesktop desktop;
    RecordedExit programExit;
    InstanceLock lock(recordFolder.filePath("zefrin.lock"));
    AppContext context{state, dialogs, desktop, programExit, lock};

    frmGestionar window(context);
    bool loaded = false;
    QObject::connect(&window, &frmGestionar::loaded, [&loaded] { loaded = true; });
    if (window.Form_Load())
        waitUntil([&loaded] { return loaded; });
    if (!loaded || window.lstJuegos->count() != gameCount) {
        std::fprintf(stderr, "the game list did not load\n");
        return 1;
    }
    window.show();
    window.ROMs->setCurrentRow(0);

    // The search first regenerates the game list: one "-listfull" run, timed on its own.
    QElapsedTimer timer;
    timer.start();
    ScriptRun().run(folder, folder + "/all.bat");
    const double listMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    const double runBeforeMs = emulatorRunMs(folder);
    const double cpuBefore = ownCpuMs();
    timer.restart();
    emit window.lblBuscar->clicked();
    waitUntil([&window] { return !window.ManagerBusy; });
    const double searchMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const double cpuMs = ownCpuMs() - cpuBefore;

    if (dialogs.lastTitle != QStringLiteral("¡Ogh!") ||
        !FileExists(folder + "/roms/misterio.zip")) {
        std::fprintf(stderr, "the search did not run to its end as expected\n");
        return 1;
    }
    // The machine's load may change during the search: the run is timed before and after.
    const double runMs = (runBeforeMs + emulatorRunMs(folder)) / 2;
    const double checkMs = (searchMs - listMs) / gameCount;

    std::printf("ROM manager search: %d games, stand-in emulator answering at once\n", gameCount);
    std::printf("  whole search              %9.1f ms\n", searchMs);
    std::printf("  game list regenerated     %9.1f ms (once, before the checks)\n", listMs);
    std::printf("  per check                 %9.2f ms\n", checkMs);
    std::printf("  emulator run alone        %9.2f ms (script + stand-in, mean of %d)\n", runMs,
                emulatorRuns);
    std::printf("  per check beyond the run  %9.2f ms (target: under 15 ms)\n", checkMs - runMs);
    std::printf("  program's own CPU/check   %9.2f ms (the shell and emulator not counted)\n",
                cpuMs / gameCount);
    return 0;
}
