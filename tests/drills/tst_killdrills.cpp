// The program killed (SIGKILL) at random moments of its writes to the user's files: the
// controls editor's save with the switch going off again, and the mame.ini rewrite. After
// every kill each user file is whole (the old content or the new), and the next start and
// clean close give back exactly what the user had, also in the folder renamed after the kill,
// and leave no run record behind.

#include "DrillTables.h"
#include "engine/input/ControllerFiles.h"
#include "engine/input/KeyNameTable.h"
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
            killRunnerAfter(mode, drill, double(kill) / kills);
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

private:
    // Starts the runner, times one of its rounds, and kills it at `share` of the next two
    // rounds (give or take a tenth of a round).
    void killRunnerAfter(const QString& mode, DrillFolder& drill, double share)
    {
        // A killed runner cannot remove its temporary folders: they go with this one.
        const QTemporaryDir temporary;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), temporary.path());
        QProcess runner;
        runner.setProcessEnvironment(environment);
        runner.start(QStringLiteral(ZEFRIN_DRILL_RUNNER),
                     {mode, drill.folder.path(), drill.records.path()});
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
