// The compatibility search with today's emulator: only the games that have a ROM of a file of
// the archive are checked, found by the emulator's CRC list, which is made once and never
// taken whole when it was cut short.

#include "ManagerFolder.h"
#include "engine/catalogue/GameList.h"
#include "engine/romman/CrcListMaker.h"
#include "engine/services/ProcessIdentity.h"
#include "engine/services/RunRecord.h"
#include "support/SmallDisk.h"

#include <QLabel>
#include <QProgressBar>

using namespace zefrin;
using namespace zefrin::test;

namespace {

// In list order: a game that needs no ROM file (the emulator calls it best available whatever
// the archive holds), galaga, a game that shares a file with pacman, pacman, dkong.
fx::Collection crcCollection(const QString& listcrcDelayMs = "0")
{
    fx::Game shared = fx::makeGame("mspacman", "Ms. Come Cocos", {{"msp.1", 128}});
    shared.files.push_back({"pm.6e", fx::romContent("pacman", "pm.6e", 256)});
    return {{fx::makeGame("pong", "Pong [TTL]", {}),
             fx::makeGame("galaga", "Galaga Espacial", {{"gg1.bin", 300}}), shared,
             fx::makeGame("pacman", "Come Cocos", {{"pm.6e", 256}, {"pm.6f", 256}}),
             fx::makeGame("dkong", "Donkey Kong", {{"dk.5e", 512}})},
            {{"dialect", "today", ""}, {"listcrc-delay-ms", listcrcDelayMs.toStdString(), ""}}};
}

// Starts a search for `archive`, what was said and run before it forgotten.
void startSearch(Manager& m, const QString& archive)
{
    m.program.dialogs.shown.clear();
    m.folder.forgetEmulatorCalls();
    clickItem(m.window.ROMs, archive);
    click(&m.window, "lblBuscar");
}

// Has the CRC list made and ends it, as the program's end does, once the emulator has written
// the ROMs of two games; the emulator is quick again afterwards.
void endWhileTheListIsMade(Manager& m)
{
    {
        EmulatorRunner runner;
        CrcListMaker maker(runner, m.folder.path(), m.program.state.records.crcList);
        maker.start({"pong              \"Pong [TTL]\""});
        QTRY_VERIFY_WITH_TIMEOUT(m.folder.readFile("listacrc.txt").count('\n') == 3, 20000);
    } // the program ends here, and the emulator with it
    QVERIFY(fx::writeDataFile(crcCollection(), m.folder.filePath("standin.dat").toStdString()));
}

} // namespace

class CrcSearchTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The runs of a search and what it says. The list of CRCs is made by the first search only;
    // the game that needs no ROM file is never proposed. A cancel while the emulator writes the
    // list ends it there, and neither the cut list nor its note is kept.
    void search_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("calls");
        QTest::addColumn<QStringList>("outcome");
        const QStringList pacman = searchFound("Come Cocos");
        const auto row = [](const char* tag, const char* archive, const char* setup,
                            const char* calls, const QStringList& outcome) {
            QTest::newRow(tag) << QString(archive) << QString(setup) << QString(calls) << outcome;
        };
        row("candidates in list order", "viejo.zip", "", "-listfull -listcrc mspacman pacman",
            pacman);
        row("the list kept for the next search", "viejo.zip", "twice", "-listfull mspacman pacman",
            pacman);
        // Another emulator's game list: its CRCs are asked for anew.
        row("the list made again with the game list", "viejo.zip", "twice, new game",
            "-listfull -listcrc mspacman pacman", pacman);
        // Every file of the archive is looked up, not only the first one.
        row("one file of a game", "malo.zip", "", "-listfull -listcrc pacman", nothingFound);
        row("not a zip", "basura.zip", "", "-listfull -listcrc",
            {"Critical", "¡Ogh!",
             "El archivo basura.zip no es un archivo .zip que se pueda leer, así que no puede "
             "contener las ROMs de ningún juego."});
        // No list can be had: the search goes through every game, as the classic one does; the
        // game that needs no ROM file passes the emulator's check but holds none of the files.
        row("no list: every game", "misterio.zip", "list unwritable",
            "-listfull pong -listcrc galaga mspacman pacman dkong", nothingFound);
        // The game's own archive is in roms already: no rename onto it, but the archive is
        // checked beside it and the search says what it found.
        row("the game's archive already there", "viejo.zip", "copy",
            "-listfull -listcrc mspacman pacman",
            {"Exclamation", "Ya está en roms",
             "El archivo seleccionado es compatible con el juego Come Cocos, pero el archivo de "
             "ese juego, pacman.zip, ya está en la carpeta roms: este es una copia suya o una "
             "versión distinta. No se ha cambiado el nombre de ningún archivo."});
        row("cancelled while the list is made", "viejo.zip", "cancel", "-listfull -listcrc",
            cancelAsked + searchCancelled);
        // Cancelled before it: the list is not asked for.
        row("cancelled while the game list is made", "viejo.zip", "cancel first", "-listfull",
            cancelAsked + searchCancelled);
        // An earlier copy's emulator still writes the list (its note says so): the search says
        // it waits for it and can be cancelled meanwhile, with no run of its own.
        row("cancelled while an earlier run is awaited", "viejo.zip", "earlier run", "-listfull",
            cancelAsked + searchCancelled);
        // The note the program kept has the list made anew instead of the cut one taken whole.
        row("the program ended while the list was made", "viejo.zip", "ended",
            "-listfull -listcrc mspacman pacman", pacman);
        // A list cut short though the emulator ended well (a full disk) is not kept, and no
        // search runs without it; one kept from before is made anew.
        row("the list cut short", "viejo.zip", "cut", "-listfull -listcrc",
            {"Critical", "Error.", "%1"});
        row("a cut list kept from before", "viejo.zip", "cut before",
            "-listfull -listcrc mspacman pacman", pacman);
        // One that is a link planted in a shared folder: the new list replaces the link, and
        // what it pointed at stays as it was.
        row("a cut list kept from before, a link", "viejo.zip", "cut before, a link",
            "-listfull -listcrc mspacman pacman", pacman);
    }

    void search()
    {
        QFETCH(QString, archive);
        QFETCH(QString, setup);
        const bool cancel = setup == "cancel";
        // malo.zip: pacman's files, the one it shares with mspacman damaged.
        Manager m(crcCollection(cancel || setup == "ended" ? "60000" : "0"),
                  {{"pacman", "viejo.zip"},
                   {"bad pacman", "malo.zip"},
                   {"foreign", "misterio.zip"},
                   {"garbage", "basura.zip"}},
                  Dialect::Today);
        if (setup == "ended")
            endWhileTheListIsMade(m);
        m.program.dialogs.answers = {true, true};
        if (setup == "copy")
            m.folder.archive("pacman", "pacman.zip");
        if (setup == "list unwritable")
            m.folder.makeFolder("listacrc.txt");
        const QByteArray cutList = "9d0b8d5b gg1.bin\tgalaga\tGalaga Espacial\n1234";
        const QString outside = m.folder.filePath("../fuera.txt");
        if (setup == "cut before")
            m.folder.writeFile("listacrc.txt", cutList);
        if (setup == "cut before, a link") {
            m.folder.writeFile("../fuera.txt", cutList);
            QVERIFY(QFile::link(outside, m.folder.filePath("listacrc.txt")));
        }
        if (setup == "cut" || setup == "cancel first") {
            m.folder.collection.directives.push_back(
                setup == "cut" ? fx::Directive{"listcrc-cut-bytes", "60", ""}
                               : fx::Directive{"listfull-delay-ms", "300", ""});
            QVERIFY(fx::writeDataFile(m.folder.collection,
                                      m.folder.filePath("standin.dat").toStdString()));
        }
        if (setup.startsWith("twice")) {
            startSearch(m, archive);
            QTRY_VERIFY_WITH_TIMEOUT(!m.window.ManagerBusy, 60000);
        }
        if (setup == "twice, new game") {
            m.folder.collection.games.push_back(fx::makeGame("tetrix", "Tetrix", {{"tx.1", 128}}));
            QVERIFY(fx::writeDataFile(m.folder.collection,
                                      m.folder.filePath("standin.dat").toStdString()));
        }
        // The earlier copy's emulator, as far as the note can tell.
        QProcess earlier;
        if (setup == "earlier run") {
            earlier.start("sleep", {"60"});
            QVERIFY(earlier.waitForStarted());
            QVERIFY(writeRunRecord(m.program.state.records.crcList, m.folder.path(),
                                   withRun({}, processIdentity(earlier.processId()))));
        }
        startSearch(m, archive);
        if (setup == "cancel first")
            click(&m.window, "lblCancelar");
        if (setup == "earlier run") {
            QTRY_COMPARE_WITH_TIMEOUT(m.window.Label7->text(), "Esperando a M.A.M.E:", 20000);
            click(&m.window, "lblCancelar");
        }
        if (cancel) {
            // The emulator has written the ROMs of galaga and mspacman, the third game, and waits.
            QTRY_COMPARE_WITH_TIMEOUT(m.window.Label7->text() + ' ' + m.window.lblActual->text(),
                                      "Preparando lista de CRC: 3", 20000);
            click(&m.window, "lblCancelar");
        }
        QTRY_VERIFY_WITH_TIMEOUT(!m.window.ManagerBusy, 60000);
        QTEST(m.folder.setsAsked(), "calls");
        QFETCH(QStringList, outcome);
        outcome.replaceInStrings("%1", crcListCutText(m.folder.path(), false));
        QCOMPARE(messagesShown(m.program.dialogs), searchAsked + outcome);
        QCOMPARE(m.folder.exists("listacrc.txt"),
                 setup != "list unwritable" && setup != "earlier run" &&
                     !setup.startsWith("cancel") && setup != "cut");
        if (setup == "cut before, a link")
            QVERIFY(m.folder.readFile("../fuera.txt") == cutList &&
                    !QFileInfo(m.folder.filePath("listacrc.txt")).isSymLink());
        QCOMPARE(m.window.Label7->text(), "Número de ROMs Analizadas:");
        QVERIFY(m.window.Estado->isHidden());
        // The note of a run that still goes on stays for the next search.
        QCOMPARE(QFile::exists(m.program.state.records.crcList), setup == "earlier run");
        QCOMPARE(earlier.state(),
                 setup == "earlier run" ? QProcess::Running : QProcess::NotRunning);
        earlier.kill();
        earlier.waitForFinished();
    }

    // A game without ROM files passes today's check whatever archive stands under its name: the
    // compare says that no archive is such a game's, and the update renames nothing.
    void compareAndUpdate_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("outcome");
        QTest::addColumn<QStringList>("roms");
        const auto asked = [](const QString& game) {
            return QStringList{"Exclamation?", "Atención",
                               "¿Deseas actualizar el archivo de ROM viejo.zip al archivo para "
                               "el juego " +
                                   game + "?"};
        };
        const QStringList noFiles{"El juego seleccionado no usa ningún archivo de ROM (M.A.M.E lo "
                                  "emula sin ellas), así que ningún archivo .zip es compatible "
                                  "con él."};
        QTest::newRow("compare: no ROM files")
            << "lblCompara"
            << "Pong [TTL]" << QStringList{"Critical", "¡Ogh!"} + noFiles
            << QStringList{"viejo.zip"};
        QTest::newRow("update: no ROM files")
            << "lblActualizar"
            << "Pong [TTL]"
            << asked("Pong [TTL](pong.zip)") + QStringList{"Critical", "¡No!"} +
                   QStringList{noFiles[0] + " No se ha cambiado el nombre del archivo."}
            << QStringList{"viejo.zip"};
        QTest::newRow("update: compatible")
            << "lblActualizar"
            << "Come Cocos" << asked("Come Cocos(pacman.zip)") << QStringList{"pacman.zip"};
    }

    void compareAndUpdate()
    {
        Manager m(crcCollection(), {{"pacman", "viejo.zip"}}, Dialect::Today);
        m.program.dialogs.answers = {true};
        clickItem(m.window.ROMs, "viejo.zip");
        QFETCH(QString, title);
        clickItem(m.window.lstJuegos, title);
        QFETCH(QString, command);
        click(&m.window, command);
        QTRY_VERIFY_WITH_TIMEOUT(!m.window.ManagerBusy, 20000);
        QTEST(messagesShown(m.program.dialogs), "outcome");
        QTEST(m.folder.romNames(), "roms");
    }

    // A whole list kept from before is taken on a disk that has filled up since: it is not
    // made anew over itself, which the full disk would cut short, losing it.
    void keptListTakenOnAFullDisk()
    {
        QTemporaryDir folder;
        QTemporaryDir records;
        SmallDisk disk(folder.path(), 16);
        if (!disk.mounted)
            QSKIP("a small disk needs the right to mount");
        const QByteArray kept = "9d0b8d5b gg1.bin\tgalaga\tGalaga Espacial\n";
        QFile list(folder.filePath("listacrc.txt"));
        QFile filler(folder.filePath("relleno"));
        QVERIFY(list.open(QIODevice::WriteOnly) && list.write(kept) == kept.size());
        list.close();
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'x')) == 4096 && filler.flush()) {
        }
        EmulatorRunner runner;
        runner.useEmulator(ZEFRIN_STANDIN_PATH);
        CrcListMaker maker(runner, folder.path(), records.filePath("listacrc.json"));
        std::optional<CrcListEnd> end;
        connect(&maker, &CrcListMaker::ended, this,
                [&end](const CrcListResult& result) { end = result.end; });
        maker.start({"galaga            \"Galaga Espacial\""});
        QTRY_VERIFY_WITH_TIMEOUT(end.has_value(), 20000);
        QCOMPARE(*end, CrcListEnd::Ready);
        QCOMPARE(QFile(list.fileName()).size(), kept.size());
    }
};

QTEST_MAIN(CrcSearchTest)
#include "tst_crcsearch.moc"
