// File, process and drive services against a real temporary folder and real processes.

#include "engine/services/EmulatorRunner.h"
#include "engine/services/ScratchFolder.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace zefrin;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

namespace {

class Listener : public QObject {
public:
    explicit Listener(QStringList& told)
        : told_(told)
    {
    }
    void ended(const zefrin::ShellResult& result)
    {
        told_ << (result.started ? QStringLiteral("started %1").arg(result.exitCode)
                                 : QStringLiteral("not started: ") + result.error);
    }

private:
    QStringList& told_;
};

} // namespace

class SystemServicesTest : public QObject {
    Q_OBJECT

private slots:
    void fileExistsSeesAnyDirectoryEntry()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("file.zip"), "x");
        QDir().mkdir(dir.filePath("folder"));
        QFile::link(dir.filePath("nowhere"), dir.filePath("dangling"));
        QVERIFY(FileExists(dir.filePath("file.zip")));
        QVERIFY(FileExists(dir.filePath("folder")));
        QVERIFY(FileExists(dir.filePath("dangling")));
        QVERIFY(!FileExists(dir.filePath("missing.zip")));
        QVERIFY(!FileExists(QString()));
    }

    void renameInFolderNeverReplaces()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("old name.zip"), "old");
        writeBytes(dir.filePath("taken.zip"), "taken");
        QVERIFY(!RenameInFolder("old name.zip", "taken.zip", dir.path()));
        QCOMPARE(readBytes(dir.filePath("taken.zip")), QByteArray("taken"));
        QCOMPARE(readBytes(dir.filePath("old name.zip")), QByteArray("old"));

        QVERIFY(!RenameInFolder("missing.zip", "new.zip", dir.path()));
        QVERIFY(!FileExists(dir.filePath("new.zip")));
        // A link whose target is gone (a stick not plugged in) holds its name all the same:
        // nothing is written where it points.
        QVERIFY(QDir().mkdir(dir.filePath("stick")));
        QVERIFY(QFile::link(dir.filePath("stick/pacman.zip"), dir.filePath("gone.zip")));
        QVERIFY(!RenameInFolder("old name.zip", "gone.zip", dir.path()));
        QCOMPARE(readBytes(dir.filePath("old name.zip")), QByteArray("old"));
        QVERIFY(!FileExists(dir.filePath("stick/pacman.zip")));

        QVERIFY(RenameInFolder("old name.zip", "new.zip", dir.path()));
        QCOMPARE(readBytes(dir.filePath("new.zip")), QByteArray("old"));
        QVERIFY(!FileExists(dir.filePath("old name.zip")));
        // A separator at the end of the folder is accepted as well.
        QVERIFY(RenameInFolder("new.zip", "back.zip", dir.path() + "/"));
    }

    void stripExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("base");
        QTest::newRow("plain") << "pacman.zip"
                               << "pacman";
        QTest::newRow("several dots") << "a.b.zip"
                                      << "a.b";
        QTest::newRow("only extension") << ".zip"
                                        << "";
        QTest::newRow("no dot") << "readme"
                                << "readme";
        QTest::newRow("upper case") << "GALAGA.ZIP"
                                    << "GALAGA";
    }

    void stripExtension()
    {
        QFETCH(QString, name);
        QFETCH(QString, base);
        QCOMPARE(StripExtension(name), base);
    }

    void replaceFile()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("default.bak");
        const QString destination = dir.filePath("default.cfg");

        writeBytes(destination, "theirs");
        QVERIFY(ReplaceFile(source, destination).ok);
        QCOMPARE(readBytes(destination), QByteArray("theirs"));

        writeBytes(source, "mine");
        QVERIFY(ReplaceFile(source, destination).ok);
        QCOMPARE(readBytes(destination), QByteArray("mine"));
        QVERIFY(!FileExists(source));

        writeBytes(source, "again");
        QVERIFY(ReplaceFile(source, dir.filePath("no folder/default.cfg")).ok == false);
        QCOMPARE(readBytes(source), QByteArray("again"));
    }

    void oneRunAtATimeToldAfterItsEnd()
    {
        QTemporaryDir dir;
        EmulatorRunner runner;
        QStringList told;
        Listener listener(told);
        QVERIFY(runner.start(
            {"/bin/sh", {"-c", "sleep 0.3; echo done > out.txt"}, dir.path(), {}, {}, {}, 0},
            &listener, &Listener::ended));
        // Nothing waits: the call returns at once, and a second run is refused meanwhile.
        QVERIFY(runner.isBusy() && told.isEmpty());
        QVERIFY(!runner.start({"/bin/true", {}, dir.path(), {}, {}, {}, 0}, &listener,
                              &Listener::ended));
        QTRY_VERIFY(!runner.isBusy());
        QCOMPARE(told, QStringList{"started 0"});
        QCOMPARE(readBytes(dir.filePath("out.txt")), QByteArray("done\n"));

        // What cannot start is told the same way, never from inside the call.
        writeBytes(dir.filePath("not-executable"), "#!/bin/sh\n");
        for (const QString& program :
             {dir.filePath("no-such-program"), dir.filePath("not-executable")}) {
            QVERIFY(runner.start({program, {}, dir.path(), {}, {}, {}, 0}, &listener,
                                 &Listener::ended));
            QCOMPARE(told.size(), 1);
            QTRY_COMPARE(told.size(), 2);
            QVERIFY2(told.takeLast().startsWith("not started: "), qPrintable(program));
        }
        QVERIFY(runner.start({{}, {}, dir.path(), {}, "unreadable script", {}, 0}, &listener,
                             &Listener::ended));
        QTRY_COMPARE(told.size(), 2);
        QCOMPARE(told.last(), QString("not started: unreadable script"));

        // A run an earlier copy of the program left going keeps the runner busy until it ends.
        QProcess earlier;
        earlier.start("/bin/sleep", {"0.5"});
        QVERIFY(earlier.waitForStarted());
        QVERIFY(runner.await(processIdentity(earlier.processId()), &listener, &Listener::ended));
        QVERIFY(!runner.start({"/bin/true", {}, dir.path(), {}, {}, {}, 0}, &listener,
                              &Listener::ended));
        QTest::qWait(200);
        QVERIFY(runner.isBusy() && told.size() == 2);
        QTRY_COMPARE(told.size(), 3);
        QVERIFY(!runner.isBusy() && earlier.state() == QProcess::NotRunning);
    }

    void isCdDriveIsFalseOnOrdinaryFolders()
    {
        QTemporaryDir dir;
        QVERIFY(!IsCdDrive(dir.path()));
        QVERIFY(!IsCdDrive(dir.filePath("missing/folder")));
        QVERIFY(!IsCdDrive(QStringLiteral("//server/share")));
    }

    void textLinesAcceptEveryLineEnd_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("LF") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("no last end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("blank lines") << QByteArray("\r\n\r\nx") << QStringList{"", "", "x"};
        QTest::newRow("empty") << QByteArray() << QStringList{};
    }

    void textLinesAcceptEveryLineEnd()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        writeBytes(dir.filePath("t.txt"), bytes);
        QCOMPARE(readTextLines(dir.filePath("t.txt")).value_or(QStringList{"<unreadable>"}), lines);
    }

    void lineReaderGivesTheLinesOfAWholeRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("every line end") << QByteArray("a\r\nb\nc\rd\r\n\r\n\n\r\re");
        QTest::newRow("CR LF at every boundary") << QByteArray("ab\r\ncd\r\n\r\n\r\r\n");
        QTest::newRow("last line without end") << QByteArray("\r\nlast");
        QTest::newRow("empty") << QByteArray();
        // Multi-byte characters cut by a chunk, bytes that are not UTF-8 (one cut short by a
        // line end, one at the very end), a byte-order mark, NUL.
        QTest::newRow("not plain ASCII") << QByteArray(
            "\xef\xbb\xbf\xc3\xb1\xe2\x82\xac\r\n\xe2\x82\n\xff\x00x\r\n\xf0\x9f\x98", 21);
        // Longer than the reader keeps undecoded while it waits for an ASCII byte.
        QTest::newRow("long run without ASCII") << QByteArray("\xc3\xa9").repeated(40000) + "\nx";
    }

    void lineReaderGivesTheLinesOfAWholeRead()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("t.txt");
        writeBytes(path, bytes);
        for (const qsizetype chunk : {1, 2, 3, 5, 1 << 16}) {
            TextLineReader text(path, QStringConverter::System, chunk);
            TextLineReader latin1(path, QStringConverter::Latin1, chunk);
            QStringList textLines;
            QStringList latin1Lines;
            while (const std::optional<QString> line = text.next())
                textLines << *line;
            while (const std::optional<QString> line = latin1.next())
                latin1Lines << *line;
            QCOMPARE(textLines, *readTextLines(path));
            QCOMPARE(latin1Lines, splitLines(QString::fromLatin1(bytes)));
            QVERIFY(text.isOpen() && !text.failed());
        }
        TextLineReader missing(dir.filePath("missing.txt"));
        QVERIFY(!missing.isOpen());
        QVERIFY(!missing.next().has_value());
    }

    void writtenLinesEndInCrLfAndNeverHalfWritten()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("all.bat");
        QVERIFY(writeTextLines(path, {"mame -listfull > lista.txt", "ñ"}));
        QCOMPARE(readBytes(path), QByteArray("mame -listfull > lista.txt\r\n\xc3\xb1\r\n"));
        QVERIFY(!writeTextLines(dir.filePath("missing/all.bat"), {"x"}));
        QVERIFY(!readTextLines(dir.filePath("missing/all.bat")).has_value());
    }

    // Scratch folders go only when this program made them, as their marker tells, and the copy
    // that made them is gone; anything else, the user's folders of like names included, stays.
    void leftoverScratchFoldersGoAndNothingElse()
    {
        QTemporaryDir temporary;
        const QByteArray previous = qgetenv("TMPDIR");
        qputenv("TMPDIR", temporary.path().toLocal8Bit());
        // Named while it surely runs: a process that already ended has no identity to take.
        QProcess ended;
        ended.start("/bin/sleep", {"30"});
        QVERIFY(ended.waitForStarted());
        const ProcessIdentity gone = processIdentity(ended.processId());
        QVERIFY(gone.isValid());
        ended.kill();
        QVERIFY(ended.waitForFinished());
        const QByteArray goneMarker = QJsonDocument(processToJson(gone)).toJson();
        const QByteArray liveMarker = QJsonDocument(processToJson(ownProcessIdentity())).toJson();
        const QDir dir(temporary.path());
        const auto make = [&dir](const QString& folder, const QByteArray& marker,
                                 const QStringList& files) {
            QVERIFY(dir.mkpath(folder));
            if (!marker.isEmpty())
                writeBytes(dir.filePath(folder + "/.zefrin-copia.json"), marker);
            for (const QString& file : files) {
                QVERIFY(dir.mkpath(QFileInfo(dir.filePath(folder + '/' + file)).path()));
                writeBytes(dir.filePath(folder + '/' + file), "x");
            }
        };
        make("zefrin-Ab12Cd", goneMarker, {"mame.bat", "log.txt"});
        make("zefrin-Ef34Gh", goneMarker,
             {"informe-1/comparacion.log", "informe-2/comparacion.log"});
        make("zefrin-vivo01", liveMarker, {"log.txt"});
        make("zefrin-juegos", {}, {});
        make("zefrin-milog1", {}, {"log.txt"});
        make("zefrin-roto01", "{\"pid\": ", {"log.txt"});
        make("zefrin-notas1", goneMarker, {"log.txt", "notas.txt"});
        make("zefrin-nested", goneMarker, {"informe-1/otro.txt"});
        make("zefrin-toolong", goneMarker, {"log.txt"});
        make("otro-Ab12Cd", goneMarker, {"log.txt"});
        make("destino", goneMarker, {"log.txt"});
        QVERIFY(QFile::link(dir.filePath("destino"), dir.filePath("zefrin-link01")));
        {
            const ScratchFolder scratch;
            writeBytes(scratch.logPath(), "x");
            scratch.removeLeftovers();
            QVERIFY(QFile::exists(scratch.logPath()));
            QStringList left = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
            left.removeOne(QFileInfo(scratch.path()).fileName());
            QCOMPARE(left, (QStringList{"destino", "otro-Ab12Cd", "zefrin-juegos", "zefrin-link01",
                                        "zefrin-milog1", "zefrin-nested", "zefrin-notas1",
                                        "zefrin-roto01", "zefrin-toolong", "zefrin-vivo01"}));
            QVERIFY(QFile::exists(dir.filePath("destino/log.txt")));
        }
        if (previous.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", previous);
    }
};

QTEST_MAIN(SystemServicesTest)
#include "tst_systemservices.moc"
