// The ROM manager window as a user meets it: its two lists, the guard that keeps one command
// at a time, and every command run through its buttons against the stand-in.

#include "ManagerFolder.h"
#include "engine/catalogue/GameList.h"
#include "gui/app/frmCargador.h"
#include "gui/widgets/LabelButton.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTextDocumentFragment>

#include <functional>

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

// A label's text as it shows it: text that looks like markup is read as such unless the label
// is told it is plain.
QString shownText(const QLabel* label)
{
    const QString text = label->text();
    const bool markup = label->textFormat() == Qt::RichText ||
                        (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    return markup ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

// Runs `step` once the ROM manager is open and showing, modally.
void onceManagerOpens(const std::function<void(frmGestionar&)>& step)
{
    QTimer::singleShot(10, [step] {
        if (auto* manager = qobject_cast<frmGestionar*>(QApplication::activeModalWidget()))
            step(*manager);
        else
            onceManagerOpens(step);
    });
}

} // namespace

class FrmGestionarTest : public QObject {
    Q_OBJECT

private slots:
    void loadingAndLookups()
    {
        Manager m;
        frmGestionar& window = m.window;
        QVERIFY(m.loaded);
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
        // An emulator that fails leaves the game list empty, and nothing is said.
        m.folder.writeFile("mame", "#!/bin/sh\nexit 1\n");
        QVERIFY(m.reload() && window.lstJuegos->count() == 0 && m.program.dialogs.shown.isEmpty());
    }

    // Alphabetical without regard to letter case, accented letters beside their plain ones,
    // titles that collate alike by character codes: never in the file's order.
    void gameListOrder_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("titles"); // in the file's order
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("Spanish") << QLocale(QLocale::Spanish, QLocale::Spain)
                                 << QStringList{"zebra",      "Barco", "Árbol", "barco", "",
                                                "Arcade  1 ", "ñu",    "nube",  "BARCO"}
                                 << QStringList{"",      "Árbol", "Arcade  1 ", "BARCO", "Barco",
                                                "barco", "nube",  "ñu",         "zebra"};
        QTest::newRow("C") << QLocale::c()
                           << QStringList{"zumbador", "Barco", "el Castillo", "Águila"}
                           << QStringList{"Águila", "Barco", "el Castillo", "zumbador"};
    }

    void gameListOrder()
    {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, titles);
        // The heading, and lines too short to hold a title, give none.
        QStringList file{"Name:     Description:", "corto", "exactly12c"};
        for (const QString& title : titles)
            file << "s         \"" + title + '"';
        QTEST(managerTitles(gameLinesOf(file), Dialect::Classic, locale), "sorted");
        std::reverse(file.begin() + 1, file.end());
        QTEST(managerTitles(gameLinesOf(file), Dialect::Classic, locale), "sorted");
    }

    // Each command on the selections: the messages it shows, the sets it asks the stand-in
    // about, the reports it opens, and roms afterwards. None leaves the window busy or a record
    // behind. While a search waits for the emulator the window's events flow: every command but
    // the cancel does nothing, and the window cannot be left; a confirmed cancel stops the
    // search once the running check is done, and that check takes up a new selection.
    void commands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("archive");      // selected in ROMs; empty: none
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
        const char *compare = "lblCompara", *search = "lblBuscar";
        const QStringList unknown{
            "Critical", "¡No!",
            "El juego seleccionado no figura en la lista de juegos de M.A.M.E (lista.txt), así "
            "que no se sabe qué archivo le corresponde. Vuelve a seleccionar el juego en la "
            "lista."};
        const QStringList pacman = update("viejo.zip", "Come Cocos(pacman.zip)");
        const QStringList cancelling = searchAsked + cancelAsked;
        const QStringList foundPacman = searchAsked + searchFound("Come Cocos");
        // For printf: lines that name no set, or leave roms, are not checked; names and titles
        // are trimmed.
        const QString oddList = "list: heading\\n\\n          \"Sin nombre\"\\n../x      "
                                "\"Fuera\"\\ntenletters\"Diez\"\\nab\\n  pacman  \" Come Cocos \"";
        row("compare: compatible", compare, "viejo.zip", "Come Cocos", "", compatible, "pacman");
        row("compare: own game", compare, "galaga.zip", "Galaga Espacial", "", compatible,
            "galaga");
        row("compare: not compatible", compare, "viejo.zip", "Tetrix", "",
            {"Critical", "¡Ogh!", "No hay compatibilidad entre estas ROMs."}, "tetrix");
        row("compare: game's archive there", compare, "viejo.zip", "Galaga Espacial", "",
            {"Critical", "No es posible la comparación",
             "No puedes comparar la ROM con el juego seleccionado mientras exista un archivo de "
             "ROM para este."});
        row("compare: game not in the list", compare, "viejo.zip", "Come Cocos", "no list",
            unknown);
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
            unknown);
        // galaga's archive is there: galaga is never tried.
        row("search: found", search, "viejo.zip", "", "", foundPacman, "-listfull pacman");
        row("search: nothing", search, "misterio.zip", "", "", searchAsked + nothingFound,
            "-listfull pacman dkong tetrix");
        row("search: answered no", search, "viejo.zip", "", "say no", searchAsked);
        row("search: archive locked", search, "viejo.zip", "", "locked",
            searchAsked + QStringList{"Critical", "Error",
                                      "No se puede cambiar el nombre del archivo viejo.zip: la "
                                      "carpeta roms o el archivo son de sólo lectura o están "
                                      "bloqueados. No se ha modificado nada."},
            "-listfull");
        row("search: archive gone", search, "viejo.zip", "", "gone",
            searchAsked + QStringList{"Critical", "No es posible continuar",
                                      "El archivo viejo.zip ha sido borrado o movido de la "
                                      "carpeta roms."},
            "-listfull", {"galaga.zip", "misterio.zip", "mono.zip"});
        row("search: odd game list", search, "viejo.zip", "", oddList, foundPacman,
            "tenletters ab pacman");
        row("search: cancelled", search, "misterio.zip", "", "cancel yes misterio.zip",
            cancelling + searchCancelled, "-listfull");
        row("search: cancel not confirmed", search, "misterio.zip", "", "cancel no misterio.zip",
            cancelling + nothingFound, "-listfull pacman dkong tetrix");
        row("search: a new selection before the third check", search, "misterio.zip", "",
            "select mono.zip", searchAsked + searchFound("Donkey Kong"), "-listfull pacman dkong");
        row("search: cancelled, the running check finds it", search, "misterio.zip", "",
            "cancel yes galaga.zip", cancelling + searchFound("Galaga Espacial"),
            "-listfull galaga");
        const QStringList notOpened{"Critical", "Error",
                                    "No se ha podido abrir el informe en el editor de textos. "
                                    "Puedes leerlo en %1 mientras Zefrin! siga abierto."};
        const char* archiveSets = "roms/viejo.zip viejo viejo roms/viejo.zip";
        row("game report, no editor", "lblArchivosJuego", "", "Tetrix", "no editor", notOpened,
            "tetrix");
        row("archive report", "lblContiene", "viejo.zip", "", "report", {}, archiveSets);
    }

    void commands()
    {
        QFETCH(QString, archive);
        QFETCH(QString, title);
        QFETCH(QString, setup);
        QFETCH(QStringList, roms);
        const bool cancel = setup.startsWith("cancel");
        Manager m(managerCollection({{"listfull-delay-ms", cancel ? "200" : "0", ""}}));
        frmGestionar& window = m.window;
        if (setup == "no list")
            m.folder.writeFile("lista.txt", "Name:     Description:\r\n");
        else if (setup.startsWith("list: ")) // the game list a new all.bat writes
            m.folder.writeFile("all.bat", "printf '" + setup.mid(6).toUtf8() + "' > lista.txt\r\n");
        if (!archive.isEmpty())
            clickItem(window.ROMs, archive);
        if (!title.isEmpty())
            clickItem(window.lstJuegos, title);
        if (setup == "gone")
            QFile::rename(m.folder.romPath(archive), m.folder.filePath("fuera.zip"));
        const auto lock = setup == "locked" ? immutable(m.folder.romPath(archive)) : nullptr;
        if (setup == "locked" && !lock)
            QSKIP("chattr +i is not available here");
        m.program.dialogs.answers = {setup != "say no", setup.startsWith("cancel yes")};
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
                clickItem(window.ROMs, setup.section(' ', 2));
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
        QCOMPARE(reports.size(), setup == "report" || setup == "no editor" ? 1 : 0);
        QTEST(messagesShown(m.program.dialogs).replaceInStrings(reports.value(0, "%1"), "%1"),
              "messages");
        QTEST(m.folder.setsAsked(), "sets");
        QCOMPARE(m.folder.romNames(), roms.isEmpty() ? before : roms);
        if (!roms.isEmpty())
            QCOMPARE(itemsOf(window.ROMs), roms);
        if (cancel) // the lookup waited too; the bar shows the last check of four titles
            QVERIFY(window.lblArchivo->text().isEmpty() && window.lblTotal->text() == "4" &&
                    window.lblActual->text() == QString::number(window.progreso->value()));
        QVERIFY(!window.ManagerBusy && !window.SearchRunning && window.Estado->isHidden() &&
                window.cursor().shape() == Qt::ArrowCursor &&
                !QFile::exists(m.folder.recordPath()));
    }

    // Archives and games of any name are listed and named as they are. Compare, the two reports
    // and the search hand a name to the emulator only when it gets that very name and reads it
    // as a set; otherwise the command says which name and nothing runs. The search passes over
    // such a game. The archive holds pacman's files; "-cc" is the first game of the list. (Which
    // names can be handed on is pinned name by name with the main list.)
    void namesTheEmulatorCannotBeHanded_data()
    {
        QTest::addColumn<QByteArray>("file"); // the archive's name in roms, as bytes
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("sets"); // asked about, in order
        const QStringList found = searchAsked + searchFound("Come Cocos");
        const auto refused = [](const QString& name) {
            return QStringList{
                "Critical", "¡No!",
                "No se puede comprobar ni consultar el archivo " + name +
                    " porque su nombre no se puede pasar tal cual a M.A.M.E: empieza por un "
                    "guion, no tiene nada antes de la extensión, lleva un salto de línea o tiene "
                    "letras que el sistema no sabe leer (como las de discos antiguos, escritas "
                    "en otra codificación). No se ha modificado nada."};
        };
        QTest::newRow("markup") << QByteArray("pac<i>man.zip") << "Come Cocos" << compatible + found
                                << "pacman roms/pac<i>man.zip pac<i>man pac<i>man "
                                   "roms/pac<i>man.zip pacman -listfull pacman";
        const QStringList no = refused("dos\r\nlíneas.zip");
        QTest::newRow("CR LF") << QByteArray("dos\r\nlíneas.zip") << "Come Cocos" << no + no + no
                               << "pacman";
        QTest::newRow("a game named as an option")
            << QByteArray("viejo.zip") << "Opción"
            << refused("-cc.zip") + refused("-cc.zip") + found
            << "roms/viejo.zip viejo viejo roms/viejo.zip -listfull pacman";
    }

    void namesTheEmulatorCannotBeHanded()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, title);
        fx::Collection games = managerCollection();
        games.games.insert(games.games.begin(), fx::makeGame("-cc", "Opción", {{"cc.1", 64}}));
        Manager m(games);
        QVERIFY(fx::writeGoodArchive(*fx::findGame(games, "pacman"),
                                     QFile::encodeName(m.folder.filePath("roms/")).toStdString() +
                                         file.toStdString()));
        frmGestionar& window = m.window;
        QVERIFY(m.reload());
        const QString name = QFile::decodeName(file);
        clickItem(window.ROMs, name);
        QCOMPARE(shownText(window.lblTitulo), "ROM desconocida(" + name + ')');
        clickItem(window.lstJuegos, title);
        const QStringList before = m.folder.romNames();
        m.folder.forgetEmulatorCalls();
        m.program.dialogs.answers = {true};
        for (const char* command : {"lblCompara", "lblContiene", "lblArchivosJuego", "lblBuscar"}) {
            click(&window, command);
            QTRY_VERIFY(!window.ManagerBusy);
        }

        QTEST(messagesShown(m.program.dialogs), "messages");
        QTEST(m.folder.setsAsked(), "sets");
        QCOMPARE(m.folder.romNames(), before);
        QVERIFY(!m.folder.exists("mame.ini") && !QFile::exists(m.folder.recordPath()));
    }

    // The main window's command: a modal window over it while the emulator counts as busy, and
    // its game list rebuilt afterwards, for the archives may have new names. (That it opens
    // nothing while the emulator is busy is pinned with the game list's build.)
    void openedFromTheMainWindow()
    {
        Manager m;
        m.window.hide();
        m.folder.setVersion("0.70");
        frmCargador main(m.program.context);
        QVERIFY(loadToEnd(main));
        main.show();
        m.program.dialogs.answers = {true};
        bool busy = false;
        onceManagerOpens([&](frmGestionar& window) {
            busy = window.parentWidget() == &main && main.emulatorBusy();
            clickItem(window.ROMs, "viejo.zip");
            clickItem(window.lstJuegos, "Come Cocos");
            click(&window, "lblActualizar");
            QTRY_VERIFY(!window.ManagerBusy);
            click(&window, "lblSalir(1)");
        });
        QTest::mouseClick(main.lblGestionar, Qt::LeftButton);

        QTRY_VERIFY_WITH_TIMEOUT(busy && !main.emulatorBusy() && !QApplication::activeModalWidget(),
                                 30000);
        QCOMPARE(main.lstJuegos->findItems("Come Cocos", Qt::MatchExactly).size(), 1);
    }
};

QTEST_MAIN(FrmGestionarTest)
#include "tst_frmgestionar.moc"
