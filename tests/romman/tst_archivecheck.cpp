// The ROM manager's work beside its window: the emulator's verdict on an archive under a game's
// name, the archive always given its own name back (by the next start when the program ended in
// the middle of a check), and the two detail reports.

#include "ManagerFolder.h"
#include "engine/romman/ArchiveCheck.h"
#include "engine/romman/PendingRename.h"
#include "engine/romman/RomReports.h"
#include "gui/app/frmCargador.h"
#include "support/Runs.h"
#include "support/SmallDisk.h"

#include <QJsonDocument>
#include <QStandardPaths>

using namespace zefrin;
using namespace zefrin::test;

Q_DECLARE_METATYPE(zefrin::CheckOutcome)

// Every character a shell would act on, in archive, set and folder names.
static const QString hostile = "a&b; $(touch pwned) `touch pwned` it's \"q\" 50%";
// An archive name with signs, quotes, a line end and letters JSON must carry.
static const QString odd = "mi \"viejo\"\n$(x) ñandú 日本.zip";

class ArchiveCheckTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Whatever the outcome, roms holds what it held before, byte for byte, no record is left,
    // no shell acts on a name, and a verdict an earlier run left in 1.p never counts. Today's
    // emulator checks with "-verifyroms" on the folder's roms, and a clone's "[parent] good"
    // passes. The emulator's words are ASCII: no locale's letter case counts ("is" is "İS" in
    // Turkish), so every row runs in a Turkish locale.
    void checkLeavesRomsAsFound_data()
    {
        QTest::addColumn<CheckOutcome>("outcome");
        QTest::addColumn<QString>("holds"); // what `archive` holds
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("candidate");
        // "lock PATH", or "PATH=CONTENT" written first: the record's folder, the script, the
        // emulator; "today", today's emulator.
        QTest::addColumn<QString>("obstacle");
        const auto row = [](const char* tag, CheckOutcome outcome, const QString& obstacle = "",
                            const QString& holds = "pacman", const QString& archive = "viejo.zip",
                            const QString& candidate = "pacman.zip") {
            QTest::newRow(tag) << outcome << holds << archive << candidate << obstacle;
        };
        using O = CheckOutcome;
        row("passes", O::Good);
        row("bad file", O::NotGood, "", "bad pacman");
        row("name taken", O::NameTaken, "", "pacman", "viejo.zip", "galaga.zip");
        row("leaves roms", O::NotPassable, "", "pacman", "viejo.zip", "../a.zip");
        row("no record", O::RecordFailed, "../records=x");
        row("earlier answer locked", O::EmulatorNotRun, "lock 1.p");
        // A link planted under an exchange file's name is replaced, never written through.
        row("script a link", O::Good, "link abrir.bat");
        row("answers links", O::Good, "link 2.p", "pacman", "viejo.zip", "pacman.zip");
        // The verdict is exactly "romset SET is good" on the first line, in any letter case,
        // blanks around it and the line end aside.
        row("CR LF, capitals", O::Good, "mame=#!/bin/sh\nprintf '  ROMSET %s IS GOOD  \\r\\n' $1");
        row("crashes", O::NotGood, "mame=#!/bin/sh\nkill -SEGV $$");
        row("today: clone of a parent", O::Good, "today", "puckman", "viejo.zip", "puckman.zip");
        // Today's emulator calls a set without ROM files best available whatever the archive
        // holds: no archive is such a game's.
        row("today: a game without ROM files", O::NoRomFiles, "today", "pacman", "viejo.zip",
            "pong.zip");
        // A full disk loses the emulator's answer: no verdict, and said so.
        row("today: full disk", O::DiskFull, "today, full disk");
        // The set's files listed in no form the program reads: no claim that it has none.
        row("today: the set's files unreadable", O::NotGood,
            "today mame=#!/bin/sh\n[ $1 = -listcrc ] && echo basura || echo romset $1 is good");
    }

    void checkLeavesRomsAsFound()
    {
        QFETCH(CheckOutcome, outcome);
        QFETCH(QString, holds);
        QFETCH(QString, archive);
        QFETCH(QString, candidate);
        QFETCH(QString, obstacle);
        const bool today = obstacle.startsWith("today");
        const bool full = obstacle.endsWith("full disk");
        fx::Collection games = managerCollection({{"dialect", today ? "today" : "classic", ""}});
        games.games.push_back({"puckman", "Puck Man", {{"pk.1", "puck"}}, "pacman"});
        games.games.push_back(fx::makeGame("pong", "Pong [TTL]", {}));
        ManagerFolder folder(games, "emu " + hostile);
        folder.archive(holds, archive);
        folder.archive("galaga", "galaga.zip");
        folder.writeFile("1.p", "romset pacman is good\r\n");
        const bool locking = obstacle.startsWith("lock ");
        const auto lock = locking ? immutable(folder.filePath(obstacle.mid(5))) : nullptr;
        if (locking && !lock)
            QSKIP("chattr +i is not available here");
        const QString written = today ? obstacle.section(' ', 1) : obstacle;
        if (written.contains('='))
            folder.writeFile(written.section('=', 0, 0), written.section('=', 1).toUtf8());
        const bool linking = obstacle.startsWith("link ");
        if (linking) {
            folder.writeFile("../fuera.txt", "mío");
            for (const QString& name : {obstacle.mid(5), QString("1.p")}) {
                QFile::remove(folder.filePath(name));
                QVERIFY(QFile::link(folder.filePath("../fuera.txt"), folder.filePath(name)));
            }
        }
        const QLocale locale;
        const auto restoreLocale = qScopeGuard([locale] { QLocale::setDefault(locale); });
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        EmulatorRunner runner;
        std::optional<SmallDisk> disk;
        if (full) {
            const QMap<QString, QByteArray> files = folderContents(folder.path(), {"mame"});
            disk.emplace(folder.path(), 256);
            if (!disk->mounted)
                QSKIP("a small disk needs the right to mount");
            for (auto file = files.begin(); file != files.end(); ++file)
                folder.writeFile(file.key(), file.value());
            runner.useEmulator(ZEFRIN_STANDIN_PATH);
            QFile filler(folder.filePath("relleno"));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush())
                ;
        }
        const QMap<QString, QByteArray> before = folderContents(folder.romPath(""));
        const QString record = folder.filePath("../records/pending.json");

        ArchiveChecker checker(runner, folder.path(), record,
                               today ? Dialect::Today : Dialect::Classic);
        QCOMPARE(checkToEnd(checker, archive, candidate), outcome);
        QCOMPARE(folderContents(folder.romPath("")), before);
        const bool passed = outcome == CheckOutcome::Good || outcome == CheckOutcome::NoRomFiles;
        const bool ran = (obstacle.isEmpty() || today || linking) && !written.contains('=') &&
                         (passed || outcome == CheckOutcome::NotGood);
        const QString set = candidate.chopped(4);
        const QString verify = today ? "\t-verifyroms\t-rompath\troms" : "\t-verifysets";
        // Today a passing verdict counts only with a file of the set's in the archive.
        const QString files = today && passed ? "-listcrc\t" + set + '\n' : "";
        if (!full)
            QCOMPARE(folder.readFile("standin-calls.txt"),
                     ran ? (set + verify + '\n' + files).toUtf8() : QByteArray());
        QVERIFY(!QFile::exists(record));
        for (const char* stray : {"pwned", "roms/pwned", "a.zip"})
            QVERIFY2(!folder.exists(stray), stray);
        if (linking)
            QCOMPARE(folder.readFile("../fuera.txt"), "mío");
    }

    // The program ended while the archive `odd` was called pacman.zip, or after it was "renamed
    // back"; or something "taken" its own name while the emulator ran, so the check left it
    // under the game's name, and the record it wrote is all the next start has.
    void startUpRecovers_data()
    {
        // Those, "lock" roms, another copy "running", or the record (%1: the emulator folder).
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("recordKept");
        QTest::addColumn<QStringList>("message"); // icon, title and text (%1: the note kept)
        const auto row = [](const char* tag, const QString& setup, const QStringList& after,
                            bool recordKept, const QStringList& message = {}) {
            QTest::newRow(tag) << setup << after << recordKept << message;
        };
        const QStringList own{odd}, other{"pacman.zip"};
        const QString ended = "Zefrin! se cerró mientras comprobaba el archivo " + odd +
                              ", que tenía temporalmente el nombre pacman.zip en la carpeta roms. ";
        row("interrupted check", "", own, false,
            {"Information", "Archivo recuperado", ended + "Se le ha devuelto su nombre."});
        row("ended after the rename back", "renamed back", own, false);
        // Ended between the note and a rename that never came (the game's name was taken): the
        // archive has its own name, and the note claims nothing.
        row("ended before the rename, name taken", "never renamed", own + other, false);
        row("both names present", "taken", own + other, false,
            {"Exclamation", "Atención",
             ended + "Ahora hay un archivo con cada uno de los dos nombres, así que no se ha "
                     "tocado ninguno: comprueba cuál es cuál."});
        row("roms read-only", "lock", other, true,
            {"Critical", "Error",
             ended + "No ha sido posible devolverle su nombre; se intentará de nuevo la próxima "
                     "vez que se abra Zefrin!. También puedes cambiarle el nombre tú mismo."});
        row("another folder's record",
            "{\"emulatorFolder\": \"/otra\", \"archive\": \"a.zip\", \"temporary\": "
            "\"pacman.zip\"}",
            other, true);
        const QStringList damaged{
            "Exclamation", "Atención",
            "Una sesión anterior de Zefrin! se cerró sin dejar en orden un archivo de la carpeta "
            "roms que tenía temporalmente otro nombre, y esta no lo ha hecho porque la nota que lo "
            "apuntaba está dañada y no se puede leer. No se ha tocado nada: compruébalo tú mismo. "
            "La nota de Zefrin! está guardada en %1."};
        row("no temporary name", "{\"emulatorFolder\": \"%1\", \"archive\": \"a.zip\"}", other,
            false, damaged);
        // The folder at another mount point, under another device number, where no UUID tells
        // it: the note of the path that is gone is about a file of the same size and time under
        // the temporary name. Nothing is touched and the user is told both names.
        row("another mount point", "moved", other, false,
            {"Exclamation", "Atención",
             "Una sesión anterior de Zefrin! se cerró sin dejar en orden el archivo " + odd +
                 ", que tenía temporalmente el nombre pacman.zip en la carpeta roms, y esta no lo "
                 "ha hecho porque la carpeta /media/disco/MAME ya no está y no se puede asegurar "
                 "que %1 sea la misma (un disco conectado de nuevo o una carpeta movida). No se ha "
                 "tocado nada: compruébalo tú mismo. La nota de Zefrin! está guardada en %2."});
        // A second copy must not touch an archive the first one is checking.
        row("second copy", "running", other, true,
            {"Information", "Zefrin ya está abierto.",
             "Zefrin! ya se encuentra abierto, búscalo, debe estar por ahí."});
    }

    void startUpRecovers()
    {
        QFETCH(QString, setup);
        QFETCH(QStringList, message);
        ManagerFolder folder;
        setup.replace("%1", folder.path());
        folder.setVersion("0.70");
        // Notes are named after their folder's path: the one of the path that is gone, and this
        // folder's own.
        const QString gone = folder.records.filePath("pending-rename-0123456789abcdef.json");
        QFile record(setup == "moved"
                         ? folder.records.filePath("pending-rename-fedcba9876543210.json")
                         : folder.recordPath());
        folder.archive("pacman", odd);
        if (setup == "taken") {
            folder.writeFile("taken", odd.toUtf8());
            folder.writeFile("mame", "#!/bin/sh\necho intruso > \"roms/$(cat taken)\"\n"
                                     "echo \"romset $1 is good\"\n");
            EmulatorRunner runner;
            ArchiveChecker checker(runner, folder.path(), record.fileName(), Dialect::Classic);
            QCOMPARE(checkToEnd(checker, odd, "pacman.zip"), CheckOutcome::NotRestored);
            folder.installEmulator();
        } else if (setup.startsWith('{')) {
            QVERIFY(record.open(QIODevice::WriteOnly) && record.write(setup.toUtf8()) &&
                    record.flush());
        } else if (setup == "moved") {
            QVERIFY(writePendingRename(gone, {folder.path(), odd, "pacman.zip"}));
            QFile note(gone);
            QVERIFY(note.open(QIODevice::ReadWrite));
            QJsonObject json = QJsonDocument::fromJson(note.readAll()).object();
            QJsonObject identity = json.value("emulatorFolderIdentity").toObject();
            identity.insert("device", "1");
            json.insert("emulatorFolderIdentity", identity);
            json.insert("emulatorFolder", "/media/disco/MAME");
            QVERIFY(note.resize(0) && note.write(QJsonDocument(json).toJson()) > 0);
        } else {
            QVERIFY(writePendingRename(record.fileName(), {folder.path(), odd, "pacman.zip"}));
        }
        if (setup == "never renamed")
            folder.archive("galaga", "pacman.zip");
        else if (setup != "renamed back" && setup != "taken")
            QVERIFY(RenameInFolder(odd, "pacman.zip", folder.romPath("")));
        const auto lock = setup == "lock" ? immutable(folder.filePath("roms")) : nullptr;
        if (setup == "lock" && !lock)
            QSKIP("chattr +i is not available here");
        Program program(folder.path());
        program.state.records.pendingRename = record.fileName();
        InstanceLock first(program.lockFolder.filePath("zefrin.lock"));
        QVERIFY(setup != "running" || first.tryAcquire());
        frmCargador window(program.context);
        QCOMPARE(loadToEnd(window), setup != "running");

        QTEST(folder.romNames(), "after");
        QTEST(record.exists(), "recordKept");
        message.replaceInStrings(
            "%1", setup == "moved" ? folder.path()
                                   : folder.records.filePath("pending-rename.apartada.json"));
        message.replaceInStrings(
            "%2", folder.records.filePath("pending-rename-0123456789abcdef.apartada.json"));
        QCOMPARE(messagesShown(program.dialogs), message);
    }

    // What the emulator answers, under any archive name, and only in this run: answers an
    // earlier command left do not count; a command it does not answer leaves its heading empty;
    // what it writes on standard error stands among the rest, in the order written; every line
    // (ended by CR LF, LF, CR or nothing, in any encoding) is copied with a CR LF end.
    // Each report in a folder of its own, so an editor still showing one keeps it; none of the
    // working files left in the emulator folder.
    void reportsFromTheEmulator()
    {
        const QString archive = hostile + ".zip";
        ManagerFolder folder;
        folder.archive("pacman", archive);
        folder.writeFile("mame", "#!/bin/sh\nif [ \"$2\" = -verifyroms ]; then echo uno; "
                                 "echo dos >&2; echo tres; exit 2; fi\n"
                                 "printf '%s\\r\\nb\\n\\nd\\re\\351\\377' \"$1 $2\"\n");
        for (const char* name : {"1.p", "2.p", "3.p", "4.p"})
            folder.writeFile(name, "viejo\r\n");
        folder.writeFile("../fuera.txt", "mío");
        QVERIFY(QFile::link(folder.filePath("../fuera.txt"), folder.filePath("abrir.bat")));
        QTemporaryDir scratch;
        EmulatorRunner runner;
        ReportMaker maker(runner, folder.path(), scratch.path(), Dialect::Classic);
        QVERIFY(maker.archiveReport(archive));
        QVERIFY(nextSignal(&maker, &ReportMaker::made).value_or(ReportResult()).written);
        QVERIFY(maker.gameReport("Ñandú del Águila", " pacman.zip "));
        QVERIFY(nextSignal(&maker, &ReportMaker::made).value_or(ReportResult()).written);
        for (const char* name : {"abrir.bat", "1.p", "2.p", "3.p", "4.p", "comparacion.log"})
            QVERIFY2(!folder.exists(name), name);
        const QString file = "roms/" + archive, set = archive.chopped(4);
        const QByteArray lines = "\r\nb\r\n\r\nd\r\ne\xe9\xff\r\n";
        const QByteArray archiveReport =
            "/* COMPROBACIÓN DE LOS ARCHIVOS DE LA ROM */\r\n\r\n" +
            (file + " -romident").toUtf8() + lines +
            "\r\n/* ROMS QUE DEBERÍA TENER EL ARCHIVO PARA QUE FUNCIONE */\r\n\r\n" +
            (set + " -listroms").toUtf8() + lines +
            "\r\n/* COMPROBACIÓN DE LA INTEGRIDAD DEL ARCHIVO */\r\n\r\nuno\r\ndos\r\ntres\r\n\r\n"
            "/* ¿RECONOCE M.A.M.E. ESTA ROM? */\r\n"
            "/* NOTA: Que M.A.M.E. reconozca al completo(KNOWN) o en parte(PARTKNOWN) esta "
            "ROM no implica que la emule. */\r\n\r\n" +
            (file + " -isknown").toUtf8() + lines;
        QCOMPARE(folderContents(scratch.path()),
                 (QMap<QString, QByteArray>{
                     {"informe-1/comparacion.log", archiveReport},
                     {"informe-2/comparacion.log",
                      "\r\n/* ÑANDÚ DEL ÁGUILA */\r\n/* ARCHIVOS QUE DEBE TENER SU .ZIP */\r\n\r\n"
                      "pacman -listroms" +
                          lines}}));
        QCOMPARE(folder.romNames(), QStringList{archive});
        QVERIFY(!folder.exists("pwned") && !folder.exists("roms/pwned"));
        QCOMPARE(folder.readFile("../fuera.txt"), "mío");
    }
};

QTEST_MAIN(ArchiveCheckTest)
#include "tst_archivecheck.moc"
