// The program against the emulator people install today (Debian's `mame` package, 0.251), in a
// folder as such a user has it: a link named `mame`, roms/, cfg/ and ctrlr/, no release notes.
// Pong runs without a window of its own (pong.ini: "video none"); a Lua script run inside the
// game prints the keys it really uses. Skipped where /usr/games/mame is not installed.

#include "engine/catalogue/GameList.h"
#include "engine/catalogue/GeneratedFiles.h"
#include "engine/romman/ArchiveCheck.h"
#include "engine/romman/CrcList.h"
#include "engine/romman/RomReports.h"
#include "engine/services/TextFile.h"
#include "fixture/Crc32.h"
#include "fixture/Zip.h"
#include "gui/app/frmCargador.h"
#include "gui/input/frmTeclas.h"
#include "gui/romman/frmGestionar.h"
#include "gui/widgets/LabelButton.h"
#include "support/EmulatorFolder.h"
#include "support/Runs.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QStandardPaths>
#include <QtTest>

#include <array>

#include <signal.h>

using namespace zefrin;
using namespace zefrin::test;

Q_DECLARE_METATYPE(zefrin::CheckOutcome)

namespace {

const QString realEmulator = QStringLiteral("/usr/games/mame");
const QString pongTitle = QStringLiteral("Pong (Rev E) [TTL]");
const QString pongCoinDefault = QStringLiteral("KEYCODE_5 OR JOYCODE_1_UNKNOWN_SWITCH");

// Prints every input of the running game with its keys, then ends the game.
const QByteArray inputsScript =
    "for tag, port in pairs(manager.machine.ioport.ports) do\n"
    "  for name, field in pairs(port.fields) do\n"
    "    print(name .. \" = \" .. manager.machine.input:seq_to_tokens(field:input_seq()))\n"
    "  end\n"
    "end\n"
    "manager.machine:exit()\n";
// Prints pong's DIP switch "Game Won" and the keys of its coin, then sets the switch to 2 (as
// the user would in the emulator's menu) and ends the game.
const QByteArray dipScript =
    "local inputs = manager.machine.ioport.ports[\":IN0\"].fields\n"
    "print(\"Game Won = \" .. tostring(inputs[\"Game Won\"].user_value))\n"
    "print(\"Coin 1 = \" .. manager.machine.input:seq_to_tokens(inputs[\"Coin 1\"]:input_seq()))\n"
    "inputs[\"Game Won\"].user_value = 2\n"
    "manager.machine:exit()\n";
// The coin's mapping of the user's own pong.cfg, as the emulator writes it.
const QByteArray userCoinPort = "<port tag=\":IN0\" type=\"COIN1\" mask=\"1\" defvalue=\"0\">\n"
                                "                <newseq type=\"standard\">\n"
                                "                    KEYCODE_Q\n"
                                "                </newseq>\n"
                                "            </port>";
const QString crashAfterExit = QStringLiteral("M.A.M.E se ha cerrado de golpe");
// Pong's own settings: no window, no sound, no information screen to wait on.
const QByteArray quietPong = "video none\nsound none\nskip_gameinfo 1\n";

// The text after "NAME = " on the line of `input` in the output of inputsScript.
QString keysOf(const QByteArray& log, const QString& input)
{
    const QString prefix = input + QStringLiteral(" = ");
    for (const QString& line : splitLines(decodeSystemText(log))) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    }
    return QStringLiteral("(no line for %1)").arg(input);
}

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

// The processes running `emulator`: their first argument names it, as the scripts and the
// runner start it.
QList<int> processesOf(const QString& emulator)
{
    QList<int> found;
    const QStringList entries =
        QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isProcess = false;
        const int pid = entry.toInt(&isProcess);
        QFile arguments(QStringLiteral("/proc/") + entry + QStringLiteral("/cmdline"));
        if (isProcess && arguments.open(QIODevice::ReadOnly) &&
            QFile::decodeName(arguments.readAll().split('\0').value(0)) == emulator)
            found << pid;
    }
    return found;
}

// `bytes` with four more that give the whole the CRC-32 `crc`: the four bytes XOR the checksum's
// register, and four steps of the table are undone from the register the checksum must end in.
QByteArray withCrc(QByteArray bytes, quint32 crc)
{
    std::array<quint32, 256> table{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
        table[i] = value;
    }
    quint32 wanted = ~crc;
    for (int step = 0; step < 4; ++step) {
        quint32 low = 0;
        while ((table[low] >> 24) != (wanted >> 24))
            ++low;
        wanted = ((wanted ^ table[low]) << 8) | low;
    }
    const quint32 extra = wanted ^ ~fixture::crc32(bytes.toStdString());
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(static_cast<char>((extra >> shift) & 0xFF));
    return bytes;
}

// An emulator folder of today's packaged emulator with the main window on it.
struct Rig {
    // started: where the emulator's path is noted, so that no run a failed check left
    // behind outlives the test.
    explicit Rig(QStringList& started)
    {
        started << folder.filePath(QStringLiteral("mame"));
        QVERIFY(QFile::link(realEmulator, folder.filePath(QStringLiteral("mame"))));
        folder.makeFolder(QStringLiteral("cfg"));
        folder.makeFolder(QStringLiteral("ctrlr"));
        window.show();
    }
    void addArchive(const QString& name) { folder.writeFile(QStringLiteral("roms/") + name, {}); }
    // A mouse double click on the row of `title`, the second press sent as the window system
    // sends it; then, unless told not to, the wait for the launch to end.
    void doubleClick(const QString& title, bool waitForTheEnd = true)
    {
        const QStringList rows = shownRows(window.lstJuegos);
        QCOMPARE(rows.count(title), 1);
        doubleClickRow(window.lstJuegos, int(rows.indexOf(title)));
        if (waitForTheEnd)
            QTRY_VERIFY_WITH_TIMEOUT(!window.emulatorBusy(), 60000);
    }
    // Pong started as a user starts it, reading back its inputs' keys from inside.
    QString coinKeysOfALaunch()
    {
        doubleClick(pongTitle);
        return keysOf(program.state.LastLaunchLog, QStringLiteral("Coin 1"));
    }

    EmulatorFolder folder{QStringLiteral("MAME 0.251")};
    Program program{folder.path()};
    frmCargador window{program.context};
};

// Saves `key` for the control the editor selects first (player 1's coin), through the main
// window's button and the modal editor it opens.
void saveFirstControl(frmCargador& window, int key)
{
    QTimer::singleShot(0, &window, [key] {
        if (auto* editor = qobject_cast<frmTeclas*>(QApplication::activeModalWidget())) {
            click(editor->lblTecla[static_cast<std::size_t>(key)]);
            click(editor->lblGuardar);
        }
    });
    click(window.lblTeclas);
}

} // namespace

class RealEmulatorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QFileInfo(realEmulator).isExecutable())
            QSKIP("today's emulator is not installed (/usr/games/mame: apt-get install mame, "
                  "as scripts/deps does)");
        QStandardPaths::setTestModeEnabled(true);
        // The packaged emulator reads and writes $HOME/.mame unless told otherwise: a home of
        // the test's own keeps a developer's settings out, and the test's out of theirs.
        QVERIFY(home.isValid());
        qputenv("HOME", QFile::encodeName(home.path()));
    }

    void cleanup()
    {
        for (const QString& emulator : std::as_const(started)) {
            for (const int pid : processesOf(emulator))
                (void)::kill(pid, SIGKILL);
        }
        started.clear();
    }

    // A user's session with pong (a game of discrete logic, no ROM file needed): the start-up
    // learns the version and lists real titles; the game runs to its end; a key saved reaches
    // the running game and the switch off gives the emulator's own back; the program torn down
    // in the middle of a game leaves no emulator running.
    void aUserSession()
    {
        std::optional<Rig> rig(std::in_place, started);
        const QString emulator = rig->folder.filePath(QStringLiteral("mame"));
        // Short names up to the 17 columns of today's list and past them, titles with quotes.
        for (const char* archive : {"pong.zip", "airdueljm72.zip", "istrebiteli_sound.zip",
                                    "elan_eu3a05commonsys.zip", "cc10.zip", "zefrin.zip"})
            rig->addArchive(QString::fromLatin1(archive));
        rig->folder.writeFile(QStringLiteral("inputs.lua"), inputsScript);
        // It ends by itself after three seconds of emulated time and says how fast it ran (only
        // when it measured a whole second, which the first frames are no part of).
        rig->folder.writeFile(QStringLiteral("pong.ini"), quietPong + "seconds_to_run 3\n");
        frmCargador& window = rig->window;
        QVERIFY(loadToEnd(window));
        QCOMPARE(rig->program.state.EmulatorVersion.shown(), QStringLiteral("0.251"));
        QVERIFY(rig->program.state.dialect == Dialect::Today);
        QCOMPARE(window.statusCaption(), QStringLiteral("Versión de M.A.M.E. (0.251)"));
        QVERIFY(rig->program.state.keysAvailable && window.chkUsaControles->isEnabled());
        QCOMPARE(shownRows(window.lstJuegos),
                 QStringList({"Air Duel (Japan, M72 hardware)",
                              "Chess Challenger \"10\" (model CCX, rev. B)",
                              "Elan EU3A05/EU3A14 Common System", "Istrebiteli Sound", pongTitle,
                              "ROM desconocida(zefrin.zip)"}));
        rig->doubleClick(pongTitle);
        QVERIFY(decodeSystemText(rig->program.state.LastLaunchLog).contains("Average speed: "));
        QCOMPARE(window.statusCaption(), QStringLiteral("Ha terminado la carga."));
        QCOMPARE(rig->program.state.LastLaunchTitle, pongTitle);

        rig->folder.writeFile(QStringLiteral("pong.ini"),
                              quietPong + "autoboot_script inputs.lua\n");
        // A key of the numeric pad: today's emulator ignores it under its classic name.
        const int keypad8 = 89;
        saveFirstControl(window, keypad8);
        QCOMPARE(rig->coinKeysOfALaunch(), QStringLiteral("KEYCODE_8PAD"));
        window.chkUsaControles->click();
        QCOMPARE(rig->coinKeysOfALaunch(), pongCoinDefault);
        // The script's print is on standard output, the emulator's warning on standard error
        // (the run itself ends with a crash signal after exit()).
        const QString log = decodeSystemText(rig->program.state.LastLaunchLog);
        QVERIFY2(log.contains("Warning: -video none doesn't make much sense without "
                              "-seconds_to_run"),
                 qPrintable(log));
        // The emulator ends the scripted runs with a crash signal now and then, which is said.
        for (const ShownMessage& shown : std::as_const(rig->program.dialogs.shown))
            QVERIFY2(shown.text.contains(crashAfterExit), qPrintable(shown.text));

        rig->folder.writeFile(QStringLiteral("pong.ini"), quietPong + "seconds_to_run 60\n");
        rig->doubleClick(pongTitle, false);
        QTRY_VERIFY_WITH_TIMEOUT(!processesOf(emulator).isEmpty(), 10000);
        // As when the session ends: the runner ends the run it owns.
        rig.reset();
        (void)QTest::qWaitFor([&emulator] { return processesOf(emulator).isEmpty(); }, 2000);
        QVERIFY(processesOf(emulator).isEmpty());
    }

    // With the user's keys on, pong's own DIP switch applies and its coin takes the defined
    // key; the switch set during the run is kept, and the user's own coin mapping is back.
    void keyedRunKeepsTheGamesOwnSettings()
    {
        Rig rig(started);
        rig.addArchive(QStringLiteral("pong.zip"));
        rig.folder.writeFile(QStringLiteral("dip.lua"), dipScript);
        rig.folder.writeFile(QStringLiteral("pong.ini"), quietPong + "autoboot_script dip.lua\n");
        const QByteArray dipPort = "<port tag=\":IN0\" type=\"DIPSWITCH\" mask=\"6\" "
                                   "defvalue=\"0\" value=\"%\" />";
        rig.folder.writeFile(QStringLiteral("cfg/pong.cfg"),
                             "<?xml version=\"1.0\"?>\n<mameconfig version=\"10\">\n"
                             "    <system name=\"pong\">\n        <input>\n            " +
                                 userCoinPort + "\n            " +
                                 QByteArray(dipPort).replace('%', "4") +
                                 "\n        </input>\n    </system>\n</mameconfig>\n");
        QVERIFY(loadToEnd(rig.window));
        const int keypad8 = 89;
        saveFirstControl(rig.window, keypad8);
        rig.doubleClick(pongTitle);
        const QByteArray& log = rig.program.state.LastLaunchLog;
        QCOMPARE(keysOf(log, QStringLiteral("Game Won")), QStringLiteral("4"));
        QCOMPARE(keysOf(log, QStringLiteral("Coin 1")), QStringLiteral("KEYCODE_8PAD"));
        const QByteArray after = rig.folder.readFile(QStringLiteral("cfg/pong.cfg"));
        QVERIFY2(after.contains(QByteArray(dipPort).replace('%', "2")) &&
                     after.contains(userCoinPort),
                 after.constData());
        QCOMPARE(QDir(rig.folder.filePath(QStringLiteral("cfg"))).entryList({"pong*"}),
                 QStringList{"pong.cfg"});
        rig.window.chkUsaControles->click();
        rig.doubleClick(pongTitle);
        QCOMPARE(keysOf(rig.program.state.LastLaunchLog, QStringLiteral("Coin 1")),
                 QStringLiteral("KEYCODE_Q"));
        for (const ShownMessage& shown : std::as_const(rig.program.dialogs.shown))
            QVERIFY2(shown.text.contains(crashAfterExit), qPrintable(shown.text));
    }

    // A launch that fails is said as one, from the emulator's exit status: missing files (an
    // archive in capitals is found, with the wrong file: the emulator read it) and a game
    // killed while it runs.
    void failedLaunchesAreSaid()
    {
        Rig rig(started);
        const QString emulator = rig.folder.filePath(QStringLiteral("mame"));
        writeArchive(rig.folder, QStringLiteral("PUCKMAN.ZIP"), "zip:pm1-1.7f=not the ROM");
        rig.addArchive(QStringLiteral("pong.zip"));
        rig.folder.writeFile(QStringLiteral("pong.ini"), quietPong + "seconds_to_run 60\n");
        QVERIFY(loadToEnd(rig.window));
        const QList<ShownMessage>& shown = rig.program.dialogs.shown;
        rig.doubleClick(QStringLiteral("Puck Man (Japan set 1)"));
        const QString log = decodeSystemText(rig.program.state.LastLaunchLog);
        QVERIFY2(log.contains(QStringLiteral("pm1-1.7f WRONG LENGTH")), qPrintable(log));
        QCOMPARE(rig.window.statusCaption(), QStringLiteral("La ROM no se ha podido cargar."));
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(QStringLiteral("faltan archivos de la ROM")) &&
                     shown[0].text.contains(QStringLiteral("Fatal error: Required files are "
                                                           "missing, the machine cannot be run.")),
                 qPrintable(shown[0].text));
        QVERIFY(rig.folder.exists(QStringLiteral("roms/PUCKMAN.ZIP")) &&
                !rig.folder.exists(QStringLiteral("roms/puckman.zip")));

        rig.doubleClick(pongTitle, false);
        QTRY_VERIFY_WITH_TIMEOUT(!processesOf(emulator).isEmpty(), 10000);
        QTest::qWait(500);
        for (const int pid : processesOf(emulator))
            (void)::kill(pid, SIGKILL);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.window.emulatorBusy(), 10000);
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[1].text.contains(QStringLiteral("(señal 9)")), qPrintable(shown[1].text));
    }

    // A new user's set-up: their own settings (~/.mame/mame.ini) name a controller file of the
    // emulator's package, or one of their own in a folder named through $HOME, and the folder
    // holds their ui.ini and plugin.ini. The first start makes mame.ini and nothing else; pong
    // then runs with that controller file.
    void aNewUsersSetUpStaysTheirs_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::newRow("the package's") << QByteArray("ctrlr xarcade\n");
        QTest::newRow("the user's own")
            << QByteArray("ctrlrpath $HOME/.mame/ctrlr;/usr/share/games/mame/ctrlr\nctrlr mio\n");
    }

    void aNewUsersSetUpStaysTheirs()
    {
        QFETCH(QByteArray, settings);
        const QString usersIni = home.filePath(QStringLiteral(".mame/mame.ini"));
        QVERIFY(QDir().mkpath(home.filePath(QStringLiteral(".mame/ctrlr"))));
        (void)QFile::remove(home.filePath(QStringLiteral(".mame/ctrlr/mio.cfg")));
        QVERIFY(QFile::copy(QStringLiteral("/usr/share/games/mame/ctrlr/xarcade.cfg"),
                            home.filePath(QStringLiteral(".mame/ctrlr/mio.cfg"))));
        QFile users(usersIni);
        QVERIFY(users.open(QIODevice::WriteOnly) && users.write(settings) == settings.size());
        users.close();
        const auto forget = qScopeGuard([&usersIni] { QFile::remove(usersIni); });
        Rig rig(started);
        rig.addArchive(QStringLiteral("pong.zip"));
        const QByteArray ui = "hide_main_panel 1\nui_font MiFuente\n";
        rig.folder.writeFile(QStringLiteral("ui.ini"), ui);
        rig.folder.writeFile(QStringLiteral("plugin.ini"), "hiscore 1\n");
        rig.folder.writeFile(QStringLiteral("inputs.lua"), inputsScript);
        rig.folder.writeFile(QStringLiteral("pong.ini"),
                             quietPong + "autoboot_script inputs.lua\n");
        QVERIFY(loadToEnd(rig.window));
        QCOMPARE(rig.folder.readFile(QStringLiteral("ui.ini")), ui);
        QCOMPARE(rig.folder.readFile(QStringLiteral("plugin.ini")), QByteArray("hiscore 1\n"));
        QVERIFY(rig.folder.readFile(QStringLiteral("mame.ini"))
                    .contains(settings.mid(settings.lastIndexOf(' ') + 1).trimmed()));
        // xarcade.cfg (mio.cfg its copy) puts the coin on 3.
        QCOMPARE(rig.coinKeysOfALaunch(), QStringLiteral("KEYCODE_3"));
    }

    void checkUsesTodaysVerdicts_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QByteArray>("holds"); // "zip:NAME=CONTENT" for an archive of one file
        QTest::addColumn<QString>("game");
        QTest::addColumn<CheckOutcome>("outcome");
        QTest::addColumn<QString>("verdict"); // the emulator's verdict line
        // A set without ROM files is "best available" whatever stands under its name: no
        // archive is its own.
        QTest::newRow("no files to hold, empty")
            << "pong.zip" << QByteArray() << "pong.zip" << CheckOutcome::NoRomFiles
            << "romset pong is best available";
        QTest::newRow("Puck Man's file as Pong Doubles")
            << "pacjapon.zip"
            << "zip:pm1_prg1.6e=" + withCrc("not the ROM", 0xf36e88ab) << "pongd.zip"
            << CheckOutcome::NoRomFiles << "romset pongd is best available";
        QTest::newRow("a clone, wrong file")
            << "viejo.zip" << QByteArray("zip:pacman.6e=hello\n") << "pacman.zip"
            << CheckOutcome::NotGood << "romset pacman [puckman] is bad";
        QTest::newRow("garbage") << "basura.zip" << QByteArray("not a zip at all") << "pacman.zip"
                                 << CheckOutcome::NotGood << QString();
    }

    void checkUsesTodaysVerdicts()
    {
        QFETCH(QString, archive);
        QFETCH(QByteArray, holds);
        QFETCH(QString, game);
        QFETCH(CheckOutcome, outcome);
        QFETCH(QString, verdict);
        Rig rig(started);
        writeArchive(rig.folder, archive, holds);
        EmulatorRunner runner;
        ArchiveChecker checker(runner, rig.folder.path(), {}, Dialect::Today);
        QCOMPARE(checkToEnd(checker, archive, game), outcome);
        const QStringList answer = answerLinesOf(rig.folder.filePath(QStringLiteral("1.p")));
        QVERIFY2(verdict.isEmpty() ? answer.filter(QStringLiteral("romset")).isEmpty()
                                   : answer.contains(verdict),
                 qPrintable(answer.join('\n')));
        QCOMPARE(rig.folder.readFile(QStringLiteral("roms/") + archive), archiveBytes(holds));
        QVERIFY(!rig.folder.exists(QStringLiteral("roms/") + game) || archive == game);
    }

    void archiveReportSaysTheKnownCheckIsGone()
    {
        Rig rig(started);
        writeArchive(rig.folder, QStringLiteral("pacman.zip"), "zip:pacman.6e=hello\n");
        QTemporaryDir scratch;
        EmulatorRunner runner;
        ReportMaker maker(runner, rig.folder.path(), scratch.path(), Dialect::Today);
        const auto reportOn = [&maker](const QString& archive) {
            std::optional<ReportResult> report;
            if (maker.archiveReport(archive))
                report = nextSignal(&maker, &ReportMaker::made);
            QFile file(report && report->written ? report->path : QString());
            return file.open(QIODevice::ReadOnly) ? decodeSystemText(file.readAll()) : QString();
        };
        const QString text = reportOn(QStringLiteral("pacman.zip"));
        // Each section holds the real answer: the file not matched, the set's files, its
        // verdict; no emulator error anywhere.
        const QStringList sections = text.split(QStringLiteral("/* "));
        QCOMPARE(sections.size(), 5);
        QVERIFY2(sections[1].contains(QStringLiteral("pacman.6e")) &&
                     sections[1].contains(QStringLiteral("NO MATCH")),
                 qPrintable(sections[1]));
        QVERIFY2(sections[2].contains(QStringLiteral("CRC(c1e6ab10)")), qPrintable(sections[2]));
        QVERIFY2(sections[3].contains(QStringLiteral("romset pacman [puckman] is bad")),
                 qPrintable(sections[3]));
        QVERIFY2(!text.contains(QStringLiteral("rror")), qPrintable(text));
        // What the emulator says on standard error is in the report too: of a set it does not
        // find, that it does not.
        const QString integrity =
            reportOn(QStringLiteral("kinst.zip")).split(QStringLiteral("/* ")).value(3);
        QVERIFY2(integrity.contains(QStringLiteral("romset \"kinst\" not found!")),
                 qPrintable(integrity));
        QCOMPARE(sections[4], QStringLiteral("¿RECONOCE M.A.M.E. ESTA ROM? */\r\n\r\n"
                                             "Esta versión de M.A.M.E ya no tiene esta "
                                             "comprobación (-isknown). La primera sección dice "
                                             "qué archivos de la ROM reconoce.\r\n"));
    }

    // The search over the real emulator's CRC list: an archive holding a file of the CRC-32 of
    // 1942's first ROM (other bytes, so the emulator refuses it by its SHA-1) has only the sets
    // holding that ROM as candidates. None passes: not found, and never a game that needs no
    // ROM file, which the emulator calls best available whatever the archive holds.
    void searchChecksOnlyTheCandidates()
    {
        EmulatorFolder folder{QStringLiteral("MAME 0.251")};
        started << folder.filePath(QStringLiteral("mame"));
        QVERIFY(QFile::link(realEmulator, folder.filePath(QStringLiteral("mame"))));
        const quint32 romCrc = 0xd9dafcc3; // srb-03.m3 of 1942
        const QByteArray rom = withCrc("not the ROM", romCrc);
        QCOMPARE(fixture::crc32(rom.toStdString()), romCrc);
        writeArchive(folder, QStringLiteral("viejo.zip"), "zip:srb-03.m3=" + rom);
        Program program(folder.path());
        program.state.dialect = Dialect::Today;
        frmGestionar window(program.context);
        QVERIFY(actToSignal(&window, &frmGestionar::loaded, [&] { return window.Form_Load(); }));
        window.show();
        window.ROMs->setCurrentRow(0);
        program.dialogs.answers = {true};
        QElapsedTimer took;
        took.start();
        click(window.lblBuscar);
        QTRY_VERIFY_WITH_TIMEOUT(!window.ManagerBusy, 300000);
        QCOMPARE(program.dialogs.shown.size(), 2);
        QCOMPARE(program.dialogs.shown.last().text,
                 QStringLiteral("No se han encontrado ROMs compatibbles"));
        // The last check was of a game holding the ROM.
        const std::optional<CrcIndex> crcs = readCrcList(folder.filePath(crcListFileName()));
        QVERIFY(crcs && crcs->size() > 300000);
        const QSet<QString> candidates = crcs->setsHolding({romCrc});
        QVERIFY(candidates.contains(QStringLiteral("1942")) && candidates.size() < 20);
        const QStringList lines = readGameLines(folder.path()).value_or(QStringList());
        const int last = window.lblActual->text().toInt();
        QVERIFY(last > 0 && last <= lines.size());
        QVERIFY2(candidates.contains(gameLineName(lines.at(last - 1), Dialect::Today).toString()),
                 qPrintable(lines.at(last - 1)));
        qInfo("search with the CRC list made: %lld ms", static_cast<long long>(took.elapsed()));
        QCOMPARE(folder.readFile(QStringLiteral("roms/viejo.zip")),
                 archiveBytes("zip:srb-03.m3=" + rom));
    }

private:
    // The bytes of an archive as checkUsesTodaysVerdicts_data describes it.
    static QByteArray archiveBytes(const QByteArray& holds)
    {
        if (!holds.startsWith("zip:"))
            return holds;
        const qsizetype split = holds.indexOf('=');
        return QByteArray::fromStdString(fixture::zipBytes({{holds.mid(4, split - 4).toStdString(),
                                                             holds.mid(split + 1).toStdString()}})
                                             .value_or(std::string()));
    }
    static void writeArchive(EmulatorFolder& folder, const QString& name, const QByteArray& holds)
    {
        folder.writeFile(QStringLiteral("roms/") + name, archiveBytes(holds));
    }

    QTemporaryDir home;
    QStringList started;
};

QTEST_MAIN(RealEmulatorTest)
#include "tst_real.moc"
