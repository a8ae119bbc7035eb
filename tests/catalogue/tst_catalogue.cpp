// The main window's game list against real emulator folders: the build and the files it
// creates, CD mode, the roms folder, the row order, a row click, and the two rebuild commands
// with the delayed rebuild.

#include "CatalogueFolder.h"
#include "app/frmCargador.h"
#include "input/KeyNameTable.h"
#include "widgets/Colours.h"
#include "widgets/LabelButton.h"
#include "widgets/Pointer.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

QStringList rowsOf(const frmCargador& window)
{
    QStringList rows;
    for (int r = 0; r < window.lstJuegos->count(); ++r)
        rows << window.lstJuegos->item(r)->text();
    return rows;
}

// The classic six-archive example: four known titles, two unknown archives.
const QList<Game> sixGames{{"a", "Delta"}, {"c", "Alpha"}, {"e", "Charlie"}, {"f", "Bravo"}};
const QStringList sixArchives{"a.zip", "b.zip", "c.zip", "d.zip", "e.zip", "f.zip"};
const QStringList sixRows{
    "Alpha", "Bravo", "Charlie", "Delta", "ROM desconocida(d.zip)", "ROM desconocida(b.zip)"};

const QString readOnlyMessage =
    QStringLiteral("Se ha producido un error, comprueba si el archivo 'Lista.txt' está cómo "
                   "sólo lectura ya que si es así es imposible seguir.");

} // namespace

// Notes what the window shows at one moment, for looking inside a wait for the emulator.
class StatusProbe : public QObject {
    Q_OBJECT

public:
    explicit StatusProbe(const frmCargador& window)
        : window_(window)
    {
    }

    QString caption;
    QColor colour;
    bool hourglass = false;

public slots:
    void record()
    {
        caption = window_.statusCaption();
        colour = window_.statusColour();
        hourglass = hourglassShown();
    }

private:
    const frmCargador& window_;
};

class CatalogueTest : public QObject {
    Q_OBJECT

private slots:
    void startUpCreatesTheMissingFilesAndOpensOnTheList()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, sixGames);
        addArchives(folder, sixArchives);
        Program program(folder.path());
        frmCargador window(program.context);
        QVERIFY(window.Form_Load());

        QCOMPARE(folder.readFile("all.bat"), QByteArray("mame -listfull > lista.txt\r\n"));
        QCOMPARE(folder.readFile("lista.txt"), gameListText(sixGames));
        QVERIFY(
            folder.readFile("Zefrin.tlc").startsWith("[teclas]\r\n\r\n\r\nt43 = KEYCODE_A\r\n"));
        QCOMPARE(emulatorRuns(folder), 1);
        QCOMPARE(rowsOf(window), sixRows);
        QCOMPARE(window.ROMTemporal, (QList<int>{2, 5, 4, 0, 3, 1}));
        QVERIFY(!hourglassShown());
        QVERIFY(program.dialogs.shown.isEmpty());
    }

    void statusWhileTheEmulatorWritesTheList()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, sixGames);
        folder.writeFile("delay.txt", "0.6");
        Program program(folder.path());
        frmCargador window(program.context);
        StatusProbe probe(window);
        QTimer::singleShot(200, &probe, &StatusProbe::record);
        window.CargarDatos();

        QCOMPARE(probe.caption, QStringLiteral("Creando lista de juegos."));
        QCOMPARE(probe.colour, Colours::statusRed());
        QVERIFY(probe.hourglass);
        QCOMPARE(window.statusCaption(), QStringLiteral("Lista cargada."));
        QCOMPARE(window.statusColour(), Colours::statusGreen());
        QVERIFY(!hourglassShown());
        QVERIFY(!window.Timer1.isActive());
    }

    void cdModeWithoutGeneratedFilesEndsTheProgram_data()
    {
        QTest::addColumn<QString>("missing");
        QTest::newRow("all.bat") << "all.bat";
        QTest::newRow("lista.txt") << "lista.txt";
        QTest::newRow("Zefrin.tlc") << "Zefrin.tlc";
    }

    void cdModeWithoutGeneratedFilesEndsTheProgram()
    {
        QFETCH(QString, missing);
        EmulatorFolder folder;
        installListingEmulator(folder, sixGames);
        addArchives(folder, sixArchives);
        for (const QString name : {"all.bat", "lista.txt", "Zefrin.tlc"}) {
            if (name != missing)
                folder.writeFile(name, "kept\r\n");
        }
        Program program(folder.path());
        program.state.CdMode = true;
        frmCargador window(program.context);
        window.CargarDatos();

        QVERIFY(program.programExit.ended);
        QCOMPARE(program.dialogs.shown.size(), 1);
        const ShownMessage& shown = program.dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::Critical);
        QCOMPARE(shown.title, QStringLiteral("Error Crítico."));
        QCOMPARE(shown.text,
                 QStringLiteral("Estás ejecutando el Zefrin des de una unidad de CD, y no se han "
                                "encontrado los archivos necesarios para su funcionamiento, ya "
                                "que Zefrin los crearía de forma automática , pero en una unidad "
                                "de sólo lectura es imposible.\r\nSi quieres ejecutar Zefrin "
                                "desde un CD-ROM deberás al menos ejecutarlo una vez con el "
                                "M.A.M.E que vas a copiar al CD, para que genere los archivos "
                                "necesarios."));
        QVERIFY2(!folder.exists(missing), "nothing is written on a CD");
        QCOMPARE(emulatorRuns(folder), 0);
        QCOMPARE(window.lstJuegos->count(), 0);
    }

    void cdModeWithGeneratedFilesShowsTheList()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, {});
        addArchives(folder, sixArchives);
        folder.writeFile("lista.txt", gameListText(sixGames));
        folder.writeFile("all.bat", "mame -listfull > lista.txt\r\n");
        QVERIFY(CrearTablaTeclas(folder.path()));
        Program program(folder.path());
        program.state.CdMode = true;
        frmCargador window(program.context);
        window.CargarDatos();

        QVERIFY(!program.programExit.ended);
        QVERIFY(program.dialogs.shown.isEmpty());
        QCOMPARE(rowsOf(window), sixRows);
    }

    void existingFilesAreKeptAndTheEmulatorNotRun()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, {});
        addArchives(folder, sixArchives);
        const QByteArray table = "[teclas]\r\nt43 = KEYCODE_Z\r\n";
        folder.writeFile("Zefrin.tlc", table);
        folder.writeFile("all.bat", "echo mine\r\n");
        folder.writeFile("lista.txt", gameListText(sixGames));
        Program program(folder.path());
        frmCargador window(program.context);
        window.CargarDatos();

        QCOMPARE(folder.readFile("Zefrin.tlc"), table);
        QCOMPARE(folder.readFile("all.bat"), QByteArray("echo mine\r\n"));
        QCOMPARE(folder.readFile("lista.txt"), gameListText(sixGames));
        QCOMPARE(emulatorRuns(folder), 0);
        QCOMPARE(rowsOf(window), sixRows);
    }

    void archivesOfTheRomsFolder()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, {});
        folder.writeFile(
            "lista.txt",
            gameListText(
                {{"game", "Game"}, {"x.y.z", "Dots"}, {"j\u00fcego", "Juego"}, {"C D", "Spaced"}}));
        addArchives(folder,
                    {"b.zip", "a.zip", "A.zip", "C D.zip", "it's.zip", "x.y.z.zip", "GAME.ZIP",
                     "j\u00fcego.Zip", "notes.txt", "zip", "a.zip.bak", ".hidden.zip"});
        folder.makeFolder("roms/folder.zip");
        folder.makeFolder("roms/sub");
        Program program(folder.path());
        frmCargador window(program.context);
        window.CargarDatos();

        QCOMPARE(window.ROMs, (QStringList{"A.zip", "a.zip", "b.zip", "C D.zip", "GAME.ZIP",
                                           "it's.zip", "j\u00fcego.Zip", "x.y.z.zip"}));
        QCOMPARE(rowsOf(window), (QStringList{"Dots", "Game", "Juego", "Spaced",
                                              "ROM desconocida(A.zip)", "ROM desconocida(it's.zip)",
                                              "ROM desconocida(b.zip)", "ROM desconocida(a.zip)"}));
        for (int row = 0; row < window.lstJuegos->count(); ++row) {
            const QString archive = window.ROMs.at(window.ROMTemporal.at(row));
            const QString title = rowsOf(window).at(row);
            QVERIFY2(!title.startsWith("ROM desconocida(") ||
                         title == "ROM desconocida(" + archive + ")",
                     qPrintable(title));
        }
    }

    void listOrFolderMissingOrUnreadable_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("no roms folder") << "no roms" << QStringList();
        QTest::newRow("roms holds only folders and other files") << "folders" << QStringList();
        QTest::newRow("unreadable game list") << "list folder" << QStringList();
        QTest::newRow("empty game list")
            << "empty list" << QStringList{"ROM desconocida(b.zip)", "ROM desconocida(a.zip)"};
        QTest::newRow("emulator missing")
            << "no emulator" << QStringList{"ROM desconocida(b.zip)", "ROM desconocida(a.zip)"};
    }

    void listOrFolderMissingOrUnreadable()
    {
        QFETCH(QString, damage);
        QFETCH(QStringList, rows);
        EmulatorFolder folder;
        if (damage != "no emulator") {
            installListingEmulator(folder, {{"a", "Alpha"}});
            folder.writeFile("lista.txt", gameListText({{"a", "Alpha"}}));
        }
        if (damage == "no roms") {
            QVERIFY(QDir(folder.filePath("roms")).removeRecursively());
        } else if (damage == "folders") {
            folder.makeFolder("roms/a.zip");
            folder.makeFolder("roms/b.ZIP");
            addArchives(folder, {"readme.txt"});
        } else {
            addArchives(folder, {"a.zip", "b.zip"});
        }
        if (damage == "list folder") {
            QVERIFY(QFile::remove(folder.filePath("lista.txt")));
            folder.makeFolder("lista.txt");
        } else if (damage == "empty list") {
            folder.writeFile("lista.txt", QByteArray());
        }
        Program program(folder.path());
        frmCargador window(program.context);
        window.CargarDatos();

        QCOMPARE(rowsOf(window), rows);
        QCOMPARE(window.ROMTemporal.size(), rows.size());
        QCOMPARE(window.statusCaption(), QStringLiteral("Lista cargada."));
        QCOMPARE(window.statusColour(), Colours::statusGreen());
        QVERIFY(program.dialogs.shown.isEmpty());
    }

    void fillGameListSortsTheRowsShown()
    {
        EmulatorFolder folder;
        Program program(folder.path());
        frmCargador window(program.context);
        window.lstJuegos->addItems({"Same", "Other", "Same"});
        window.FillGameList();
        QCOMPARE(rowsOf(window), (QStringList{"Other", "Same", "Same"}));
        QCOMPARE(window.ROMTemporal, (QList<int>{1, 2, 0}));
    }

    void rowClickShowsTheArchiveBehindTheRow()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, sixGames);
        addArchives(folder, sixArchives);
        Program program(folder.path());
        frmCargador window(program.context);
        window.CargarDatos();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QStringList archives{"c.zip", "f.zip", "e.zip", "a.zip", "d.zip", "b.zip"};
        for (int row = 0; row < archives.size(); ++row) {
            QListWidgetItem* item = window.lstJuegos->item(row);
            window.lstJuegos->scrollToItem(item);
            QTest::mouseClick(window.lstJuegos->viewport(), Qt::LeftButton, {},
                              window.lstJuegos->visualItemRect(item).center());
            QCOMPARE(window.lstJuegos->currentRow(), row);
            QCOMPARE(window.lstJuegos->toolTip(),
                     "Nombre del archivo zip de la ROM: \"" + archives.at(row) + "\"");
            QCOMPARE(window.statusCaption(), QStringLiteral("Haz doble clic para cargar la ROM."));
            QCOMPARE(window.statusColour(), Colours::statusTeal());
        }
        window.CargarDatos();
        QCOMPARE(window.lstJuegos->toolTip(),
                 QStringLiteral("Nombre del archivo zip de la ROM: \"b.zip\""));
    }

    void rowChosenWithTheKeyboardShowsItsArchiveToo()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, sixGames);
        addArchives(folder, sixArchives);
        Program program(folder.path());
        frmCargador window(program.context);
        window.CargarDatos();
        window.lstJuegos->setCurrentRow(0);
        QTest::keyClick(window.lstJuegos, Qt::Key_Down);
        QCOMPARE(window.lstJuegos->currentRow(), 1);
        QCOMPARE(window.lstJuegos->toolTip(),
                 QStringLiteral("Nombre del archivo zip de la ROM: \"f.zip\""));
        QTest::keyClick(window.lstJuegos, Qt::Key_End);
        QCOMPARE(window.lstJuegos->toolTip(),
                 QStringLiteral("Nombre del archivo zip de la ROM: \"b.zip\""));
        QCOMPARE(window.statusCaption(), QStringLiteral("Haz doble clic para cargar la ROM."));
    }

    void enterOnTheListActsAsADoubleClick()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, {});
        folder.writeFile("lista.txt", gameListText({}));
        addArchives(folder, {"x.zip"});
        Program program(folder.path());
        frmCargador window(program.context);
        window.CargarDatos();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint row = window.lstJuegos->visualItemRect(window.lstJuegos->item(0)).center();
        QTest::mouseClick(window.lstJuegos->viewport(), Qt::LeftButton, {}, row);

        QTest::keyClick(window.lstJuegos, Qt::Key_Return);
        const QList<ShownMessage> afterEnter = program.dialogs.shown;
        const int runsAfterEnter = emulatorRuns(folder);
        QVERIFY2(!afterEnter.isEmpty(), "an unknown archive's row is refused with a message");
        program.dialogs.shown.clear();
        QTest::mouseDClick(window.lstJuegos->viewport(), Qt::LeftButton, {}, row);

        QCOMPARE(program.dialogs.shown.size(), afterEnter.size());
        for (int k = 0; k < afterEnter.size(); ++k) {
            QCOMPARE(program.dialogs.shown.at(k).title, afterEnter.at(k).title);
            QCOMPARE(program.dialogs.shown.at(k).text, afterEnter.at(k).text);
        }
        QCOMPARE(emulatorRuns(folder), 2 * runsAfterEnter);
    }

    void commandsAreIgnoredWhileTheEmulatorIsBusy()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, sixGames);
        addArchives(folder, sixArchives);
        Program program(folder.path());
        frmCargador window(program.context);
        window.CargarDatos();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QByteArray list = folder.readFile("lista.txt");
        window.setStatus("busy", Colours::statusDarkBlue());
        addArchives(folder, {"g.zip"});
        program.state.EmulatorBusy = true;

        QTest::mouseClick(window.lstJuegos->viewport(), Qt::LeftButton, {},
                          window.lstJuegos->visualItemRect(window.lstJuegos->item(0)).center());
        QTest::mouseClick(window.lblDirectorio, Qt::LeftButton);
        QTest::mouseClick(window.lblLista, Qt::LeftButton);

        QCOMPARE(window.statusCaption(), QStringLiteral("busy"));
        QVERIFY(window.lstJuegos->toolTip().isEmpty());
        QCOMPARE(window.ROMs, sixArchives);
        QCOMPARE(folder.readFile("lista.txt"), list);
        QVERIFY(!window.Timer1.isActive());
        QVERIFY(!hourglassShown());
    }

    void updateRomsRereadsTheFolderOnly()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, {});
        folder.writeFile("lista.txt", gameListText(sixGames));
        addArchives(folder, {"a.zip"});
        Program program(folder.path());
        frmCargador window(program.context);
        window.CargarDatos();
        QCOMPARE(rowsOf(window), QStringList{"Delta"});

        addArchives(folder, {"c.zip", "zz.zip"});
        QTest::mouseClick(window.lblDirectorio, Qt::LeftButton);
        QCOMPARE(rowsOf(window), (QStringList{"Alpha", "Delta", "ROM desconocida(zz.zip)"}));
        QCOMPARE(folder.readFile("lista.txt"), gameListText(sixGames));
        QCOMPARE(emulatorRuns(folder), 0);
        QCOMPARE(window.statusCaption(), QStringLiteral("Lista cargada."));
    }

    void updateListDeletesTheListAndRebuildsTwoSecondsLater()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, {{"a", "Old Title"}});
        addArchives(folder, {"a.zip"});
        Program program(folder.path());
        frmCargador window(program.context);
        window.CargarDatos();
        QCOMPARE(rowsOf(window), QStringList{"Old Title"});
        setListedGames(folder, {{"a", "New Title"}});

        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(window.lblLista, Qt::LeftButton);
        QVERIFY(!folder.exists("lista.txt"));
        QCOMPARE(window.statusCaption(), QStringLiteral("Borrando lista antigua."));
        QCOMPARE(window.statusColour(), Colours::statusRed());
        QCOMPARE(window.TimerTicks, 6);
        QVERIFY(window.Timer1.isActive());
        QVERIFY(hourglassShown());

        QTest::qWait(500);
        QCOMPARE(window.TimerTicks, 7);
        QCOMPARE(window.statusCaption(), QStringLiteral("Borrando lista antigua."));
        QTRY_COMPARE_WITH_TIMEOUT(window.statusCaption(), QStringLiteral("Lista cargada."), 10000);
        QVERIFY2(clock.elapsed() >= 1900, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(rowsOf(window), QStringList{"New Title"});
        QCOMPARE(emulatorRuns(folder), 2);
        QVERIFY(!window.Timer1.isActive());
        QVERIFY(!hourglassShown());
    }

    void pendingRebuildWaitsForARunningGame()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, {{"a", "Old Title"}});
        addArchives(folder, {"a.zip"});
        Program program(folder.path());
        frmCargador window(program.context);
        window.CargarDatos();
        QTest::mouseClick(window.lblLista, Qt::LeftButton);
        program.state.EmulatorBusy = true;
        window.setStatus("Cargando", Colours::statusRed());
        QTest::qWait(3500);
        QCOMPARE(window.statusCaption(), QStringLiteral("Cargando"));
        QCOMPARE(emulatorRuns(folder), 1);
        QVERIFY(window.Timer1.isActive());
        program.state.EmulatorBusy = false;
        QTRY_COMPARE_WITH_TIMEOUT(window.statusCaption(), QStringLiteral("Lista cargada."), 5000);
        QCOMPARE(emulatorRuns(folder), 2);
    }

    void updateListWithoutAListRebuildsAtOnce()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, {{"a", "Alpha"}});
        addArchives(folder, {"a.zip"});
        Program program(folder.path());
        frmCargador window(program.context);
        window.setStatus("before", Colours::statusTeal());
        QTest::mouseClick(window.lblLista, Qt::LeftButton);

        QCOMPARE(rowsOf(window), QStringList{"Alpha"});
        QCOMPARE(window.statusCaption(), QStringLiteral("Lista cargada."));
        QVERIFY(!window.Timer1.isActive());
        QCOMPARE(emulatorRuns(folder), 1);
    }

    void listThatCannotBeDeletedShowsTheMessage_data()
    {
        QTest::addColumn<bool>("asFolder");
        QTest::newRow("read-only file") << false;
        QTest::newRow("folder with content") << true;
    }

    void listThatCannotBeDeletedShowsTheMessage()
    {
        QFETCH(bool, asFolder);
        EmulatorFolder folder;
        installListingEmulator(folder, {});
        addArchives(folder, sixArchives);
        if (asFolder) {
            folder.writeFile("lista.txt/inside", "x");
        } else {
            folder.writeFile("lista.txt", gameListText(sixGames));
            QVERIFY(QFile::setPermissions(folder.filePath("lista.txt"),
                                          QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        Program program(folder.path());
        frmCargador window(program.context);
        window.CargarDatos();
        const QStringList rows = rowsOf(window);
        QTest::mouseClick(window.lblLista, Qt::LeftButton);

        QCOMPARE(program.dialogs.shown.size(), 1);
        const ShownMessage& shown = program.dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::Critical);
        QCOMPARE(shown.title, QStringLiteral("Error."));
        QCOMPARE(shown.text, readOnlyMessage);
        QVERIFY(folder.exists("lista.txt"));
        QCOMPARE(rowsOf(window), rows);
        QCOMPARE(window.statusCaption(), QStringLiteral("Lista cargada."));
        QVERIFY(!window.Timer1.isActive());
        QVERIFY(!hourglassShown());
    }

    void aBuildCancelsThePendingRebuild()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, sixGames);
        addArchives(folder, sixArchives);
        folder.writeFile("lista.txt", gameListText(sixGames));
        Program program(folder.path());
        frmCargador window(program.context);
        window.CargarDatos();

        QTest::mouseClick(window.lblLista, Qt::LeftButton);
        QTest::mouseClick(window.lblDirectorio, Qt::LeftButton);
        QCOMPARE(emulatorRuns(folder), 1);
        QCOMPARE(rowsOf(window), sixRows);
        QVERIFY(!window.Timer1.isActive());
        QTest::qWait(2500);
        QCOMPARE(emulatorRuns(folder), 1);
        QCOMPARE(window.statusCaption(), QStringLiteral("Lista cargada."));
    }

    void aSecondBuildDuringTheWaitIsIgnored()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, sixGames);
        addArchives(folder, sixArchives);
        folder.writeFile("delay.txt", "0.5");
        Program program(folder.path());
        frmCargador window(program.context);
        QTimer::singleShot(100, window.lblDirectorio, &LabelButton::clicked);
        QTimer::singleShot(150, window.lblLista, &LabelButton::clicked);
        window.CargarDatos();

        QCOMPARE(emulatorRuns(folder), 1);
        QCOMPARE(rowsOf(window), sixRows);
        QVERIFY(folder.exists("lista.txt"));
        QVERIFY(!window.Timer1.isActive());
    }

    void noCapOnTheNumberOfArchives()
    {
        EmulatorFolder folder;
        installListingEmulator(folder, {});
        folder.writeFile("lista.txt", gameListText({{"g00000", "First"}, {"g40000", "Last"}}));
        QStringList names;
        for (int k = 0; k <= 40000; ++k)
            names << QStringLiteral("g%1.zip").arg(k, 5, 10, QLatin1Char('0'));
        addArchives(folder, names);
        Program program(folder.path());
        frmCargador window(program.context);
        window.CargarDatos();

        QCOMPARE(window.lstJuegos->count(), 40001);
        QCOMPARE(window.lstJuegos->item(0)->text(), QStringLiteral("First"));
        QCOMPARE(window.lstJuegos->item(1)->text(), QStringLiteral("Last"));
        QCOMPARE(window.ROMTemporal.at(1), 40000);
        QList<int> sorted = window.ROMTemporal;
        std::sort(sorted.begin(), sorted.end());
        for (int k = 0; k <= 40000; ++k)
            QCOMPARE(sorted.at(k), k);
    }
};

QTEST_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
