// The compatibility search at today's scale: a 45,000-game list, the stand-in emulator in
// today's dialect answering every check after 250 ms, as the real one takes. The search through
// every game is timed over its first games and extrapolated to the game the archive belongs to,
// near the end of the list; the search through the candidates of the CRC list is timed whole,
// through the window as a user starts it, with the list already made (its making is timed on
// its own). Then the program's own work on a CRC list of today's size: read and index.

#include "QuietSeams.h"
#include "engine/catalogue/GameList.h"
#include "engine/catalogue/GeneratedFiles.h"
#include "engine/romman/CompatibilitySearch.h"
#include "engine/romman/CrcList.h"
#include "engine/romman/CrcListMaker.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/InstanceLock.h"
#include "fixture/Collection.h"
#include "gui/romman/frmGestionar.h"
#include "gui/widgets/AppContext.h"
#include "gui/widgets/LabelButton.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace zefrin;
using namespace zefrin::bench;
namespace fx = zefrin::fixture;

namespace {

constexpr int gameCount = 45000;
constexpr int romsPerGame = 8;
constexpr int foundGame = 44000; // the archive holds this game's files
constexpr int literalChecks = 200;
constexpr double checkDelayMs = 250;
constexpr int todaysListLines = 348385;

std::string shortName(int index)
{
    return "juego" + std::to_string(index);
}

bool writeFolder(const QString& folder)
{
    fx::Collection collection;
    collection.directives = {{"dialect", "today", ""}, {"verify-delay-ms", "250", ""}};
    for (int i = 0; i < gameCount; ++i) {
        std::vector<fx::RomFileSize> roms;
        for (int r = 0; r < romsPerGame; ++r)
            roms.push_back({"rom" + std::to_string(r) + ".bin", 16});
        collection.games.push_back(
            fx::makeGame(shortName(i), "Juego número " + std::to_string(i), roms));
    }
    const fx::Game* game = fx::findGame(collection, shortName(foundGame));
    return QDir().mkpath(folder + "/roms") &&
           QFile::copy(QStringLiteral(ZEFRIN_STANDIN_PATH), folder + "/mame") &&
           fx::writeDataFile(collection, (folder + "/standin.dat").toStdString()) && game &&
           fx::writeGoodArchive(*game, (folder + "/roms/viejo.zip").toStdString());
}

template <typename Condition> void waitUntil(Condition done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

double elapsedMs(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// A list of today's size in the emulator's layout, made-up names and CRCs.
bool writeTodaysSizeList(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray text;
    quint32 crc = 0x12345678;
    for (int line = 0; line < todaysListLines; ++line) {
        crc = crc * 1664525u + 1013904223u;
        const QByteArray set = QByteArray("juego") + QByteArray::number(line / 8);
        text += QByteArray::number(crc, 16).rightJustified(8, '0') + ' ' +
                (QByteArray("rom") + QByteArray::number(line % 8) + ".bin").leftJustified(32) +
                '\t' + set.leftJustified(16) + '\t' + "Juego " + set + '\n';
    }
    return file.write(text) == text.size();
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QTemporaryDir root;
    QTemporaryDir recordFolder;
    const QString folder = root.filePath("MAME 0.251");
    if (!root.isValid() || !writeFolder(folder)) {
        std::fprintf(stderr, "cannot set up the emulator folder\n");
        return 1;
    }
    AppState state;
    state.emulatorFolder = folder;
    state.dialect = Dialect::Today;
    state.records = RunRecords::forFolder(folder, recordFolder.path());
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
    const std::optional<QStringList> lines = readGameLines(folder);
    if (!loaded || !lines || lines->size() != gameCount) {
        std::fprintf(stderr, "the game list did not load\n");
        return 1;
    }
    window.show();

    // The literal search over its first games.
    ArchiveChecker checker(state.emulator, folder, state.records.pendingRename, Dialect::Today);
    GameListMaker listMaker(state.emulator, folder, state.records.gameList);
    CompatibilitySearch literal(checker, listMaker, state.emulator, folder, state.records.crcList);
    bool literalEnded = false;
    QObject::connect(&literal, &CompatibilitySearch::ended,
                     [&literalEnded](const SearchResult&) { literalEnded = true; });
    // It stops after `literalChecks` checks.
    QObject::connect(&literal, &CompatibilitySearch::counted, [&literal](int counter) {
        if (counter == literalChecks)
            literal.cancel();
    });
    QElapsedTimer timer;
    timer.start();
    literal.select(QStringLiteral("viejo.zip"));
    literal.check(*lines);
    waitUntil([&literalEnded] { return literalEnded; });
    const double perCheckMs = elapsedMs(timer) / literalChecks;

    // The CRC list made once.
    CrcListMaker maker(state.emulator, folder, state.records.crcList);
    std::optional<CrcListResult> made;
    QObject::connect(&maker, &CrcListMaker::ended,
                     [&made](const CrcListResult& result) { made = result; });
    timer.restart();
    maker.start({});
    waitUntil([&made] { return made.has_value(); });
    const double makeMs = elapsedMs(timer);
    const qsizetype listLines =
        readCrcList(emulatorPath(folder, crcListFileName())).value_or(CrcIndex()).size();

    // The search of the window, as a user starts it.
    window.ROMs->setCurrentRow(0);
    timer.restart();
    emit window.lblBuscar->clicked();
    waitUntil([&window] { return !window.ManagerBusy; });
    const double searchMs = elapsedMs(timer);
    if (!made->index || dialogs.lastTitle != QStringLiteral("¡Encontrada!")) {
        std::fprintf(stderr, "the search did not find the game: %s\n",
                     qPrintable(dialogs.lastTitle + ' ' + dialogs.lastText));
        return 1;
    }

    // The program's own work on a list of today's size.
    const QString todays = root.filePath("listacrc-today.txt");
    if (!writeTodaysSizeList(todays)) {
        std::fprintf(stderr, "cannot write the list\n");
        return 1;
    }
    std::vector<double> readMs;
    qsizetype readLines = 0;
    for (int run = 0; run < 5; ++run) {
        timer.restart();
        readLines = readCrcList(todays).value_or(CrcIndex()).size();
        readMs.push_back(elapsedMs(timer));
    }
    std::sort(readMs.begin(), readMs.end());

    const double literalMs = perCheckMs * (foundGame + 1);
    std::printf("Compatibility search: %d games, stand-in emulator answering each check after "
                "250 ms\n",
                gameCount);
    std::printf("  every game, per check        %10.1f ms (mean of the first %d)\n", perCheckMs,
                literalChecks);
    std::printf("  every game, to game %d    %10.0f s (extrapolated)\n", foundGame + 1,
                literalMs / 1000);
    std::printf("  CRC list made                %10.0f ms (%lld lines, once)\n", makeMs,
                static_cast<long long>(listLines));
    std::printf("  candidates only, whole       %10.0f ms (target: under 5000 ms)\n", searchMs);
    std::printf("  faster by                    %10.0fx (target: at least 2000x)\n",
                literalMs / searchMs);
    // The stand-in reads its whole game file at each run, which adds to every check: the same
    // search through every game at the bare 250 ms a check, against the search as measured.
    std::printf("  faster by, 250 ms a check    %10.0fx\n",
                checkDelayMs * (foundGame + 1) / searchMs);
    std::printf("  CRC list read and indexed    %10.1f ms (%lld lines, median of 5; target: "
                "under 300 ms)\n",
                readMs[readMs.size() / 2], static_cast<long long>(readLines));
    return 0;
}
