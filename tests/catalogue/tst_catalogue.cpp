// The game list: lookups over lista.txt, the catalogue's rows and their order against the
// literal passes, and the main window's list built by the stand-in emulator.

#include "engine/catalogue/CatalogueOrder.h"
#include "engine/catalogue/GameCatalogue.h"
#include "engine/catalogue/GameList.h"
#include "engine/catalogue/GameListMaker.h"
#include "engine/catalogue/GeneratedFiles.h"
#include "gui/app/frmCargador.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Pointer.h"
#include "support/EmulatorFolder.h"
#include "support/Runs.h"
#include "support/SmallDisk.h"

#include <QListView>
#include <QRandomGenerator>
#include <QTextDocumentFragment>
#include <QtTest>

#include <fstream>

using namespace zefrin;
using namespace zefrin::test;

namespace {

// "mame -listfull" output with the odd lines a hand or another emulator build may leave.
const QByteArray sampleList = "Name:     Description:\r\n"
                              "abcd      \"Alpha Beta (set 1)\"\r\n"
                              "ABCD2     \"Second\"\r\n"
                              "empty     \"\"\r\n"
                              "abcd      \"Later line of abcd\"\r\n"
                              "abcdefghij\"Ten Letters\"\r\n"
                              "odd       \"Title with \"quotes\" inside\"\r\n"
                              "noquote   \"No closing X\r\n"
                              "\u00f1and\u00fa     \"\u00d1and\u00fa (Spain)\"\r\n";
// The classic example: four known games (standin.dat lines) among six archives.
const QByteArray sixGames = "game\ta\tDelta\ngame\tc\tAlpha\ngame\te\tCharlie\ngame\tf\tBravo\n";
const QByteArray sixList = "Name:     Description:\r\n"
                           "a         \"Delta\"\r\n"
                           "c         \"Alpha\"\r\n"
                           "e         \"Charlie\"\r\n"
                           "f         \"Bravo\"\r\n";
const QStringList sixArchives{"a.zip", "b.zip", "c.zip", "d.zip", "e.zip", "f.zip"};
const QStringList sixRows{
    "Alpha", "Bravo", "Charlie", "Delta", "ROM desconocida(d.zip)", "ROM desconocida(b.zip)"};
const QString unknownPrefix = QStringLiteral("ROM desconocida(");
const QString loaded = QStringLiteral("#00c000 Lista cargada.");

// The two passes exactly as the list has always been sorted, rows swapped in both lists: an
// unknown archive's row told by its title.
QList<int> literalOrder(QStringList titles)
{
    QList<int> rows;
    for (int r = 0; r < titles.size(); ++r)
        rows << r;
    for (const bool firstPass : {true, false})
        for (qsizetype i = 0; i < titles.size(); ++i)
            for (qsizetype j = i + 1; j < titles.size(); ++j)
                if (firstPass ? titles.at(i) < titles.at(j)
                              : titles.at(j).left(16) != unknownPrefix) {
                    titles.swapItemsAt(i, j);
                    rows.swapItemsAt(i, j);
                }
    return rows;
}

// An emulator folder with the stand-in emulator, which ends lines with CR LF as the emulator
// does, empty archives in roms, and the main window over it.
struct Catalogue {
    explicit Catalogue(const QByteArray& games = sixGames, const QStringList& roms = sixArchives)
    {
        folder.installEmulator();
        setGames(games);
        for (const QString& name : roms)
            folder.writeFile("roms/" + name, {});
    }
    // CargarDatos to its end, the emulator's run included.
    void build()
    {
        (void)actToSignal(&window, &frmCargador::listLoaded, [this] {
            window.CargarDatos();
            return !program.programExit.ended;
        });
    }
    void setGames(const QByteArray& g) { folder.writeFile("standin.dat", "eol\tcrlf\n" + g); }
    int emulatorRuns() const { return int(folder.readFile("standin-calls.txt").count('\n')); }
    QStringList rows() const { return shownRows(window.lstJuegos); }
    // The status line's colour and text, with the hourglass and the rebuild timer when on.
    QString state() const
    {
        return window.statusColour().name() + ' ' + window.statusCaption() +
               (hourglassShown() ? " +hourglass" : "") +
               (window.Timer1.isActive() ? " +timer" : "");
    }
    QStringList criticalMessages() const
    {
        QStringList all;
        for (const ShownMessage& shown : program.dialogs.shown)
            all << (shown.icon == Dialogs::Icon::Critical ? "" : "NOT CRITICAL ") + shown.title +
                       '|' + shown.text;
        return all;
    }

    EmulatorFolder folder;
    Program program{folder.path()};
    frmCargador window{program.context};
};

} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT

private slots:
    // A title matches without regard to letter case but otherwise exactly, and gives the name
    // with the list's capitals; without a list nothing is known.
    void lookUps()
    {
        EmulatorFolder folder;
        QVERIFY(!GameList(folder.path(), Dialect::Classic).isReadable());
        QVERIFY(!TitleForArchive(folder.path(), "abcd.zip", Dialect::Classic));
        folder.writeFile("lista.txt", sampleList);
        const QList<QPair<QString, QString>> archives{{"alpha beta (SET 1)", "abcd.zip"},
                                                      {"Alpha Beta (set 1) ", "<none>"},
                                                      {"SECOND", "ABCD2.zip"}};
        for (const auto& [title, archive] : archives)
            QCOMPARE(ArchiveForTitle(folder.path(), title, Dialect::Classic).value_or("<none>"),
                     archive);
        // Names compare in the user's capitals: Turkish upper-cases i to a dotted İ, so a
        // plain ASCII shortcut would match where the program must not.
        folder.writeFile("lista.txt", "Name:     Description:\r\npacmani   \"Pac-Man I\"\r\n");
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        const std::optional<QString> turkish =
            TitleForArchive(folder.path(), "PACMANI.zip", Dialect::Classic);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(turkish.value_or("<none>"), QStringLiteral("<none>"));
        QCOMPARE(TitleForArchive(folder.path(), "PACMANI.zip", Dialect::Classic).value_or(""),
                 QStringLiteral("Pac-Man I"));
    }

    // Every archive of roms has a row: its title, its archive and whether the list knows it.
    // The folder's order decides among unknown archives.
    void catalogueRowsOfTheRomsFolder()
    {
        EmulatorFolder folder;
        for (const char* name : {"ABCD.ZIP", "abcdefghij.zip", "abcdefghijk.zip", "empty.zip",
                                 "odd.zip", "noquote.zip", "A.zip", "a.zip", "\u00f1and\u00fa.Zip",
                                 "notes.txt", "zip", "a.zip.bak", ".hidden.zip"})
            folder.writeFile(QStringLiteral("roms/") + name, {});
        folder.makeFolder("roms/folder.zip");
        folder.writeFile("lista.txt", sampleList);
        GameCatalogue catalogue;
        catalogue.load(folder.path(), Dialect::Classic);
        QStringList rows;
        for (int r = 0; r < catalogue.rowCount(); ++r) {
            const QModelIndex row = catalogue.index(r);
            rows << row.data().toString() + '|' + row.data(GameCatalogue::ArchiveRole).toString() +
                        (row.data(GameCatalogue::KnownRole).toBool() ? "" : "|unknown");
        }
        QCOMPARE(rows, (QStringList{"|empty.zip", "Alpha Beta (set 1)|ABCD.ZIP",
                                    "No closing |noquote.zip", "Ten Letters|abcdefghij.zip",
                                    "Title with \"quotes\" inside|odd.zip",
                                    "\u00d1and\u00fa (Spain)|\u00f1and\u00fa.Zip",
                                    "ROM desconocida(.hidden.zip)|.hidden.zip|unknown",
                                    "ROM desconocida(abcdefghijk.zip)|abcdefghijk.zip|unknown",
                                    "ROM desconocida(a.zip)|a.zip|unknown",
                                    "ROM desconocida(A.zip)|A.zip|unknown"}));

        // A title too long to lay out shows its beginning; the row keeps it whole.
        folder.writeFile("lista.txt", "Name:\r\nabcd      \"" + QByteArray(1001, 'L') + "\"\r\n");
        catalogue.load(folder.path(), Dialect::Classic);
        QCOMPARE(catalogue.index(0).data().toString(), QString(1000, 'L') + QChar(0x2026));
        QCOMPARE(catalogue.rows().first().title, QString(1001, 'L'));
    }

    // Titles from a small alphabet repeat; among them unknown archives' titles and known ones
    // beside their prefix. Many tiny lists of two letters, then longer varied ones.
    void orderMatchesTheLiteralPassesOnRandomLists()
    {
        const QStringList awkward{
            "ROM desconocida", "ROM Desconocida(a.zip)", "ROM e", "Z", "zz", ""};
        QRandomGenerator random(20240611u);
        for (const auto& [lists, maximumRows, alphabetSize, maximumLength] :
             {std::array{4000, 9, 2, 2}, std::array{300, 200, 8, 4}}) {
            const QString letters = QStringLiteral("aAbB1 \u00e9z").left(alphabetSize);
            for (int list = 0; list < lists; ++list) {
                QStringList titles;
                QList<bool> known;
                for (int r = random.bounded(maximumRows + 1); r > 0; --r) {
                    const int kind = random.bounded(10);
                    QString title = kind < 3
                                        ? unknownPrefix + letters.at(random.bounded(alphabetSize))
                                    : kind == 3 ? awkward.at(random.bounded(awkward.size()))
                                                : QString();
                    for (int k = kind > 3 ? random.bounded(maximumLength + 1) : 0; k > 0; --k)
                        title += letters.at(random.bounded(alphabetSize));
                    titles << (kind < 3 ? title + ".zip)" : title);
                    known << (kind >= 3);
                }
                QVERIFY2(gameListOrder(titles, known) == literalOrder(titles),
                         qPrintable(titles.join('|')));
            }
        }
    }

    void buildCreatesWhatIsMissingButACdMustHaveItAll_data()
    {
        QTest::addColumn<bool>("cdMode");
        QTest::addColumn<QStringList>("missing");
        const QStringList all{"Zefrin.tlc", "all.bat", "lista.txt"};
        QTest::newRow("nothing there") << false << all;
        QTest::newRow("all there") << false << QStringList();
        QTest::newRow("CD without lista.txt") << true << QStringList{"lista.txt"};
    }

    void buildCreatesWhatIsMissingButACdMustHaveItAll()
    {
        QFETCH(bool, cdMode);
        QFETCH(QStringList, missing);
        Catalogue c(sixGames + "listfull-delay-ms\t600\n");
        const QMap<QString, QByteArray> files{
            {"Zefrin.tlc", "[teclas]\r\n"}, {"all.bat", "echo mine\r\n"}, {"lista.txt", sixList}};
        for (const QString& name : files.keys())
            if (!missing.contains(name))
                c.folder.writeFile(name, files[name]);
        c.program.state.CdMode = cdMode;
        const bool builds = !cdMode && missing.contains("lista.txt");
        QString during;
        QTimer::singleShot(200, &c.window, [&] { during = c.state(); });
        c.build();

        const bool ends = cdMode && !missing.isEmpty();
        for (const QString& name : files.keys())
            if (!missing.contains(name))
                QCOMPARE(c.folder.readFile(name), files[name]);
        QCOMPARE(c.emulatorRuns(), !ends && missing.contains("lista.txt") ? 1 : 0);
        QCOMPARE(c.program.programExit.ended, ends);
        QCOMPARE(c.rows(), ends ? QStringList() : sixRows);
        QVERIFY(!hourglassShown());
        if (ends) {
            QVERIFY2(!c.folder.exists(missing.first()), "nothing is written on a CD");
            QCOMPARE(c.criticalMessages(),
                     QStringList{"Error Crítico.|Estás ejecutando el Zefrin des de una unidad de "
                                 "CD, y no se han encontrado los archivos necesarios para su "
                                 "funcionamiento, ya que Zefrin los crearía de forma automática , "
                                 "pero en una unidad de sólo lectura es imposible.\r\nSi quieres "
                                 "ejecutar Zefrin desde un CD-ROM deberás al menos ejecutarlo una "
                                 "vez con el M.A.M.E que vas a copiar al CD, para que genere los "
                                 "archivos necesarios."});
            return;
        }
        QCOMPARE(c.criticalMessages(), QStringList());
        QCOMPARE(c.state(), loaded);
        if (builds) {
            QCOMPARE(during, QStringLiteral("#ff0000 Creando lista de juegos. +hourglass"));
            // Their bytes: tst_emulatorcommands and tst_controllerfiles.
            QVERIFY(c.folder.exists("all.bat") && c.folder.exists("Zefrin.tlc"));
        }
    }

    // "Actualizar lista de juegos" keeps a read-only list, with a message (one that cannot be
    // deleted: tst_readonly). No emulator, so no list is made anew (a failed one: tst_startup).
    void readOnlyListIsKept()
    {
        Catalogue c("game\ta\tAlpha\n", {"a.zip", "b.zip"});
        QVERIFY(QFile::remove(c.folder.filePath("mame")));
        c.folder.writeFile("lista.txt", "Name:     Description:\r\n");
        c.build();
        QVERIFY(QFile::setPermissions(c.folder.filePath("lista.txt"), QFile::ReadOwner));
        QTest::mouseClick(c.window.lblLista, Qt::LeftButton);
        QVERIFY2(QFile::remove(c.folder.filePath("lista.txt")), "the read-only list was kept");
        QCOMPARE(c.criticalMessages(),
                 QStringList{"Error.|Se ha producido un error, comprueba si el archivo 'Lista.txt' "
                             "está cómo sólo lectura ya que si es así es imposible seguir."});
    }

    // Today's emulator fills names to 17 and a name may be longer: the name is the first word,
    // the title what stands between the first and the last double quote. The ROM manager reads
    // the same fields.
    void todaysLayoutIsReadByItsOwnRules()
    {
        EmulatorFolder folder;
        folder.writeFile("lista.txt", "Name:             Description:\n"
                                      "pong              \"Pong (Rev E) [TTL]\"\n"
                                      "istrebiteli_sound \"Istrebiteli Sound\"\r\n"
                                      "quote             \"Title \"with\" quotes\"\n"
                                      "abcd      \"Classic Line\"\n"
                                      "noquote           \"No closing\n"
                                      "\"Sin nombre\"\n");
        const QList<QPair<QString, QString>> titles{{"ISTREBITELI_SOUND.zip", "Istrebiteli Sound"},
                                                    {"quote.zip", "Title \"with\" quotes"},
                                                    {"abcd.zip", "Classic Line"},
                                                    {"noquote.zip", "<none>"}};
        GameList list(folder.path(), Dialect::Today);
        for (const auto& [archive, title] : titles)
            QCOMPARE(list.titleForArchive(archive).value_or("<none>"), title);
        QCOMPARE(list.archiveForTitle("pong (REV E) [ttl]"), "pong.zip");
        QCOMPARE(managerTitles(*readGameLines(folder.path()), Dialect::Today, QLocale::c()),
                 (QStringList{"Classic Line", "Istrebiteli Sound", "Pong (Rev E) [TTL]",
                              "Sin nombre", "Title \"with\" quotes"}));
    }

    // "Actualizar ROMs" reads the folder again, not the emulator. "Actualizar lista de juegos"
    // deletes the list and rebuilds it two seconds later, or once the game started meanwhile has
    // ended.
    void updateCommandsWaitForNoGame()
    {
        Catalogue c;
        c.build();
        c.folder.writeFile("roms/g.zip", {});
        QTest::mouseClick(c.window.lblDirectorio, Qt::LeftButton);
        QCOMPARE(c.rows(), sixRows + QStringList{"ROM desconocida(g.zip)"});
        QCOMPARE(c.emulatorRuns(), 1);

        c.setGames(sixGames + "game\tg\tGolf\n");
        QTest::mouseClick(c.window.lblLista, Qt::LeftButton);
        const auto deleting = QStringLiteral("#ff0000 Borrando lista antigua. +hourglass +timer");
        QCOMPARE(c.state(), deleting);
        QTest::qWait(1500);
        occupy(c.program.state.emulator, 2500);
        QTest::qWait(2000);
        QCOMPARE(c.state(), deleting);
        QTRY_COMPARE_WITH_TIMEOUT(c.state(), loaded, 5000);
        QCOMPARE(c.rows(), (QStringList{"Alpha", "Bravo", "Charlie", "Delta", "Golf",
                                        "ROM desconocida(b.zip)", "ROM desconocida(d.zip)"}));
        QCOMPARE(c.emulatorRuns(), 2);
        // Without a list it builds at once; any build cancels a pending rebuild.
        QVERIFY(QFile::remove(c.folder.filePath("lista.txt")));
        QTest::mouseClick(c.window.lblLista, Qt::LeftButton);
        QTRY_VERIFY(!c.window.emulatorBusy());
        QCOMPARE(c.emulatorRuns(), 3);
        QTest::mouseClick(c.window.lblLista, Qt::LeftButton);
        QTest::mouseClick(c.window.lblDirectorio, Qt::LeftButton);
        QTest::qWait(2500);
        QCOMPARE(c.emulatorRuns(), 4);
        QCOMPARE(c.state(), loaded);
    }

    // The emulator ends with success on a list a full disk cut short: such a list is not kept
    // (a next build makes it again) and the user is told, of the full disk when it was full.
    void listCutShortIsNotKept_data()
    {
        QTest::addColumn<QByteArray>("directives");
        QTest::addColumn<bool>("fullDisk");
        QTest::newRow("classic, cut in a line") << QByteArray("listfull-cut-bytes\t60\n") << false;
        QTest::newRow("today's, cut in a line")
            << QByteArray("dialect\ttoday\nlistfull-cut-bytes\t60\n") << false;
        QTest::newRow("disk full") << QByteArray() << true;
    }

    void listCutShortIsNotKept()
    {
        QFETCH(QByteArray, directives);
        QFETCH(bool, fullDisk);
        Catalogue c;
        std::optional<SmallDisk> disk;
        QByteArray games = sixGames;
        if (fullDisk) {
            disk.emplace(c.folder.path(), 128);
            if (!disk->mounted)
                QSKIP("a small disk needs the right to mount");
            c.program.state.emulator.useEmulator(ZEFRIN_STANDIN_PATH);
            for (int i = 0; i < 3000; ++i)
                games += QByteArray("game\tg") + QByteArray::number(i) + "\tGame number " +
                         QByteArray::number(i) + '\n';
        }
        c.setGames(directives + games);
        if (directives.contains("today"))
            c.program.state.dialect = Dialect::Today;
        c.build();
        QVERIFY(!c.folder.exists("lista.txt"));
        QCOMPARE(c.criticalMessages(),
                 QStringList{"Error.|" + gameListNotMadeText(c.folder.path(), fullDisk)});
        if (fullDisk)
            QVERIFY(c.criticalMessages().first().contains("el disco está lleno"));
    }

    // A link planted under the list's name (a shared folder) is replaced by the new list, never
    // written through.
    void listPlantedAsALinkIsNotWrittenThrough()
    {
        Catalogue c;
        const QString outside = c.folder.filePath("../fuera-de-zefrin.txt");
        const auto forget = qScopeGuard([&outside] { QFile::remove(outside); });
        c.folder.writeFile("../fuera-de-zefrin.txt", "mío\n");
        QVERIFY(QFile::link(outside, c.folder.filePath("lista.txt")));
        GameListMaker maker(c.program.state.emulator, c.folder.path(),
                            c.program.state.records.gameList);
        QSignalSpy made(&maker, &GameListMaker::made);
        QVERIFY(maker.start(Dialect::Classic));
        QVERIFY(made.wait(20000));
        QCOMPARE(c.folder.readFile("../fuera-de-zefrin.txt"), QByteArray("mío\n"));
        QVERIFY(!QFileInfo(c.folder.filePath("lista.txt")).isSymLink());
        QVERIFY(c.folder.readFile("lista.txt").contains("Alpha"));
    }

    // Every archive of roms has its row, whatever its name, and its row and tool tip name it as
    // it is. Enter hands it to the emulator only when the emulator gets that very name and reads
    // it as a set; otherwise a message says why and nothing runs.
    void everyArchiveIsListedAndOnlyPassableNamesRun_data()
    {
        QTest::addColumn<QByteArray>("file"); // its name in roms, as bytes
        QTest::addColumn<QString>("row");
        QTest::addColumn<bool>("runs");
        QTest::newRow("markup") << QByteArray("pac<i>man.zip") << "Pac <i>Man</i>" << true;
        QTest::newRow("hidden") << QByteArray(".oculto.zip") << "Oculto" << true;
        QTest::newRow("Latin-1") << QByteArray("Comecocos \xf1.zip")
                                 << "ROM desconocida(Comecocos \uFFFD.zip)" << false;
        QTest::newRow("option") << QByteArray("-cc.zip") << "ROM desconocida(-cc.zip)" << false;
        QTest::newRow("no set") << QByteArray(".zip") << "ROM desconocida(.zip)" << false;
    }

    void everyArchiveIsListedAndOnlyPassableNamesRun()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, runs);
        Catalogue c("game\tpac<i>man\tPac <i>Man</i>\ngame\t.oculto\tOculto\ngame\t-cc\tOpción\n",
                    {});
        std::ofstream(QFile::encodeName(c.folder.filePath("roms/")).toStdString() +
                      file.toStdString());
        c.program.state.EmulatorVersion = InstalledVersion("0.70");
        c.build();
        const QString name = QFile::decodeName(file);
        QCOMPARE(c.program.state.catalogue.rows().value(0).archive, name);
        QTEST(c.rows().value(0), "row");

        c.window.lstJuegos->setCurrentIndex(c.program.state.catalogue.index(0));
        // The tool tip as the list shows it: a tip that looks like markup is read as such.
        const QString tip = c.window.lstJuegos->toolTip();
        QCOMPARE(Qt::mightBeRichText(tip) ? QTextDocumentFragment::fromHtml(tip).toPlainText()
                                          : tip,
                 "Nombre del archivo zip de la ROM: \"" + name + '"');
        QTest::keyClick(c.window.lstJuegos, Qt::Key_Return);
        QTRY_VERIFY(!c.window.emulatorBusy());
        const QStringList calls = QString::fromUtf8(c.folder.readFile("standin-calls.txt"))
                                      .split('\n', Qt::SkipEmptyParts);
        QCOMPARE(calls.last().section('\t', 0, 0), runs ? name.chopped(4) : "-listfull");
        QVERIFY(!c.folder.exists("mame.ini"));
        QStringList messages;
        for (const ShownMessage& shown : c.program.dialogs.shown)
            messages << shown.title << shown.text;
        const QString refusal =
            "No se puede cargar el archivo " + name +
            " porque su nombre no se puede pasar tal cual a M.A.M.E: empieza por un guion, no "
            "tiene nada antes de la extensión, lleva un salto de línea o tiene letras que el "
            "sistema no sabe leer (como las de discos antiguos, escritas en otra codificación). "
            "Cámbiale el nombre en la carpeta roms para poder cargarlo.";
        QCOMPARE(messages, runs ? QStringList() : QStringList({"¡ATENCIÓN!", refusal}));
    }
};

QTEST_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
