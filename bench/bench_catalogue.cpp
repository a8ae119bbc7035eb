// How long a whole game-list build takes: CargarDatos over a 45,000-game lista.txt with 3,000
// and 32,767 archives (folder listing, lookups, order, filling the list; all files present, so
// the emulator does not run). For the ratio, the old method at 1,000 archives: one scan of
// lista.txt per archive and the two quadratic exchange passes.

#include "QuietSeams.h"
#include "SyntheticFolder.h"
#include "engine/catalogue/CatalogueOrder.h"
#include "engine/catalogue/GameList.h"
#include "engine/catalogue/RomFolder.h"
#include "engine/services/InstanceLock.h"
#include "gui/app/frmCargador.h"
#include "gui/widgets/AppContext.h"
#include "gui/widgets/Seams.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace zefrin;
using namespace zefrin::bench;

namespace {

constexpr int gameCount = 45000;
constexpr double knownShare = 0.9;
constexpr int runs = 5;

struct Timing {
    double best = 0;
    double median = 0;
};

Timing summarise(std::vector<double> milliseconds)
{
    std::sort(milliseconds.begin(), milliseconds.end());
    return {milliseconds.front(), milliseconds[milliseconds.size() / 2]};
}

double elapsedMs(const QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

// CargarDatos on a main window of the folder, once to warm up and then `runs` times.
Timing timeBuild(const QString& folder, Dialect dialect, int* rows)
{
    AppState state;
    state.emulatorFolder = folder;
    state.dialect = dialect;
    AnsweringDialogs dialogs{false};
    NoDesktop desktop;
    RecordedExit programExit;
    QTemporaryDir lockFolder;
    InstanceLock lock(lockFolder.filePath(QStringLiteral("zefrin.lock")));
    AppContext context{state, dialogs, desktop, programExit, lock};
    frmCargador window(context);
    window.CargarDatos();
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        window.CargarDatos();
        times.push_back(elapsedMs(clock));
    }
    *rows = state.catalogue.rowCount();
    return summarise(times);
}

void swapRows(QStringList& titles, QList<bool>& known, QList<int>& rows, qsizetype i, qsizetype j)
{
    titles.swapItemsAt(i, j);
    known.swapItemsAt(i, j);
    rows.swapItemsAt(i, j);
}

// The old build: a fresh scan of lista.txt per archive, then the two exchange passes.
double timeOldBuild(const QString& folder)
{
    QListWidget list;
    QElapsedTimer clock;
    clock.start();
    const QStringList archives = listRomArchives(folder + QStringLiteral("/roms"));
    QStringList titles;
    QList<bool> known;
    for (const QString& archive : archives) {
        const std::optional<QString> title = TitleForArchive(folder, archive, Dialect::Classic);
        titles << title.value_or(unknownArchiveTitle(archive));
        known << title.has_value();
    }
    QList<int> rows;
    for (int r = 0; r < titles.size(); ++r)
        rows << r;
    const qsizetype n = titles.size();
    for (qsizetype i = 0; i < n; ++i) {
        for (qsizetype j = i + 1; j < n; ++j) {
            if (titles.at(i) < titles.at(j))
                swapRows(titles, known, rows, i, j);
        }
    }
    for (qsizetype i = 0; i < n; ++i) {
        for (qsizetype j = i + 1; j < n; ++j) {
            if (known.at(j))
                swapRows(titles, known, rows, i, j);
        }
    }
    list.addItems(titles);
    return elapsedMs(clock);
}

// Where the time of one build goes.
void printStages(const QString& folder, Dialect dialect)
{
    QElapsedTimer clock;
    clock.start();
    const QStringList archives = listRomArchives(folder + QStringLiteral("/roms"));
    const double listing = elapsedMs(clock);
    clock.restart();
    const GameList gameList(folder, dialect, archives);
    const double reading = elapsedMs(clock);
    clock.restart();
    QStringList titles;
    QList<bool> known;
    for (const QString& archive : archives) {
        const std::optional<QString> title = gameList.titleForArchive(archive);
        titles << title.value_or(unknownArchiveTitle(archive));
        known << title.has_value();
    }
    const double lookups = elapsedMs(clock);
    clock.restart();
    const QList<int> order = gameListOrder(titles, known);
    const double ordering = elapsedMs(clock);
    std::printf("    stages: folder listing %.1f ms, lista.txt read and indexed %.1f ms, "
                "lookups %.1f ms, order %.1f ms (%lld rows)\n",
                listing, reading, lookups, ordering, static_cast<long long>(order.size()));
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    std::printf("CargarDatos over a %d-game lista.txt, %.0f %% of the archives known; best and "
                "median of %d runs\n",
                gameCount, knownShare * 100, runs);
    for (const Dialect dialect : {Dialect::Classic, Dialect::Today})
        for (const int archives : {1000, 3000, 32767}) {
            const SyntheticFolder folder(gameCount, archives, knownShare, dialect);
            if (!folder.isValid()) {
                std::fprintf(stderr, "could not build the folder for %d archives\n", archives);
                return 1;
            }
            int rows = 0;
            const Timing timing = timeBuild(folder.path(), dialect, &rows);
            std::printf("  %s layout, %5d archives: best %.1f ms, median %.1f ms (%d rows)\n",
                        dialect == Dialect::Today ? "today's" : "classic", archives, timing.best,
                        timing.median, rows);
            printStages(folder.path(), dialect);
            if (archives == 1000 && dialect == Dialect::Classic) {
                const double old = timeOldBuild(folder.path());
                std::printf("  %5d archives, one scan per archive and the exchange passes: %.0f ms "
                            "(%.0f times the new build)\n",
                            archives, old, old / timing.median);
            }
        }
    return 0;
}
