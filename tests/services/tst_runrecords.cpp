// The notes a run keeps while something of the user's is aside, met at the next start after a
// kill: a note is applied only to its own folder and its own file; one that cannot be is said
// once and kept aside; a clean close leaves no note behind.

#include "engine/catalogue/GameListMaker.h"
#include "engine/input/ControllerFiles.h"
#include "engine/input/KeySwitch.h"
#include "engine/launch/GameLaunch.h"
#include "engine/romman/ArchiveCheck.h"
#include "gui/app/frmCargador.h"
#include "romman/ManagerFolder.h"
#include "support/Runs.h"

#include <QCheckBox>

#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace zefrin;
using namespace zefrin::test;

namespace {

const QByteArray userLine = "ctrlr                   usuario";
const QByteArray userSettings = "<!-- the user's galaga settings -->";

// Every file under `path` with its bytes; the stand-in's call log and the files a start makes
// and a close removes aside.
QMap<QString, QByteArray> contents(const QString& path)
{
    return folderContents(
        path, {"standin-calls.txt", "lista.txt", "Zefrin.tlc", "all.bat", "abrir.bat", "1.p"});
}

} // namespace

class RunRecordsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(QDir(records).removeRecursively() && QDir().mkpath(records)); }

    void notesApplyToTheirOwnFolderAndFileOnly_data()
    {
        QTest::addColumn<QString>("kind"); // what the killed program had aside
        // What happened before the next start: anything but a renamed folder sets the note
        // aside, on one branch whether its folder was replaced or the note is damaged (one of the
        // two a kind). What is given back after a kill: the kill drills, e2e and the archive check.
        QTest::addColumn<QString>("since");
        const auto row = [](const char* kind, const char* since) {
            QTest::newRow(qPrintable(QString("%1, %2").arg(kind, since))) << kind << since;
        };
        row("rename", "folder replaced");
        row("rename", "file changed");
        row("settings", "folder replaced");
        row("settings", "file changed");
        row("line", "folder replaced");
        row("line", "file changed");
        row("parked", "file changed");
        row("parked", "note damaged");
        row("list", "folder renamed");
        row("list", "note damaged");
    }

    void notesApplyToTheirOwnFolderAndFileOnly()
    {
        QFETCH(QString, kind);
        QFETCH(QString, since);
        // Runs slow enough for a kill to find the emulator still at work, in the emulator folder
        // as the user has it: an archive of pacman's under an old name, settings of the user's
        // for galaga, mame.ini with a controller line of the user's, saved keys.
        ManagerFolder folder(managerCollection({{"run-ms", "4000", {}},
                                                {"run-no-cfg", "1", {}},
                                                {"verify-delay-ms", "4000", {}},
                                                {"listfull-delay-ms", "4000", {}}}));
        folder.setVersion("0.70");
        folder.archive("pacman", "viejo.zip");
        folder.archive("galaga", "galaga.zip");
        folder.writeFile("cfg/galaga.cfg", userSettings);
        folder.writeFile("mame.ini", "rompath                 roms\r\n" + userLine + "\r\n");
        folder.makeFolder("ctrlr");
        QVERIFY(writeControllerFiles(folder.path(), emptyKeyTable(), Dialect::Classic));
        folder.writeFile("lista.txt", "Name:     Description:\r\ngalaga    \"Galaga Espacial\"\r\n"
                                      "pacman    \"Come Cocos\"\r\ndkong     \"Donkey Kong\"\r\n");
        leaveNoteOf(kind, folder);
        if (QTest::currentTestFailed())
            return;
        const QString first = folder.path();
        const QString root = QFileInfo(first).path();
        // The next start is in the folder the program had run in, wherever it is now.
        const QString start = since == "folder renamed" ? first + "-0.70" : first;
        if (since == "folder renamed" || since == "folder replaced")
            QVERIFY(QDir().rename(first, first + "-0.70"));
        if (since == "folder replaced") {
            // Another installation at the old path, with files of the same names.
            ManagerFolder other;
            other.setVersion("0.70");
            other.writeFile("mame.ini", userLine + "\r\n");
            other.archive("dkong", "pacman.zip");
            other.writeFile("cfg/galaga.bak", "<!-- the other folder's -->");
            QVERIFY(QDir().rename(other.path(), first));
        }
        if (since == "file changed") {
            // For mame.ini, a controller line of another's.
            QFile changed(first + (kind == "rename"     ? "/roms/pacman.zip"
                                   : kind == "settings" ? "/cfg/galaga.bak"
                                   : kind == "line"     ? "/mame.ini"
                                                        : "/cfg/default.bak"));
            QVERIFY(changed.open(QIODevice::WriteOnly) && changed.write("ctrlr   otro\r\n") > 0);
        }
        if (since == "note damaged")
            for (const QString& note : QDir(records).entryList(QDir::Files))
                QVERIFY(QFile(records + '/' + note).open(QIODevice::WriteOnly));
        const QMap<QString, QByteArray> before = contents(root);

        const QList<ShownMessage> shown = startAndClose(start);
        QCOMPARE(shown.size(), since == "folder renamed" ? 0 : 1);
        if (shown.size() == 1) {
            // Nothing touched; the note is named where it is kept, and is said only once.
            QCOMPARE(shown.first().title, QStringLiteral("Atención"));
            QVERIFY2(shown.first().text.contains(".apartada.json"), qPrintable(shown[0].text));
            QVERIFY(startAndClose(start).isEmpty());
            QCOMPARE(contents(root), before);
        } else {
            // The list the killed run had begun goes, and is made again.
            QVERIFY(folderContents(start).value("lista.txt").contains("Donkey Kong"));
        }
        QCOMPARE(
            QDir(records).entryList(QDir::Files).filter(QRegularExpression("-[0-9a-f]+\\.json$")),
            QStringList());
    }

    // A removable disk plugged back may come under another device number, and at another
    // mount point: its file system's UUID (the system's links in /dev/disk/by-uuid, each to
    // its block device) with the index node still tell the folder. Where either side knows no
    // UUID (a note of before, a file system without one), the device number decides.
    void identitySurvivesAReplug_data()
    {
        QTest::addColumn<QString>("noted"); // device/inode/UUID as the note has them
        QTest::addColumn<QString>("now");
        QTest::addColumn<bool>("same");
        QTest::newRow("plugged back") << "2049/12/ab-cd"
                                      << "2065/12/ab-cd" << true;
        QTest::newRow("another disk, same numbers") << "2049/12/ab-cd"
                                                    << "2049/12/ef-01" << false;
        QTest::newRow("another folder") << "2049/12/ab-cd"
                                        << "2065/13/ab-cd" << false;
        QTest::newRow("a note without the UUID") << "2049/12/"
                                                 << "2065/12/ab-cd" << false;
        QTest::newRow("no UUID, same device") << "2049/12/"
                                              << "2049/12/" << true;
    }

    void identitySurvivesAReplug()
    {
        QFETCH(QString, noted);
        QFETCH(QString, now);
        const auto identity = [](const QString& fields) {
            const QStringList f = fields.split('/');
            return FileIdentity{f[0], f[1], 5, 7, f[2]};
        };
        // As a note keeps it and reads it back.
        const std::optional<FileIdentity> kept = identityFromJson(identityToJson(identity(noted)));
        QVERIFY(kept);
        QTEST(kept->sameFolder(identity(now)), "same");
        QTEST(*kept == identity(now), "same");
    }

    // The UUID of the file system a file lives on, from the links to block devices; none when
    // no link names its device.
    void fileSystemUuidFromTheLinks()
    {
        QTemporaryDir links;
        const QString devices = links.filePath("dispositivos");
        QVERIFY(QDir().mkpath(devices));
        struct stat own {};
        QVERIFY(::stat(QFile::encodeName(links.path()).constData(), &own) == 0);
        const QByteArray node = QFile::encodeName(devices + "/disco");
        if (::mknod(node.constData(), S_IFBLK | 0600, own.st_dev) != 0)
            QSKIP("block device nodes cannot be made here");
        QCOMPARE(fileSystemUuid(quint64(own.st_dev), links.path()), QString());
        QVERIFY(QFile::link("dispositivos/disco", links.filePath("1234-ABCD")));
        QVERIFY(QFile::link("dispositivos/ninguno", links.filePath("roto")));
        QCOMPARE(fileSystemUuid(quint64(own.st_dev), links.path()), "1234-ABCD");
        QCOMPARE(fileSystemUuid(quint64(own.st_dev) + 1, links.path()), QString());
    }

private:
    // The program's own work on `kind`, ended as a kill ends it: the runner's end takes down
    // its process group, the emulator with it.
    void leaveNoteOf(const QString& kind, ManagerFolder& folder)
    {
        const RunRecords notes = RunRecords::forFolder(folder.path(), records);
        if (kind == "parked") {
            folder.writeFile("cfg/default.cfg", userSettings);
            QCOMPARE(parkEmulatorInputFile(folder.path(), notes.inputSettings).outcome,
                     Parking::Outcome::Parked);
        } else if (kind == "line") {
            Program program(folder.path());
            program.state.records = notes;
            frmCargador window(program.context);
            window.chkUsaControles->click();
            QVERIFY(window.chkUsaControles->isChecked());
        } else {
            EmulatorRunner runner;
            ArchiveChecker checker(runner, folder.path(), notes.pendingRename, Dialect::Classic);
            ScratchFolder scratch;
            GameLaunch launch(runner, {folder.path(), "galaga.zip", InstalledVersion("0.70"),
                                       Dialect::Classic, true, scratch.playScriptPath(),
                                       scratch.logPath(), notes.gameSettings});
            GameListMaker maker(runner, folder.path(), notes.gameList);
            if (kind == "rename")
                QVERIFY(!checker.CheckArchiveAsGame("viejo.zip", "pacman.zip"));
            if (kind == "settings")
                QVERIFY(!launch.start() && folder.exists("cfg/galaga.bak"));
            // The shell's redirection makes the list before the emulator runs: a list begun.
            if (kind == "list") {
                QVERIFY(QFile::remove(folder.filePath("lista.txt")) &&
                        maker.start(Dialect::Classic));
                QTRY_VERIFY(folder.exists("lista.txt"));
            }
        }
        QVERIFY(!QDir(records).isEmpty(QDir::Files));
    }

    QList<ShownMessage> startAndClose(const QString& folder)
    {
        Program program(folder);
        program.state.records = RunRecords::forFolder(folder, records);
        frmCargador window(program.context);
        if (!loadToEnd(window))
            program.dialogs.shown.append({Dialogs::Icon::None, "not started", {}});
        window.show();
        if (!window.close())
            program.dialogs.shown.append({Dialogs::Icon::None, "not closed", {}});
        return program.dialogs.shown;
    }

    QTemporaryDir recordsFolder;
    const QString records = recordsFolder.path();
};

QTEST_MAIN(RunRecordsTest)
#include "tst_runrecords.moc"
