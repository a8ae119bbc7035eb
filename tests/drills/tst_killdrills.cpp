// The program killed (SIGKILL) at random moments of its writes to the user's files: the
// controls editor's save with the switch going off again, and the mame.ini rewrite. After
// every kill each user file is whole (the old content or the new), and the next start and
// clean close give back exactly what the user had, also in the folder renamed after the kill,
// and leave no run record behind.

#include "DrillTables.h"
#include "engine/input/ControllerFiles.h"
#include "engine/input/KeyNameTable.h"
#include "engine/services/RunRecord.h"
#include "fixture/Collection.h"
#include "gui/app/frmCargador.h"
#include "support/EmulatorFolder.h"
#include "support/Runs.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

using namespace zefrin;
using namespace zefrin::test;

namespace {

const QByteArray unsetLine = "# ctrlr                 <NULL> (Not Set)";
const QByteArray userLine = "ctrlr                   usuario";
const QByteArray zefrinLine = "ctrlr                   Zefrin";
const QByteArray userSettings = "<mameconfig version=\"10\"><!-- user --></mameconfig>";

QStringList entries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The emulator folder as a user has it: mame.ini from the emulator with a controller of the
// user's own, the user's input settings, the key-name table and the ctrlr folder. A large
// mame.ini widens the moment a rewrite is under way.
struct DrillFolder {
    explicit DrillFolder(int paddingLines)
    {
        folder.installEmulator();
        const int made = QProcess::execute("sh", {"-c", "cd \"$0\" && ./mame -cc", folder.path()});
        QByteArray ini = folder.readFile("mame.ini").replace(unsetLine, userLine);
        for (int n = 0; n < paddingLines; ++n)
            ini += "# " + QByteArray::number(n).rightJustified(70, '.') + "\r\n";
        folder.writeFile("mame.ini", ini);
        originalIni = ini;
        ready = made == 0 && ini.contains(userLine) && CrearTablaTeclas(folder.path());
        folder.makeFolder("ctrlr");
        folder.writeFile("cfg/default.cfg", userSettings);
    }

    EmulatorFolder folder;
    QTemporaryDir records;
    QByteArray originalIni;
    bool ready = false;
};

// Processes working in `folder`: the emulator runs (and the scripts that start them) of a
// program killed meanwhile.
int processesWorkingIn(const QString& folder)
{
    const QString wanted = QFileInfo(folder).canonicalFilePath();
    int found = 0;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (entry.toInt() > 0 &&
            QFileInfo(QStringLiteral("/proc/%1/cwd").arg(entry)).symLinkTarget() == wanted)
            ++found;
    return found;
}

// An emulator folder with one game, galaxn, its own settings and the user's keys saved; the
// stand-in answers in `dialect`.
struct LaunchFolder {
    explicit LaunchFolder(const char* dialect, const char* moreDirective = "")
    {
        folder.installEmulator();
        fixture::Collection games;
        games.games.push_back(fixture::makeGame("galaxn", "Galaxian", {{"galaxn.1", 512}}));
        games.directives.push_back({"dialect", dialect, {}});
        if (const QStringList pair = QString(moreDirective).split('='); pair.size() == 2)
            games.directives.push_back({pair[0].toStdString(), pair[1].toStdString(), {}});
        ready = fixture::writeDataFile(games, folder.filePath("standin.dat").toStdString()) &&
                fixture::writeGoodArchive(games.games.back(),
                                          folder.filePath("roms/galaxn.zip").toStdString()) &&
                QProcess::execute("sh", {"-c", "cd \"$0\" && ./mame -cc", folder.path()}) == 0;
        folder.writeFile("ctrlr/Zefrin/default.ini",
                         "#   Teclas configuradas para el Z e f r i n\r\n#\r\n");
        folder.writeFile("cfg/galaxn.cfg", gameSettings);
    }

    static constexpr const char* gameSettings =
        "<?xml version=\"1.0\"?>\n<mameconfig version=\"10\">\n    <system name=\"galaxn\">\n"
        "        <input>\n            <port tag=\":IN0\" type=\"COIN1\" mask=\"1\" "
        "defvalue=\"0\">\n                <newseq type=\"standard\">KEYCODE_Q</newseq>\n"
        "            </port>\n            <port tag=\":DSW\" type=\"DIPSWITCH\" mask=\"6\" "
        "value=\"4\" />\n        </input>\n    </system>\n</mameconfig>\n";

    EmulatorFolder folder;
    QTemporaryDir records;
    bool ready = false;
};

// Runs the drill runner in `mode` to its end; true when it was killed.
bool runnerKilled(const QString& mode, const LaunchFolder& drill)
{
    QProcess runner;
    runner.start(QStringLiteral(ZEFRIN_DRILL_RUNNER),
                 {mode, drill.folder.path(), drill.records.path()});
    return runner.waitForFinished(60000) && runner.exitStatus() == QProcess::CrashExit;
}

} // namespace

class KillDrillsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The bytes a complete save of either table leaves.
        for (int round = 0; round < 2; ++round) {
            EmulatorFolder reference;
            reference.makeFolder("ctrlr");
            QVERIFY(CrearTablaTeclas(reference.path()));
            QVERIFY(writeControllerFiles(reference.path(), drillTable(round), Dialect::Classic));
            savedEntry << reference.readFile("ctrlr/Zefrin/default.ini");
            savedXml << reference.readFile("ctrlr/Zefrin.cfg");
        }
    }

    void killedMidWriteLosesNothing_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("paddingLines");
        QTest::addColumn<bool>("renamed"); // the folder, before the next start
        QTest::newRow("controls save and switch off") << "save" << 2000 << false;
        QTest::newRow("mame.ini rewrite") << "ini" << 10000 << false;
        QTest::newRow("controls save, folder renamed") << "save" << 0 << true;
    }

    void killedMidWriteLosesNothing()
    {
        QFETCH(QString, mode);
        QFETCH(int, paddingLines);
        QFETCH(bool, renamed);
        const int kills = 24;
        for (int kill = 0; kill < kills; ++kill) {
            DrillFolder drill(paddingLines);
            QVERIFY(drill.ready);
            killRunnerAfter(mode, drill.folder, drill.records, double(kill) / kills);
            if (QTest::currentTestFailed())
                return;
            expectEveryFileWhole(drill);
            if (QTest::currentTestFailed())
                return qWarning("after kill %d", kill);
            expectNextRunGivesItAllBack(drill, renamed);
            if (QTest::currentTestFailed())
                return qWarning("after kill %d", kill);
        }
    }

    // Killed the moment the game's emulator has started, before anything that follows: the
    // note already names the run, and the next start waits for it before it gives the game's
    // settings back, which the game then cannot write over.
    void killedAsTheGameStartsLosesNothing()
    {
        LaunchFolder drill("classic", "run-ms=2000");
        QVERIFY(drill.ready);
        QVERIFY(runnerKilled("launch-started", drill));
        QVERIFY(processesWorkingIn(drill.folder.path()) > 0);
        Program program(drill.folder.path());
        program.state.records = RunRecords::forFolder(drill.folder.path(), drill.records.path());
        frmCargador window(program.context);
        QVERIFY(loadToEnd(window));
        QTRY_VERIFY_WITH_TIMEOUT(processesWorkingIn(drill.folder.path()) == 0, 60000);
        QTRY_VERIFY_WITH_TIMEOUT(!window.emulatorBusy(), 10000);
        QCOMPARE(drill.folder.readFile("cfg/galaxn.cfg"), QByteArray(LaunchFolder::gameSettings));
        QVERIFY(!drill.folder.exists("cfg/galaxn.bak"));
    }

    // The same moment for the makers of the game list and of the CRC list: their note names
    // the run a next start waits for.
    void killedAsAListStartsLeavesANoteOfItsRun_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("directive");
        QTest::newRow("game list") << "list-started"
                                   << "listfull-delay-ms=2000";
        QTest::newRow("CRC list") << "crclist-started"
                                  << "listcrc-delay-ms=2000";
    }

    void killedAsAListStartsLeavesANoteOfItsRun()
    {
        QFETCH(QString, mode);
        QFETCH(QString, directive);
        LaunchFolder drill("today", directive.toLatin1().constData());
        QVERIFY(drill.ready);
        QVERIFY(runnerKilled(mode, drill));
        const RunRecords records = RunRecords::forFolder(drill.folder.path(), drill.records.path());
        const QString record = mode == "list-started" ? records.gameList : records.crcList;
        const ProcessIdentity run = recordedRun(readRunRecordFor(record, drill.folder.path()).note);
        QVERIFY(processesWorkingIn(drill.folder.path()) > 0);
        QVERIFY(isRunning(run));
        QTRY_VERIFY_WITH_TIMEOUT(processesWorkingIn(drill.folder.path()) == 0, 60000);
        QVERIFY(!isRunning(run));
    }

    // A keyed launch of today's emulator killed at random moments: once the game that ran has
    // ended, the next start gives the game's settings and default.cfg back byte for byte.
    void killedMidKeyedLaunchLosesNothing()
    {
        const QByteArray defaults = "<mameconfig version=\"10\">\r\n\t<system name=\"default\">"
                                    "\r\n\t\t<input>\r\n\t\t\t<port type=\"COIN1\"><newseq "
                                    "type=\"standard\">KEYCODE_X</newseq></port>\r\n\t\t"
                                    "</input>\r\n\t</system>\r\n</mameconfig>\r\n";
        const int kills = 16;
        for (int kill = 0; kill < kills; ++kill) {
            LaunchFolder drill("today");
            QVERIFY(drill.ready);
            drill.folder.writeFile("cfg/default.cfg", defaults);
            killRunnerAfter("launch", drill.folder, drill.records, double(kill) / kills);
            if (QTest::currentTestFailed())
                return;
            {
                Program program(drill.folder.path());
                program.state.records =
                    RunRecords::forFolder(drill.folder.path(), drill.records.path());
                frmCargador window(program.context);
                QVERIFY(loadToEnd(window));
                QTRY_VERIFY_WITH_TIMEOUT(!window.emulatorBusy(), 10000);
                QCOMPARE(program.dialogs.shown.size(), 0);
            }
            QCOMPARE(drill.folder.readFile("cfg/galaxn.cfg"),
                     QByteArray(LaunchFolder::gameSettings));
            QCOMPARE(drill.folder.readFile("cfg/default.cfg"), defaults);
            QCOMPARE(entries(drill.folder.filePath("cfg")),
                     QStringList({"default.cfg", "galaxn.cfg"}));
            if (QTest::currentTestFailed())
                return qWarning("after kill %d", kill);
        }
    }

private:
    // Starts the runner, times one of its rounds, and kills it at `share` of the next two
    // rounds (give or take a tenth of a round).
    void killRunnerAfter(const QString& mode, const EmulatorFolder& folder,
                         const QTemporaryDir& records, double share)
    {
        // A killed runner cannot remove its temporary folders: they go with this one.
        const QTemporaryDir temporary;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), temporary.path());
        QProcess runner;
        runner.setProcessEnvironment(environment);
        runner.start(QStringLiteral(ZEFRIN_DRILL_RUNNER), {mode, folder.path(), records.path()});
        QVERIFY(runner.waitForStarted());
        const auto nextRound = [&runner] {
            while (!runner.canReadLine())
                if (!runner.waitForReadyRead(30000))
                    return false;
            return runner.readLine() == "round\n";
        };
        QVERIFY2(nextRound(), qPrintable(runner.readAllStandardError()));
        QElapsedTimer round;
        round.start();
        QVERIFY2(nextRound(), qPrintable(runner.readAllStandardError()));
        const double roundMicroseconds = double(round.nsecsElapsed()) / 1000;
        const double jitter = QRandomGenerator::global()->generateDouble() * 0.1;
        std::this_thread::sleep_for(std::chrono::microseconds(
            static_cast<qint64>((share * 2 + jitter) * roundMicroseconds)));
        QVERIFY2(runner.state() == QProcess::Running, qPrintable(runner.readAllStandardError()));
        runner.kill();
        QVERIFY(runner.waitForFinished());
        // A game it started goes on writing in the scratch folder until it ends.
        QTRY_VERIFY_WITH_TIMEOUT(processesWorkingIn(folder.path()) == 0, 60000);
    }

    void expectEveryFileWhole(const DrillFolder& drill)
    {
        const EmulatorFolder& folder = drill.folder;
        QByteArray switched = drill.originalIni;
        switched.replace(userLine, zefrinLine);
        const QByteArray ini = folder.readFile("mame.ini");
        QVERIFY2(ini == drill.originalIni || ini == switched, ini.left(2000).constData());
        // The user's input settings lie in default.cfg or, parked, in default.bak.
        QStringList cfg = entries(folder.filePath("cfg"));
        QVERIFY2(cfg == QStringList{"default.cfg"} || cfg == QStringList{"default.bak"} ||
                     cfg == (QStringList{"default.bak", "default.cfg"}),
                 qPrintable(cfg.join(' ')));
        const bool parkedKept =
            cfg.contains("default.bak") && folder.readFile("cfg/default.bak") == userSettings;
        QVERIFY(parkedKept || folder.readFile("cfg/default.cfg") == userSettings);
        // A save is all there or not yet there, file by file.
        if (folder.exists("ctrlr/Zefrin/default.ini"))
            QVERIFY(savedEntry.contains(folder.readFile("ctrlr/Zefrin/default.ini")));
        if (folder.exists("ctrlr/Zefrin.cfg"))
            QVERIFY(savedXml.contains(folder.readFile("ctrlr/Zefrin.cfg")));
    }

    void expectNextRunGivesItAllBack(const DrillFolder& drill, bool renamed)
    {
        const EmulatorFolder& folder = drill.folder;
        const QString at = renamed ? folder.path() + " renombrada" : folder.path();
        QVERIFY(!renamed || QDir().rename(folder.path(), at));
        {
            Program program(at);
            program.state.records = RunRecords::forFolder(at, drill.records.path());
            frmCargador window(program.context);
            QVERIFY(loadToEnd(window));
            window.show();
            QVERIFY(window.close());
            QCOMPARE(program.dialogs.shown.size(), 0);
        }
        QVERIFY(!renamed || QDir().rename(at, folder.path()));
        QCOMPARE(folder.readFile("mame.ini"), drill.originalIni);
        QCOMPARE(entries(folder.filePath("cfg")), QStringList{"default.cfg"});
        QCOMPARE(folder.readFile("cfg/default.cfg"), userSettings);
        // No note is left; the maker of the game list (origen/) is kept for good.
        QStringList notes = entries(drill.records.path());
        notes.removeOne("origen");
        QVERIFY2(notes.isEmpty(), qPrintable(notes.join(" ")));
        const QStringList left = entries(folder.path()).filter("mame.ini");
        QVERIFY2(left == QStringList{"mame.ini"}, qPrintable(left.join(' ')));
    }

    QList<QByteArray> savedEntry;
    QList<QByteArray> savedXml;
};

QTEST_MAIN(KillDrillsTest)
#include "tst_killdrills.moc"
