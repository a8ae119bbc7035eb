// Game launches from the main window, run by the stand-in emulator, and the pieces that need no
// emulator: the settings file's name and the log text.

#include "engine/launch/GameLaunch.h"
#include "engine/launch/InputMappings.h"
#include "engine/launch/KeyedSettings.h"
#include "engine/launch/LaunchLog.h"
#include "engine/launch/LaunchMessages.h"
#include "engine/services/RunRecord.h"
#include "engine/services/TextFile.h"
#include "fixture/Collection.h"
#include "gui/app/frmCargador.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Pointer.h"
#include "support/EmulatorFolder.h"
#include "support/ReadOnlyMount.h"
#include "support/Runs.h"
#include "support/SmallDisk.h"

#include <QCheckBox>
#include <QDialog>
#include <QListView>
#include <QtTest>

#include <list>

using namespace zefrin;
using namespace zefrin::test;

namespace {

const QString loading = QStringLiteral("Cargando ROM, por favor se paciente.");
const QString loaded = QStringLiteral("Ha terminado la carga.");
// Said when the settings folder cannot be changed.
const QString cfgText =
    QStringLiteral("No se puede modificar el archivo de configuraciones, compruebe que todos los "
                   "archivos de la carpeta 'cfg' dentro de la carpeta de M.A.M.E no tengan la "
                   "propiedad 'sólo lectura, de ser así Zefrin! no podrá continuar con la carga "
                   "de la ROM.");
const QByteArray ownSettings = "<user settings/>";

// A shown main window over an emulator folder with the stand-in emulator (classic, or today's),
// and a good archive and a game list line for each game added, the catalogue read anew: ready
// to launch games as a user does.
struct Rig {
    explicit Rig(bool today = false)
    {
        folder.installEmulator();
        program.state.EmulatorVersion =
            InstalledVersion(today ? QStringLiteral("0.251") : QStringLiteral("0.70"));
        if (today) {
            program.state.dialect = Dialect::Today;
            tell("dialect=today");
        }
        window.show();
    }
    void addGame(const char* name, const char* title)
    {
        games.games.push_back(fixture::makeGame(name, title, {{std::string(name) + ".1", 512}}));
        QVERIFY(fixture::writeGoodArchive(
            games.games.back(),
            folder.filePath(QStringLiteral("roms/%1.zip").arg(name)).toStdString()));
        tell({});
        list += QByteArray(name).leftJustified(10) + '"' + title + "\"\r\n";
        folder.writeFile("lista.txt", list);
        reload();
    }
    void reload() { program.state.catalogue.load(folder.path(), program.state.dialect); }
    // A behaviour of the stand-in for every game, "key=value" (fixture/Directives.h).
    void tell(const QString& directive)
    {
        if (const QStringList pair = directive.split('='); pair.size() == 2)
            games.directives.push_back({pair[0].toStdString(), pair[1].toStdString(), {}});
        QVERIFY(fixture::writeDataFile(games, folder.filePath("standin.dat").toStdString()));
    }
    // Read-only until the rig ends.
    bool lock(const QString& relative)
    {
        return locks.emplace_back(folder.filePath(relative)).readOnly;
    }
    // A mouse double click on a row, the second press sent as the window system sends it;
    // then, unless told not to, the wait for the launch to end.
    void doubleClickRow(int row, bool waitForTheEnd = true)
    {
        zefrin::test::doubleClickRow(window.lstJuegos, row);
        if (waitForTheEnd)
            QTRY_VERIFY_WITH_TIMEOUT(!window.emulatorBusy(), 60000);
    }
    QByteArray fileOrNothing(const QString& relative) const
    {
        return folder.exists(relative) ? folder.readFile(relative) : QByteArray("(none)");
    }

    EmulatorFolder folder;
    Program program{folder.path()};
    frmCargador window{program.context};
    fixture::Collection games;
    QByteArray list = "Name:     Description:\r\n";
    std::list<ReadOnlyMount> locks;
};

} // namespace

class LaunchTest : public QObject {
    Q_OBJECT

private slots:
    void doubleClickRunsTheGameWithTheWindowLocked()
    {
        Rig rig;
        rig.addGame("galaxn", "Galaxian");
        rig.addGame("pacmn", "Pac Man");
        rig.tell("run-ms=1200");
        rig.folder.writeFile("cfg/galaxn.cfg", ownSettings);
        frmCargador& window = rig.window;
        const ScratchFolder& scratch = rig.program.state.scratch;
        QStringList seen;
        QTimer::singleShot(400, &window, [&] {
            seen << (rig.window.emulatorBusy() && hourglassShown() ? "locked" : "unlocked")
                 << window.statusCaption() << window.statusColour().name();
            // Every command is refused while the emulator runs, a game or the game list alike
            // (the ROM manager would make the list anew), and so is closing the window.
            for (QWidget* command : std::initializer_list<QWidget*>{
                     window.lblGestionar, window.lblLista, window.lblDirectorio, window.lblLog,
                     window.Label1, window.chkUsaControles})
                QTest::mouseClick(command, Qt::LeftButton);
            rig.doubleClickRow(1, false);
            QTest::keyClick(window.lstJuegos, Qt::Key_Return);
            window.close();
        });
        rig.doubleClickRow(0);
        QCOMPARE(seen, QStringList({"locked", loading, "#ff0000"}));
        QVERIFY(!window.chkUsaControles->isChecked() &&
                window.lstJuegos->model()->rowCount() == 2 &&
                !rig.folder.exists("cfg/pacmn.cfg")); // the second game never ran
        QVERIFY(window.findChildren<QDialog*>().isEmpty() && rig.program.dialogs.shown.isEmpty());

        QVERIFY(window.isVisible() && !rig.window.emulatorBusy() && !hourglassShown());
        QCOMPARE(decodeSystemText(rig.program.state.LastLaunchLog),
                 "Loading \"Galaxian\" (galaxn)\r\ngalaxn: running, line 2 of 3\r\n"
                 "galaxn: running, line 3 of 3\r\n");
        QVERIFY(!QFile::exists(scratch.playScriptPath()) && !QFile::exists(scratch.logPath()));
        // With the switch off the game's own settings stay in place for the emulator to read
        // and write back, and its defaults stay too.
        QVERIFY(rig.folder.exists("cfg/default.cfg") && !rig.folder.exists("cfg/galaxn.bak") &&
                rig.folder.readFile("cfg/galaxn.cfg") == ownSettings);
    }

    void onlyAChosenKnownRowLaunches()
    {
        Rig rig;
        rig.addGame("zzgame", "Alpha");
        rig.addGame("aagame", "rom desconocida, Mi ROM desconocida");
        rig.folder.writeFile("roms/nuevo.zip", {});
        rig.reload();
        QTest::keyClick(rig.window.lstJuegos, Qt::Key_Return); // no row chosen yet
        rig.doubleClickRow(2);
        QCOMPARE(rig.program.dialogs.shown.size(), 1);
        const ShownMessage& shown = rig.program.dialogs.shown.first();
        QVERIFY(shown.icon == Dialogs::Icon::Information && shown.title == "¡ATENCIÓN!" &&
                shown.text.startsWith("La ROM que intentas ejecutar no es compatible"));
        QVERIFY(rig.program.state.LastLaunchTitle.isEmpty() && !rig.folder.exists("cfg"));
        // The catalogue orders the rows by title; each still launches its own archive, and a
        // title that only looks like an unknown archive's row is no refusal.
        rig.window.lstJuegos->setCurrentIndex(rig.program.state.catalogue.index(1));
        QTest::keyClick(rig.window.lstJuegos, Qt::Key_Return);
        QTRY_VERIFY(!rig.window.emulatorBusy());
        QVERIFY(decodeSystemText(rig.program.state.LastLaunchLog)
                    .startsWith("Loading \"rom desconocida, Mi ROM desconocida\" (aagame)"));
    }

    // "Ver  Log" says when there is nothing to show, and shows output of any size, in a
    // scrolling viewer when it is too much for a message box.
    void logViewerShowsOutputWhateverItsSize()
    {
        Rig rig;
        rig.addGame("galaxn", "Galaxian");
        rig.tell("run-megabytes=6");
        QTest::mouseClick(rig.window.lblLog, Qt::LeftButton);
        rig.doubleClickRow(0);
        const QString log = decodeSystemText(rig.program.state.LastLaunchLog);
        QVERIFY2(log.size() >= 6 * 1024 * 1024 && log.startsWith("Loading \"Galaxian\""),
                 qPrintable(log.left(200)));
        QTest::mouseClick(rig.window.lblLog, Qt::LeftButton);
        const QList<ShownMessage>& shown = rig.program.dialogs.shown;
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].title + shown[0].text, "Visor de Sucesos.No hay sucesos.");
        QCOMPARE(shown[1].title + shown[1].text,
                 "Visor de sucesos.Juego cargado: Galaxian\r\n\r\nSucesos:\r\n\r\n" + log);
        QVERIFY(!shown[0].longText && shown[1].longText);
    }

    void definedKeysMoveTheGameSettingsAsideAndNeverLoseThem_data()
    {
        // What goes wrong, if anything; the start of the error said, none for a good run.
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("withSettings");
        QTest::addColumn<QString>("message");
        QTest::newRow("same name") << "" << true << QString();
        QTest::newRow("box cleared by code meanwhile") << "untick" << true << QString();
        QTest::newRow("no game settings") << "" << false << QString();
        // A backup of the user's own, no leftover of the program's (no record says so): it
        // stays as it is, and the settings go aside under another name.
        QTest::newRow("user's own backup") << "bak" << true << QString();
        // Read-only cfg and notes otherwise: tests/drills/tst_readonly.
        QTest::newRow("default.cfg locked") << "cfg/default.cfg" << true << cfgText;
        QTest::newRow("default.cfg locked, no game settings")
            << "cfg/default.cfg" << false << "No se ha podido borrar el archivo 'default.cfg'";
        QTest::newRow("cfg locked during the run") << "cfg during" << true << cfgText;
        QTest::newRow("emulator gone") << "mame" << true << cfgText;
    }

    void definedKeysMoveTheGameSettingsAsideAndNeverLoseThem()
    {
        QFETCH(QString, fault);
        QFETCH(bool, withSettings);
        QFETCH(QString, message);
        Rig rig;
        rig.addGame("galaxn", "Galaxian");
        rig.tell("run-ms=600");
        const QByteArray usersBackup = fault == "bak" ? "<the user's own backup/>" : "(none)";
        if (withSettings)
            rig.folder.writeFile("cfg/galaxn.cfg", ownSettings);
        if (fault == "bak")
            rig.folder.writeFile("cfg/galaxn.bak", usersBackup);
        // Turned on as the user does: a controller file saved, the box ticked.
        rig.folder.writeFile("ctrlr/Zefrin/default.ini",
                             "#   Teclas configuradas para el Z e f r i n\r\n#\r\n");
        rig.folder.writeFile("mame.ini", "# ctrlr                 <NULL> (Not Set)\r\n");
        rig.window.chkUsaControles->setChecked(true);
        if (fault.startsWith("cfg/"))
            rig.folder.writeFile(fault, "<locked/>");
        if (fault == "mame")
            QVERIFY(QFile::remove(rig.folder.filePath(fault)));
        // The data file, which only the emulator reads, shows that a later lock will hold.
        if (fault.startsWith("cfg") && !rig.lock(fault == "cfg during" ? "standin.dat" : fault))
            QSKIP("read-only bind mounts need the right to mount");
        QByteArray during;
        QTimer::singleShot(300, &rig.window, [&] {
            during = rig.fileOrNothing("cfg/galaxn.cfg") + rig.fileOrNothing("cfg/galaxn.bak");
            rig.window.chkUsaControles->setChecked(fault != "untick");
            if (fault == "cfg during")
                rig.lock("cfg");
        });
        rig.doubleClickRow(0);

        const QList<ShownMessage>& shown = rig.program.dialogs.shown;
        QCOMPARE(shown.size(), message.isEmpty() ? 0 : fault == "cfg during" ? 2 : 1);
        QCOMPARE(rig.window.statusCaption(), message.isEmpty() ? loaded : loading);
        QVERIFY(!rig.window.emulatorBusy() && !hourglassShown());
        const QString log = decodeSystemText(rig.program.state.LastLaunchLog);
        QVERIFY2(fault == "mame" || log.startsWith("Loading"), qPrintable(log));
        if (!shown.isEmpty()) {
            const QString& text = shown.first().text;
            QVERIFY2(shown.first().icon == Dialogs::Icon::Critical &&
                         shown.first().title == "Error." &&
                         (message == cfgText ? text == message : text.startsWith(message)),
                     qPrintable(text));
        }
        if (message.isEmpty()) {
            // The game's own settings were out of the emulator's way during the run only.
            QCOMPARE(during, "(none)" + (fault == "bak" ? usersBackup
                                         : withSettings ? ownSettings
                                                        : "(none)"));
            const QStringList cfg = QDir(rig.folder.filePath("cfg")).entryList(QDir::Files);
            QCOMPARE(cfg, fault == "bak" ? (QStringList{"galaxn.bak", "galaxn.cfg"})
                                         : QStringList{"galaxn.cfg"});
        }
        if (fault == "cfg during") {
            // Settings the run could not put back are named, and kept in the backup.
            QVERIFY(shown.last().text.contains(rig.folder.filePath("cfg/galaxn.bak")));
            QCOMPARE(rig.folder.readFile("cfg/galaxn.bak"), ownSettings);
        } else {
            const QByteArray settings = rig.fileOrNothing("cfg/galaxn.cfg");
            QVERIFY2(withSettings ? settings == ownSettings
                                  : !message.isEmpty() || settings.contains("<system"),
                     settings);
            QCOMPARE(rig.fileOrNothing("cfg/galaxn.bak"), usersBackup);
        }
    }

    // With today's emulator only the input mappings of the game's settings and of
    // default.cfg yield to the defined keys: the game's DIP switch applies during the run, a
    // change the emulator saves is kept, and the user's own mappings are back afterwards,
    // byte for byte where nothing else changed.
    void todaysKeyedRunYieldsOnlyTheMappings_data()
    {
        QTest::addColumn<int>("dipDuringRun"); // -1: left as it was
        QTest::addColumn<QByteArray>("gameAfter");
        QTest::addColumn<bool>("linked"); // cfg/galaxn.cfg a link to a file of another folder
        const QByteArray coin = "\n            <port tag=\":IN0\" type=\"COIN1\" mask=\"1\" "
                                "defvalue=\"0\">\n                <newseq type=\"standard\">"
                                "KEYCODE_Q</newseq>\n            </port>";
        const QByteArray dip =
            "\n            <port tag=\":DSW\" type=\"DIPSWITCH\" mask=\"6\" value=\"%\" />";
        const QByteArray head = "<?xml version=\"1.0\"?>\n<mameconfig version=\"10\">\n"
                                "    <system name=\"galaxn\">\n        <input>";
        const QByteArray tail = "\n        </input>\n    </system>\n</mameconfig>\n";
        gameSettings = head + coin + QByteArray(dip).replace('%', "4") + tail;
        QTest::newRow("nothing changed") << -1 << gameSettings << false;
        QTest::newRow("DIP switch changed")
            << 2 << head + QByteArray(dip).replace('%', "2") + coin + tail << false;
        QTest::newRow("DIP switch changed, the settings a link")
            << 2 << head + QByteArray(dip).replace('%', "2") + coin + tail << true;
    }

    void todaysKeyedRunYieldsOnlyTheMappings()
    {
        QFETCH(int, dipDuringRun);
        QFETCH(QByteArray, gameAfter);
        QFETCH(bool, linked);
        const QByteArray defaults =
            "<?xml version=\"1.0\"?>\r\n<mameconfig version=\"10\">\r\n\t<system "
            "name=\"default\">\r\n\t\t<input>\r\n\t\t\t<port type=\"COIN1\">\r\n\t\t\t\t"
            "<newseq type=\"standard\">KEYCODE_X</newseq>\r\n\t\t\t</port>\r\n\t\t</input>"
            "\r\n\t\t<ui_warnings launched=\"1\" />\r\n\t</system>\r\n</mameconfig>\r\n";
        Rig rig(true);
        rig.addGame("galaxn", "Galaxian");
        if (dipDuringRun >= 0)
            rig.tell("run-dip=" + QString::number(dipDuringRun));
        rig.folder.writeFile(linked ? "shared/galaxn.cfg" : "cfg/galaxn.cfg", gameSettings);
        if (linked)
            QVERIFY(QDir().mkpath(rig.folder.filePath("cfg")) &&
                    QFile::link("../shared/galaxn.cfg", rig.folder.filePath("cfg/galaxn.cfg")));
        rig.folder.writeFile("cfg/default.cfg", defaults);
        // The keys as a save leaves them: player 1's coin on Z.
        rig.folder.writeFile("mame.ini", "ctrlr                     Zefrin\n");
        rig.folder.writeFile("ctrlr/Zefrin/default.ini",
                             "#   Teclas configuradas para el Z e f r i n\r\n#\r\n");
        rig.folder.writeFile("ctrlr/Zefrin.cfg",
                             "<mameconfig version=\"10\">\r\n\t<system name=\"default\">\r\n"
                             "\t\t<input>\r\n\t\t\t<port type=\"COIN1\">\r\n\t\t\t\t<newseq "
                             "type=\"standard\">KEYCODE_Z</newseq>\r\n\t\t\t</port>\r\n\t\t"
                             "</input>\r\n\t</system>\r\n</mameconfig>\r\n");
        rig.window.chkUsaControles->setChecked(true);
        rig.doubleClickRow(0);

        QVERIFY(rig.program.dialogs.shown.isEmpty());
        const QString log = decodeSystemText(rig.program.state.LastLaunchLog);
        QVERIFY2(log.contains("DIPSWITCH :DSW 6 = 4\r\nCOIN1 = KEYCODE_Z\r\n"), qPrintable(log));
        QCOMPARE(rig.folder.readFile("cfg/galaxn.cfg"), gameAfter);
        QCOMPARE(QFileInfo(rig.folder.filePath("cfg/galaxn.cfg")).isSymLink(), linked);
        QCOMPARE(rig.folder.readFile("cfg/default.cfg"), defaults);
        QCOMPARE(QDir(rig.folder.filePath("cfg")).entryList(QDir::Files),
                 QStringList({"default.cfg", "galaxn.cfg"}));
        QVERIFY(!QFile::exists(rig.program.state.records.gameSettings));
    }

    // With today's emulator a run that fails is said as one: the status in red and a box
    // naming the reason from the exit status and the emulator's last lines, offering the
    // log. The classic emulator's runs are reported as before whatever their end.
    void todaysFailedRunIsSaidAsOne_data()
    {
        QTest::addColumn<bool>("today");
        QTest::addColumn<QString>("directive");
        QTest::addColumn<QString>("reason"); // empty: the run reads as one that worked
        QTest::addColumn<QString>("lastLine");
        const auto row = [](const char* tag, bool today, const char* directive,
                            const QString& reason = {}, const QString& lastLine = {}) {
            QTest::newRow(tag) << today << QString(directive) << reason << lastLine;
        };
        row("missing files", true, "roms=none", "faltan archivos de la ROM",
            "Fatal error: Required files are missing, the machine cannot be run.");
        row("no such system", true, "run-exit=5", "M.A.M.E no conoce este juego",
            "galaxn: running");
        row("killed", true, "run-crash=segv", "(señal 11)", "galaxn: running");
        row("classic, missing files", false, "roms=none");
        row("today, played", true, "");
    }

    void todaysFailedRunIsSaidAsOne()
    {
        QFETCH(bool, today);
        QFETCH(QString, directive);
        QFETCH(QString, reason);
        QFETCH(QString, lastLine);
        Rig rig(today);
        rig.addGame("galaxn", "Galaxian");
        if (directive == "roms=none")
            rig.folder.writeFile("roms/galaxn.zip", {});
        else
            rig.tell(directive);
        rig.program.dialogs.answers = {true}; // the log, please
        rig.doubleClickRow(0);

        const QList<ShownMessage>& shown = rig.program.dialogs.shown;
        if (reason.isEmpty()) {
            QVERIFY(shown.isEmpty());
            QCOMPARE(rig.window.statusCaption(), loaded);
            QCOMPARE(rig.window.statusColour(), QColor(0, 0, 192));
            return;
        }
        QCOMPARE(rig.window.statusCaption(), "La ROM no se ha podido cargar.");
        QCOMPARE(rig.window.statusColour(), QColor(255, 0, 0));
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[0].icon == Dialogs::Icon::Critical && shown[0].text.contains(reason) &&
                     shown[0].text.contains(lastLine) && shown[0].text.contains("Ver  Log"),
                 qPrintable(shown[0].text));
        QCOMPARE(shown[1].title, "Visor de sucesos.");
        QVERIFY(shown[1].text.contains(lastLine));
    }

    // The box of a failed run stays a box whatever the emulator wrote: a line of megabytes is
    // cut, control bytes are not passed on, and any exit status reads as a failure.
    void failedRunBoxShowsAFewShortLines_data()
    {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QString>("shown"); // in the box
        QTest::newRow("a line of megabytes")
            << 3 << "Fatal error: " + QByteArray(3 << 20, 'x') + "\n"
            << "Fatal error: xxx";
        QTest::newRow("binary") << 2
                                << QByteArray("\x01\x7f"
                                              "ERROR\0\x1b[31mrojo\n",
                                              19)
                                << "ERROR";
        QTest::newRow("status not in the list") << 77 << QByteArray() << "(nada)";
        QTest::newRow("negative status") << -1 << QByteArray("adios") << "adios";
    }

    void failedRunBoxShowsAFewShortLines()
    {
        QFETCH(int, exitCode);
        QFETCH(QByteArray, log);
        QFETCH(QString, shown);
        LaunchResult result;
        result.exitCode = exitCode;
        result.log = log;
        const std::optional<MessageText> box = failedRunMessage(result);
        QVERIFY(box);
        QVERIFY2(box->text.contains(shown) && box->text.size() < 1000,
                 qPrintable(box->text.left(900)));
        for (const QChar c : box->text)
            QVERIFY2(c.unicode() >= 0x20 || c == '\r' || c == '\n', qPrintable(box->text));
    }

    // An archive named in capitals, as old collections have them, runs with today's emulator,
    // which looks for the lower-case name on Linux; the user's file keeps its name.
    void todaysRunFindsAnArchiveNamedInCapitals()
    {
        Rig rig(true);
        rig.addGame("galaxn", "Galaxian");
        QVERIFY(QDir(rig.folder.filePath("roms")).rename("galaxn.zip", "GALAXN.ZIP"));
        rig.reload();
        rig.doubleClickRow(0);
        const QString log = decodeSystemText(rig.program.state.LastLaunchLog);
        QVERIFY2(log.startsWith("Loading \"Galaxian\" (galaxn)"), qPrintable(log));
        QVERIFY(rig.program.dialogs.shown.isEmpty());
        QCOMPARE(
            QDir(rig.folder.filePath("roms")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList{"GALAXN.ZIP"});
    }

    // The user's mappings go back into what the emulator saved, whatever shape it gave it;
    // done again on its own result, the merge changes nothing.
    void mappingsGoBackIntoWhatTheEmulatorSaved_data()
    {
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<QByteArray>("merged");  // "(none)": cannot be merged
        QTest::addColumn<QByteArray>("users");   // empty: the file below
        QTest::addColumn<QByteArray>("runCopy"); // the users' file as the run gets it, if pinned
        const QByteArray bom = "\xef\xbb\xbf<?xml version=\"1.0\"?>\n<mameconfig version=\"10\">\n";
        const QByteArray coin = "\n\t\t\t<port type=\"COIN1\">\n\t\t\t\t<newseq type=\"standard\">"
                                "KEYCODE_X</newseq>\n\t\t\t</port>";
        const auto row = [](const char* tag, const QByteArray& saved, const QByteArray& merged,
                            const QByteArray& users = {}, const QByteArray& runCopy = {}) {
            QTest::newRow(tag) << saved << merged << users << runCopy;
        };
        const QByteArray counted = bom + "    <system name=\"default\">\n        <counters />\n";
        const QByteArray coinAfterCounters = counted + "        <input>" + coin +
                                             "\n        </input>\n    </system>\n</mameconfig>\n";
        row("empty system, as the emulator writes it",
            bom + "    <system name=\"default\" />\n</mameconfig>\n",
            bom + "    <system name=\"default\">\n        <input>" + coin +
                "\n        </input>\n    </system>\n</mameconfig>\n");
        row("no input", counted + "    </system>\n</mameconfig>\n", coinAfterCounters);
        row("its own mapping dropped",
            counted + "        <input>\n            <port type=\"COIN1\"><newseq type=\"standard\">"
                      "KEYCODE_M</newseq></port>\n        </input>\n    </system>\n</mameconfig>\n",
            coinAfterCounters);
        row("cut short", bom + "    <system name=\"default\">\n", "(none)");
        row("another system", bom + "    <system name=\"pong\" />\n</mameconfig>\n", "(none)");
        // A mapped analog input keeps its settings through a keyed run: they apply during it,
        // and a change the emulator saved stays, with the user's mapping back in that port.
        const QByteArray pong = "<mameconfig version=\"10\">\n    <system name=\"pong\">\n"
                                "        <input>\n            %\n        </input>\n    </system>\n"
                                "</mameconfig>\n";
        const QByteArray paddle = "<port tag=\":PADDLE0\" type=\"P1_PADDLE\" mask=\"255\" "
                                  "defvalue=\"0\" sensitivity=\"%\"";
        const QByteArray increment = "\n                <newseq type=\"increment\">\n"
                                     "                    KEYCODE_X\n                </newseq>";
        const auto file = [&](const char* sensitivity, const QByteArray& content) {
            return QByteArray(pong).replace("%",
                                            QByteArray(paddle).replace("%", sensitivity) + content);
        };
        const QByteArray mapped = file("77", ">" + increment + "\n            </port>");
        row("mapped paddle, its sensitivity changed", file("50", " />"),
            file("50", ">" + increment + "\n            </port>"), mapped,
            file("77", ">\n            </port>"));
        row("mapped paddle, the emulator's own mapping too",
            file("50", ">\n                <newseq type=\"decrement\">KEYCODE_Z</newseq>"
                       "\n            </port>"),
            file("50", ">" + increment + "\n            </port>"), mapped);
    }

    void mappingsGoBackIntoWhatTheEmulatorSaved()
    {
        QFETCH(QByteArray, saved);
        QFETCH(QByteArray, merged);
        QFETCH(QByteArray, users);
        QFETCH(QByteArray, runCopy);
        if (!runCopy.isEmpty())
            QCOMPARE(withoutInputMappings(users).value_or("(none)"), runCopy);
        if (users.isEmpty())
            users = "<mameconfig version=\"10\">\n\t<system name=\"default\">\n\t\t"
                    "<input>\n\t\t\t<port type=\"COIN1\">\n\t\t\t\t<newseq "
                    "type=\"standard\">KEYCODE_X</newseq>\n\t\t\t</port>\n\t\t\t"
                    "<port type=\"P1_BUTTON1\" sensitivity=\"5\" />\n\t\t</input>"
                    "\n\t</system>\n</mameconfig>\n";
        const std::optional<QByteArray> result = withInputMappingsOf(saved, users);
        QCOMPARE(result.value_or("(none)"), merged);
        if (result)
            QCOMPARE(withInputMappingsOf(*result, users).value_or("(none)"), merged);
    }

    // The merge after the run meets a full disk: what the emulator saved and the user's file
    // both stay whole, for the next start to merge again.
    void mergeOnAFullDiskKeepsBothFiles()
    {
        EmulatorFolder folder;
        folder.makeFolder("cfg");
        const QString cfg = folder.filePath("cfg");
        const SmallDisk small(cfg, 64);
        if (!small.mounted)
            QSKIP("no tmpfs to be mounted here");
        const QByteArray mapping = "\n\t\t\t<port type=\"P1_BUTTON1\"><newseq type=\"standard\">"
                                   "KEYCODE_A</newseq></port>";
        const QByteArray head =
            "<mameconfig version=\"10\">\n\t<system name=\"galaxn\">\n\t\t<input>";
        const QByteArray tail = "\n\t\t</input>\n\t</system>\n</mameconfig>\n";
        QByteArray users = head, saved = head;
        for (int i = 0; i < 200; ++i) {
            users += mapping;
            saved += QByteArray(mapping).replace("newseq", "newsex");
        }
        folder.writeFile("cfg/galaxn.bak", users + tail);
        folder.writeFile("cfg/galaxn.cfg", saved + tail);
        QFile filler(cfg + "/filler"); // the disk full, but for a page
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'f')) == 4096) {
        }
        QVERIFY(filler.resize(filler.size() / 4096 * 4096 - 4096));
        filler.close();
        const AsideFile aside{"galaxn.cfg", "galaxn.bak", *fileIdentity(cfg + "/galaxn.bak"), true};
        QVERIFY(!giveBack(cfg, aside).ok);
        QCOMPARE(folder.readFile("cfg/galaxn.cfg"), saved + tail);
        QCOMPARE(folder.readFile("cfg/galaxn.bak"), users + tail);
        QCOMPARE(QDir(cfg).entryList(QDir::Files),
                 QStringList({"filler", "galaxn.bak", "galaxn.cfg"}));
    }

    // A record of a killed run naming settings outside cfg is dropped, and nothing it names
    // is touched. (Records that are given back: e2e and the kill drills; another folder's:
    // tst_runrecords.)
    void settingsRecordNamesOnlyFilesOfCfg()
    {
        EmulatorFolder folder;
        folder.writeFile("mame.ini", "ctrlr  usuario\r\n");
        folder.writeFile("cfg/galaxn.bak", ownSettings);
        QTemporaryDir records;
        const QString record = records.filePath("game-settings.json");
        const QJsonObject moved = identityToJson(*fileIdentity(folder.filePath("cfg/galaxn.bak")));
        QVERIFY(writeRunRecord(
            record, folder.path(),
            {{"settings", "../mame.ini"}, {"backup", "galaxn.bak"}, {"settingsIdentity", moved}}));
        QVERIFY(!recoverGameSettings(record, folder.path()).run.isValid());
        QCOMPARE(folder.readFile("cfg/galaxn.bak"), ownSettings);
        QVERIFY(!QFile::exists(record));
        QCOMPARE(folder.readFile("mame.ini"), QByteArray("ctrlr  usuario\r\n"));
    }

    void logTextEndsEveryLineWithCrLfAndFitsInThreeRowsOfTen_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("log");
        QTest::addColumn<bool>("fits");
        QTest::newRow("CR LF") << QByteArray("\r\na\r\n\nb\r\n") << "\r\na\r\n\r\nb\r\n" << false;
        QTest::newRow("lone CR, no last end") << QByteArray("a\rb") << "a\r\nb\r\n" << true;
        QTest::newRow("wraps to three") << QByteArray(30, 'x') << QString(30, 'x') + "\r\n" << true;
        QTest::newRow("wraps to four") << QByteArray(31, 'x') << QString(31, 'x') + "\r\n" << false;
    }

    void logTextEndsEveryLineWithCrLfAndFitsInThreeRowsOfTen()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, log);
        QFETCH(bool, fits);
        QCOMPARE(launchLogText(output), log.toUtf8());
        QCOMPARE(fitsInMessageBox(log.toUtf8(), 3, 10), fits);
    }

    // The viewer gives every line the width of the widest one shown: a line of megabytes is
    // shown cut, or laying it out would stall the viewer.
    void logLinesCutALineOfMegabytes()
    {
        const LogLines lines(launchLogText("l\xc3\xadnea\n" + QByteArray(3 << 20, 'x') + "\nfin"));
        QCOMPARE(lines.widest(), LogLines::longestShown + 1);
        QCOMPARE(lines.line(1), QString(LogLines::longestShown, 'x') + QChar(0x2026));
        QCOMPARE(lines.line(2), "fin");
    }

private:
    QByteArray gameSettings; // the user's settings of the game, as the rows above have them
};

QTEST_MAIN(LaunchTest)
#include "tst_launch.moc"
