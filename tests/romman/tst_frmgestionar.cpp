// The ROM manager window as a user meets it: its two lists, the guard that keeps one command
// at a time, and every command run through its buttons against the stand-in.

#include "ManagerFolder.h"
#include "engine/catalogue/GeneratedFiles.h"
#include "engine/services/ExchangeFiles.h"

#include <QLabel>
#include <QProgressBar>

using namespace zefrin;
using namespace zefrin::test;

namespace {

QStringList itemsOf(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

} // namespace

class FrmGestionarTest : public QObject {
    Q_OBJECT

private slots:
    void loadingAndLookups()
    {
        Manager m;
        frmGestionar& window = m.window;
        m.folder.archive("pacman", "PUCKMAN.ZIP");
        m.folder.writeFile("roms/leeme.txt", "x");
        QVERIFY(m.reload()); // the game list is written anew each time
        QCOMPARE(itemsOf(window.ROMs), (QStringList{"galaga.zip", "misterio.zip", "mono.zip",
                                                    "PUCKMAN.ZIP", "viejo.zip"}));
        QCOMPARE(itemsOf(window.lstJuegos),
                 (QStringList{"Come Cocos", "Donkey Kong", "Galaga Espacial", "Tetrix"}));
        clickItem(window.ROMs, "galaga.zip");
        QCOMPARE(window.lblTitulo->text(), "Galaga Espacial");
        QTest::keyClick(window.ROMs->viewport(), Qt::Key_Down); // the keyboard as a click
        QCOMPARE(window.lblTitulo->text(), "ROM desconocida(misterio.zip)");
        clickItem(window.lstJuegos, "Donkey Kong");
        QTest::keyClick(window.lstJuegos->viewport(), Qt::Key_Down);
        QCOMPARE(window.lblArchivo->text(), "galaga.zip");
        // An emulator that fails leaves the game list empty, and says so; a search then asks
        // nothing of it and says why.
        m.folder.writeFile("mame", "#!/bin/sh\necho \"$@\" >> standin-calls.txt\nexit 1\n");
        QVERIFY(m.reload() && window.lstJuegos->count() == 0);
        const QStringList notMade{"Critical", "Error.", gameListNotCreatedText(m.folder.path())};
        QCOMPARE(messagesShown(m.program.dialogs), notMade);
        m.program.dialogs.shown.clear();
        m.program.dialogs.answers = {true};
        m.folder.forgetEmulatorCalls();
        clickItem(window.ROMs, "galaga.zip");
        click(&window, "lblBuscar");
        QTRY_VERIFY(!window.ManagerBusy);
        QCOMPARE(messagesShown(m.program.dialogs), searchAsked + notMade);
        QCOMPARE(m.folder.readFile("standin-calls.txt"), "-listfull\n");
    }

    // Each command on the selections: the messages it shows, the sets it asks the stand-in
    // about, the reports it opens, and roms afterwards. None leaves the window busy or a record
    // behind. While a search waits for the emulator the window's events flow: every command but
    // the cancel does nothing, and the window cannot be left; a confirmed cancel stops the
    // search once the running check is done, and that check takes up a new selection. A name
    // the emulator would not get whole, or would read as an option, is never handed to it: the
    // command says so, and the search passes over such a game ("-cc", the last of the list).
    void commands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("archive");      // selected in ROMs (of pacman's files when
                                                   // not there yet); empty: none
        QTest::addColumn<QString>("title");        // selected in lstJuegos; empty: none
        QTest::addColumn<QString>("setup");        // what happens before the click
        QTest::addColumn<QStringList>("messages"); // "%1": the report's path
        QTest::addColumn<QString>("sets");         // asked about, in order
        QTest::addColumn<QStringList>("roms");     // afterwards; empty: as before
        const auto row = [](const char* tag, const char* command, const char* archive,
                            const char* title, const QString& setup, const QStringList& messages,
                            const char* sets = "", const QStringList& roms = {}) {
            QTest::newRow(tag) << QString(command) << QString(archive) << QString(title) << setup
                               << messages << QString(sets) << roms;
        };
        const auto update = [](const QString& archive, const QString& game) {
            return QStringList{"Exclamation?", "Atención",
                               "¿Deseas actualizar el archivo de ROM " + archive +
                                   " al archivo para el juego " + game + "?"};
        };
        const auto refused = [](const QString& name) {
            return QStringList{
                "Critical", "¡No!",
                "No se puede comprobar ni consultar el archivo " + name +
                    " porque su nombre no se puede pasar tal cual a M.A.M.E: empieza por un "
                    "guion, no tiene nada antes de la extensión, lleva un salto de línea o tiene "
                    "letras que el sistema no sabe leer (como las de discos antiguos, escritas "
                    "en otra codificación). No se ha modificado nada."};
        };
        const char *compare = "lblCompara", *search = "lblBuscar";
        const QStringList pacman = update("viejo.zip", "Come Cocos(pacman.zip)");
        const QStringList cancelling = searchAsked + cancelAsked;
        row("compare: compatible", compare, "viejo.zip", "Come Cocos", "", compatible, "pacman");
        row("compare: own game", compare, "galaga.zip", "Galaga Espacial", "", compatible,
            "galaga");
        row("compare: not compatible", compare, "viejo.zip", "Tetrix", "",
            {"Critical", "¡Ogh!", "No hay compatibilidad entre estas ROMs."}, "tetrix");
        row("compare: game's archive there", compare, "viejo.zip", "Galaga Espacial", "",
            {"Critical", "No es posible la comparación",
             "No puedes comparar la ROM con el juego seleccionado mientras exista un archivo de "
             "ROM para este."});
        row("update: compatible", "lblActualizar", "viejo.zip", "Come Cocos", "", pacman, "pacman",
            {"galaga.zip", "misterio.zip", "mono.zip", "pacman.zip"});
        row("update: answered no", "lblActualizar", "viejo.zip", "Come Cocos", "say no", pacman);
        row("update: not compatible", "lblActualizar", "viejo.zip", "Tetrix", "",
            update("viejo.zip", "Tetrix(tetrix.zip)") +
                QStringList{"Critical", "¡No!",
                            "No es posible actualizar esta ROM ya que no sería emulable por la "
                            "versión de M.A.M.E"},
            "tetrix");
        row("update: name taken", "lblActualizar", "misterio.zip", "Galaga Espacial", "",
            update("misterio.zip", "Galaga Espacial(galaga.zip)") +
                QStringList{"Critical", "Error",
                            "No es posible actualizar el archivo zip para el juego "
                            "seleccionado, ya que existe otro zip con el nombre de la "
                            "actualización."});
        row("update: no archive selected", "lblActualizar", "", "Come Cocos", "",
            {"Information", "¡No!",
             "Debes selccionar un archivo de la carpeta roms y un título para que se pueda "
             "actualizar."});
        row("update: archive gone", "lblActualizar", "viejo.zip", "Come Cocos", "gone",
            pacman + QStringList{"Critical", "No es posible continuar",
                                 "El archivo a actualizar ha sido borrado o movido durante el "
                                 "proceso de actualización."});
        row("update: game not in the list", "lblActualizar", "viejo.zip", "Come Cocos", "no list",
            {"Critical", "¡No!",
             "El juego seleccionado no figura en la lista de juegos de M.A.M.E (lista.txt), así "
             "que no se sabe qué archivo le corresponde. Vuelve a seleccionar el juego en la "
             "lista."});
        // galaga's archive is there: galaga is never tried.
        row("search: found", search, "viejo.zip", "", "", searchAsked + searchFound("Come Cocos"),
            "-listfull pacman");
        row("search: nothing", search, "misterio.zip", "", "", searchAsked + nothingFound,
            "-listfull pacman dkong tetrix");
        row("search: answered no", search, "viejo.zip", "", "say no", searchAsked);
        row("search: archive gone", search, "viejo.zip", "", "gone",
            searchAsked + QStringList{"Critical", "No es posible continuar",
                                      "El archivo viejo.zip ha sido borrado o movido de la "
                                      "carpeta roms."},
            "-listfull", {"galaga.zip", "misterio.zip", "mono.zip"});
        row("search: cancelled", search, "misterio.zip", "", "cancel misterio.zip",
            cancelling + searchCancelled, "-listfull");
        row("search: a new selection before the third check", search, "misterio.zip", "",
            "select mono.zip", searchAsked + searchFound("Donkey Kong"), "-listfull pacman dkong");
        row("search: cancelled, the running check finds it", search, "misterio.zip", "",
            "cancel galaga.zip", cancelling + searchFound("Galaga Espacial"), "-listfull galaga");
        row("game report, no editor", "lblArchivosJuego", "", "Tetrix", "no editor",
            {"Critical", "Error",
             "No se ha podido abrir el informe en el editor de textos. Puedes leerlo en %1 "
             "mientras Zefrin! siga abierto."},
            "tetrix");
        row("game report: a game named as an option", "lblArchivosJuego", "", "Opción", "",
            refused("-cc.zip"));
        row("archive report: a line end in the name", "lblContiene", "dos\r\nlíneas.zip", "", "",
            refused("dos\r\nlíneas.zip"));
        // The exchange files that were there at start are the user's: no command writes over them.
        const QStringList usersFiles{
            "Critical", "Error",
            "En la carpeta del emulador hay archivos tuyos con los nombres que Zefrin! usa para "
            "hablar con M.A.M.E (1.p, abrir.bat, 2.p), y esta orden los sobrescribiría. "
            "Cámbiales el nombre o muévelos a otra carpeta y vuelve a intentarlo. No se ha "
            "modificado nada."};
        row("compare: the user's own exchange files", compare, "viejo.zip", "Come Cocos",
            "users files", usersFiles);
        row("archive report: the user's own exchange files", "lblContiene", "viejo.zip", "",
            "users files", usersFiles);
    }

    void commands()
    {
        QFETCH(QString, archive);
        QFETCH(QString, title);
        QFETCH(QString, setup);
        QFETCH(QStringList, roms);
        const bool cancel = setup.startsWith("cancel");
        fx::Collection games = managerCollection({{"listfull-delay-ms", cancel ? "200" : "0", ""}});
        games.games.push_back(fx::makeGame("-cc", "Opción", {{"cc.1", 64}}));
        Manager m(games);
        frmGestionar& window = m.window;
        if (!archive.isEmpty() && !m.folder.exists("roms/" + archive)) {
            m.folder.archive("pacman", archive);
            QVERIFY(m.reload());
        }
        if (setup == "no list")
            m.folder.writeFile("lista.txt", "Name:     Description:\r\n");
        if (!archive.isEmpty())
            clickItem(window.ROMs, archive);
        if (!title.isEmpty())
            clickItem(window.lstJuegos, title);
        if (setup == "no list") // the label says the lookup found nothing
            QCOMPARE(window.lblArchivo->text(), "ERROR");
        if (setup == "gone")
            QFile::rename(m.folder.romPath(archive), m.folder.filePath("fuera.zip"));
        const QStringList usersFiles{"1.p", "abrir.bat", "2.p"};
        if (setup == "users files") {
            m.program.state.records.exchangeFiles = m.folder.records.filePath("exchange.json");
            for (const QString& name : usersFiles)
                m.folder.writeFile(name, "mío");
            settleExchangeFiles(m.program.state.records.exchangeFiles, m.folder.path());
        }
        m.program.dialogs.answers = {setup != "say no", cancel};
        m.program.desktop.succeed = setup != "no editor";
        m.folder.forgetEmulatorCalls();
        const QStringList before = m.folder.romNames();
        if (setup.startsWith("select")) // between the second check and the third
            connect(window.progreso, &QProgressBar::valueChanged, &window, [&](int value) {
                if (value == 3)
                    clickItem(window.ROMs, setup.section(' ', 1));
            });
        if (cancel)
            QTimer::singleShot(0, [&] {
                clickItem(window.ROMs, setup.section(' ', 1));
                clickItem(window.lstJuegos, "Tetrix");
                for (const char* name : {"lblBuscar", "lblCompara", "lblActualizar", "lblContiene",
                                         "lblArchivosJuego", "lblSalir(1)", "lblCancelar"})
                    click(&window, name);
                window.close();
                QTest::keyClick(&window, Qt::Key_Escape);
            });
        QFETCH(QString, command);
        click(&window, command);
        QTRY_VERIFY_WITH_TIMEOUT(!window.ManagerBusy, 30000);

        QVERIFY(window.isVisible());
        const QStringList& reports = m.program.desktop.openedFiles;
        QCOMPARE(reports.size(), int(setup == "no editor"));
        QTEST(messagesShown(m.program.dialogs).replaceInStrings(reports.value(0, "%1"), "%1"),
              "messages");
        QTEST(m.folder.setsAsked(), "sets");
        QCOMPARE(m.folder.romNames(), roms.isEmpty() ? before : roms);
        if (setup == "users files")
            for (const QString& name : usersFiles)
                QCOMPARE(m.folder.readFile(name), "mío");
        if (!roms.isEmpty())
            QCOMPARE(itemsOf(window.ROMs), roms);
        if (cancel) // the lookup waited for the end; the bar shows the last check of five titles
            QVERIFY(window.lblArchivo->text() == "tetrix.zip" && window.lblTotal->text() == "5" &&
                    window.lblActual->text() == QString::number(window.progreso->value()));
        QVERIFY(!window.ManagerBusy && window.Estado->isHidden() &&
                window.cursor().shape() == Qt::ArrowCursor &&
                !QFile::exists(m.folder.recordPath()));
    }

    // Another archive and game chosen while a compare's check runs: once it has ended the labels
    // show them, and the next compare acts on what the window shows.
    void choiceDuringACheck()
    {
        Manager m(managerCollection({{"verify-delay-ms", "300", ""}}));
        frmGestionar& window = m.window;
        clickItem(window.ROMs, "viejo.zip");
        clickItem(window.lstJuegos, "Come Cocos");
        m.folder.forgetEmulatorCalls();
        QTimer::singleShot(100, [&] {
            clickItem(window.ROMs, "misterio.zip");
            clickItem(window.lstJuegos, "Tetrix");
        });
        click(&window, "lblCompara");
        QTRY_VERIFY_WITH_TIMEOUT(!window.ManagerBusy, 20000);
        QCOMPARE(window.lblTitulo->text() + ' ' + window.lblArchivo->text(),
                 "ROM desconocida(misterio.zip) tetrix.zip");
        click(&window, "lblCompara");
        QTRY_VERIFY_WITH_TIMEOUT(!window.ManagerBusy, 20000);
        QCOMPARE(m.folder.setsAsked(), "pacman tetrix");
        QCOMPARE(messagesShown(m.program.dialogs),
                 (compatible +
                  QStringList{"Critical", "¡Ogh!", "No hay compatibilidad entre estas ROMs."}));
    }
};

QTEST_MAIN(FrmGestionarTest)
#include "tst_frmgestionar.moc"
