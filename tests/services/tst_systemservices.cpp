// File, process and drive services against a real temporary folder and real processes.

#include "engine/services/EmulatorRunner.h"
#include "engine/services/ScratchFolder.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"
#include "support/EmulatorFolder.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

using namespace zefrin;
using zefrin::test::EmulatorFolder;

namespace {

// A folder under `dir` as a copy of the program (or the user) leaves it: the marker, if any,
// and files of one byte.
void makeFolder(EmulatorFolder& dir, const QString& folder, const QByteArray& marker,
                const QStringList& files)
{
    if (!marker.isEmpty())
        dir.writeFile(folder + "/.zefrin-copia.json", marker);
    for (const QString& file : files)
        dir.writeFile(folder + '/' + file, "x");
}

CommandLine inFolder(const QString& program, const QStringList& arguments, const QString& folder)
{
    CommandLine command(program, arguments);
    command.workingFolder = folder;
    return command;
}

} // namespace

class SystemServicesTest : public QObject {
    Q_OBJECT

private slots:
    // A link whose target is gone (a stick not plugged in) counts as taken: nothing is written
    // where it points.
    void renameInFolderNeverReplaces()
    {
        EmulatorFolder dir;
        dir.writeFile("old name.zip", "old");
        QVERIFY(QFile::link(dir.filePath("stick/pacman.zip"), dir.filePath("gone.zip")));
        QVERIFY(!RenameInFolder("old name.zip", "gone.zip", dir.path()));
        QVERIFY(!dir.exists("new.zip") && !dir.exists("stick"));
        QVERIFY(RenameInFolder("old name.zip", "new.zip", dir.path()));
        QCOMPARE(dir.readFile("new.zip"), "old");
        QVERIFY(!dir.exists("old name.zip"));
    }

    void oneRunAtATimeToldAfterItsEnd()
    {
        QTemporaryDir dir;
        EmulatorRunner runner;
        QVERIFY(runner.start(inFolder("/bin/sh", {"-c", "sleep 0.3"}, dir.path()), this,
                             &SystemServicesTest::ended));
        // Nothing waits: the call returns at once, and a second run is refused meanwhile.
        QVERIFY(runner.isBusy() && told_.isEmpty());
        QVERIFY(
            !runner.start(inFolder("/bin/true", {}, dir.path()), this, &SystemServicesTest::ended));
        QTRY_VERIFY(!runner.isBusy());
        QCOMPARE(told_, QStringList{"started 0"});

        // What cannot start is told the same way, never from inside the call.
        QVERIFY(runner.start(inFolder(dir.filePath("no-such-program"), {}, dir.path()), this,
                             &SystemServicesTest::ended));
        QCOMPARE(told_.size(), 1);
        QTRY_COMPARE(told_.size(), 2);
        QVERIFY(told_.last().startsWith("not started: "));
    }

    // Every reader of lines gives every line end and characters of several bytes, whatever the
    // chunk a part is read by.
    void linesAcceptEveryLineEnd()
    {
        EmulatorFolder dir;
        dir.writeFile("t.txt", "a\nb\rc\r\n\xc3\xb1\xe2\x82\xac\n\xf0\x9f\x98\x80");
        const QStringList lines{"a", "b", "c", "ñ€", "😀"};
        QCOMPARE(readTextLines(dir.filePath("t.txt")).value_or(QStringList{"<unreadable>"}), lines);
        for (const qsizetype chunk : {1, 2, 3, 1 << 16}) {
            TextLineReader text(dir.filePath("t.txt"), QStringConverter::System, chunk);
            QStringList textLines;
            while (const std::optional<QString> line = text.next())
                textLines << *line;
            QCOMPARE(textLines, lines);
        }
    }

    void writtenLinesEndInCrLfAndNeverHalfWritten()
    {
        EmulatorFolder dir;
        QVERIFY(writeTextLines(dir.filePath("all.bat"), {"mame -listfull > lista.txt", "ñ"}));
        QCOMPARE(dir.readFile("all.bat"), "mame -listfull > lista.txt\r\n\xc3\xb1\r\n");
        QVERIFY(!writeTextLines(dir.filePath("missing/all.bat"), {"x"}));
        QVERIFY(!readTextLines(dir.filePath("missing/all.bat")).has_value());
    }

    // Scratch folders go only when this program made them, as their marker tells, and the copy
    // that made them is gone; anything else, the user's folders of like names included, stays.
    void leftoverScratchFoldersGoAndNothingElse()
    {
        EmulatorFolder temporary(QStringLiteral("tmp"));
        // An empty TMPDIR afterwards is as good as none: the temporary folder is /tmp.
        const auto restore =
            qScopeGuard([previous = qgetenv("TMPDIR")] { qputenv("TMPDIR", previous); });
        qputenv("TMPDIR", temporary.path().toLocal8Bit());
        // This process's number with another start: a copy long gone, its number taken since.
        ProcessIdentity gone = ownProcessIdentity();
        gone.started += "0";
        const QByteArray goneMarker = QJsonDocument(processToJson(gone)).toJson();
        const QByteArray liveMarker = QJsonDocument(processToJson(ownProcessIdentity())).toJson();
        makeFolder(
            temporary, "zefrin-Ab12Cd", goneMarker,
            {"mame.bat", "log.txt", "informe-1/comparacion.log", "informe-2/comparacion.log"});
        makeFolder(temporary, "zefrin-vivo01", liveMarker, {"log.txt"});
        makeFolder(temporary, "zefrin-milog1", {}, {"log.txt"});
        makeFolder(temporary, "zefrin-notas1", goneMarker, {"log.txt", "notas.txt"});
        makeFolder(temporary, "zefrin-nested", goneMarker, {"informe-1/otro.txt"});
        makeFolder(temporary, "destino", goneMarker, {"log.txt"});
        QVERIFY(QFile::link(temporary.filePath("destino"), temporary.filePath("zefrin-link01")));
        const ScratchFolder scratch;
        scratch.removeLeftovers();
        QStringList left =
            QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        left.removeOne(QFileInfo(scratch.path()).fileName());
        // roms: a folder of the user's like any other.
        QCOMPARE(left, (QStringList{"destino", "roms", "zefrin-link01", "zefrin-milog1",
                                    "zefrin-nested", "zefrin-notas1", "zefrin-vivo01"}));
        QVERIFY(temporary.exists("destino/log.txt"));
    }

private:
    // What an emulator run tells at its end, kept in the order told.
    void ended(const ShellResult& result)
    {
        told_ << (result.started ? QStringLiteral("started %1").arg(result.exitCode)
                                 : QStringLiteral("not started: ") + result.error);
    }

    QStringList told_;
};

QTEST_MAIN(SystemServicesTest)
#include "tst_systemservices.moc"
