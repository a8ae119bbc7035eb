// Whole launches of the stand-in emulator from the main window, as a user starts them: a
// double click or Enter on a row, the window locked while the game runs, what the emulator
// printed kept for the log, and the game's settings moved aside while defined keys are on.

#include "launch/LaunchRig.h"
#include "widgets/Colours.h"
#include "widgets/LabelButton.h"
#include "widgets/Pointer.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

// What the window looked like, and did, while the game ran.
struct DuringRun {
    bool busy = false;
    bool hourglass = false;
    QString status;
    QColor statusColour;
    QByteArray script;
    QString statusAfterClose;
    bool checkedAfterClicks = false;
    QColor checkBoxPressed;
    int childWindows = 0;
    QByteArray settings;
    QByteArray backup;
};

const char* const runMs = "run-ms";

} // namespace

class LaunchTest : public QObject {
    Q_OBJECT

private slots:
    void doubleClickRunsTheGameWithTheWindowLocked()
    {
        LaunchRig rig;
        rig.addGame(QStringLiteral("galaxn"), QStringLiteral("Galaxian"));
        rig.addGame(QStringLiteral("pacmn"), QStringLiteral("Pac Man"));
        rig.addDirective(runMs, QStringLiteral("1200"));
        rig.install();
        frmCargador& window = rig.window;
        const ScratchFolder& scratch = rig.program.state.scratch;
        DuringRun seen;
        QTimer::singleShot(400, &window, [&] {
            seen.busy = rig.program.state.EmulatorBusy;
            seen.hourglass = hourglassShown();
            seen.status = window.statusCaption();
            seen.statusColour = window.statusColour();
            seen.script = QFile(scratch.playScriptPath()).exists() ? "written" : "missing";
            // Every command is refused while the game runs.
            QTest::mouseClick(window.lblLog, Qt::LeftButton);
            QTest::mouseClick(window.Label1, Qt::LeftButton);
            QTest::mouseClick(window.lblDirectorio, Qt::LeftButton);
            rig.doubleClickRow(1);
            QTest::keyClick(window.lstJuegos, Qt::Key_Return);
            QTest::mousePress(window.chkUsaControles, Qt::LeftButton);
            seen.checkBoxPressed = window.checkBoxColour();
            QTest::mouseRelease(window.chkUsaControles, Qt::LeftButton);
            QTest::keyClick(window.chkUsaControles, Qt::Key_Space);
            seen.checkedAfterClicks = window.chkUsaControles->isChecked();
            seen.childWindows = window.findChildren<QDialog*>().size();
            window.close();
            seen.statusAfterClose = window.statusCaption();
        });
        rig.doubleClickRow(0);

        QVERIFY(seen.busy);
        QVERIFY(seen.hourglass);
        QCOMPARE(seen.status, QStringLiteral("Cargando ROM, por favor se paciente."));
        QCOMPARE(seen.statusColour, QColor(255, 0, 0));
        QCOMPARE(seen.script, QByteArray("written"));
        QCOMPARE(seen.statusAfterClose,
                 QStringLiteral("Si MAME está activo, no se puede cerrar Zefrin!"));
        QVERIFY(!seen.checkedAfterClicks);
        QCOMPARE(seen.checkBoxPressed, Colours::buttonPressed());
        QCOMPARE(seen.childWindows, 0);
        QVERIFY(rig.program.dialogs.shown.isEmpty());
        QVERIFY2(!rig.folder.exists("cfg/pacmn.cfg"), "the second game never ran");
        QCOMPARE(window.lstJuegos->count(), 2);

        QVERIFY(window.isVisible());
        QVERIFY(!rig.program.state.EmulatorBusy);
        QVERIFY(!hourglassShown());
        QCOMPARE(window.statusCaption(), QStringLiteral("Ha terminado la carga."));
        QCOMPARE(window.statusColour(), QColor(0, 0, 192));
        QCOMPARE(rig.program.state.LastLaunchTitle, QStringLiteral("Galaxian"));
        QCOMPARE(rig.program.state.LastLaunchLog,
                 QStringLiteral("Loading \"Galaxian\" (galaxn)\r\n"
                                "galaxn: running, line 2 of 3\r\n"
                                "galaxn: running, line 3 of 3\r\n"));
        QVERIFY(!QFile::exists(scratch.playScriptPath()));
        QVERIFY(!QFile::exists(scratch.logPath()));
        // With the switch off the emulator's own settings files stay as it wrote them.
        QVERIFY(rig.folder.exists("cfg/default.cfg"));
        QVERIFY(rig.folder.exists("cfg/galaxn.cfg"));
    }

    void enterLaunchesTheSelectedRowOnly()
    {
        LaunchRig rig;
        rig.addGame(QStringLiteral("galaxn"), QStringLiteral("Galaxian"));
        rig.install();
        QTest::keyClick(rig.window.lstJuegos, Qt::Key_Return);
        QVERIFY2(rig.program.state.LastLaunchTitle.isEmpty(), "no row chosen yet");
        QVERIFY(!rig.folder.exists("cfg"));
        rig.selectRow(0);
        QTest::keyClick(rig.window.lstJuegos, Qt::Key_Return);
        QCOMPARE(rig.program.state.LastLaunchTitle, QStringLiteral("Galaxian"));
        QVERIFY(rig.program.state.LastLaunchLog.startsWith(QStringLiteral("Loading")));
    }

    void unrecognisedRowIsRefused()
    {
        LaunchRig rig;
        rig.addGame(QStringLiteral("galaxn"), QStringLiteral("Galaxian"));
        rig.install();
        rig.window.lstJuegos->item(0)->setText(QStringLiteral("ROM desconocida(galaxn.zip)"));
        rig.program.state.LastLaunchTitle = QStringLiteral("Anterior");
        rig.doubleClickRow(0);
        QCOMPARE(rig.program.dialogs.shown.size(), 1);
        const ShownMessage& shown = rig.program.dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::Information);
        QCOMPARE(shown.title, QStringLiteral("¡ATENCIÓN!"));
        const QStringList paragraphs = shown.text.split(QStringLiteral("\r\n\r\n"));
        QCOMPARE(paragraphs.size(), 3);
        QVERIFY(paragraphs[0].startsWith(QStringLiteral("La ROM que intentas ejecutar")));
        QVERIFY(paragraphs[1].startsWith(QStringLiteral("    NOTA #1: Hay algunas ROMs")));
        QVERIFY(paragraphs[2].endsWith(QStringLiteral("nuevas versiones de M.A.M.E).")));
        QCOMPARE(rig.program.state.LastLaunchTitle, QStringLiteral("Anterior"));
        QVERIFY(!rig.folder.exists("cfg"));
        QVERIFY(!rig.program.state.EmulatorBusy);
    }

    void scriptFollowsTheEmulatorVersion_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("withoutSound");
        QTest::newRow("0.53") << "0.53" << false;
        QTest::newRow("0.53b") << "0.53b" << false;
        QTest::newRow("0.70") << "0.70" << false;
        // Versions are ordered by their numbers: 0.100 comes after 0.53.
        QTest::newRow("0.100") << "0.100" << false;
        QTest::newRow("0.52") << "0.52" << true;
        QTest::newRow("0.37 BETA 14") << "0.37 BETA 14" << true;
        QTest::newRow("unknown") << "(Versión de M.A.M.E desconocida)" << true;
    }

    void scriptFollowsTheEmulatorVersion()
    {
        QFETCH(QString, version);
        QFETCH(bool, withoutSound);
        // A folder whose name a shell would otherwise act on.
        LaunchRig rig(QStringLiteral("MAME 'x' $(touch pwned); y"));
        rig.addGame(QStringLiteral("galaxn"), QStringLiteral("Galaxian"));
        rig.addDirective(runMs, QStringLiteral("300"));
        rig.install();
        rig.program.state.EmulatorVersion = version;
        QByteArray script;
        QTimer::singleShot(150, &rig.window, [&] {
            QFile file(rig.program.state.scratch.playScriptPath());
            if (file.open(QIODevice::ReadOnly))
                script = file.readAll();
        });
        rig.doubleClickRow(0);
        const QList<QByteArray> lines = script.split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith("cd '") && lines[0].endsWith("$(touch pwned); y'\r"));
        QVERIFY(lines[1].startsWith("mame 'galaxn'") && lines[1].endsWith("log.txt'\r"));
        QCOMPARE(lines[1].contains(" -soundcard 0 > "), withoutSound);
        QVERIFY(lines[2].isEmpty());
        QVERIFY(rig.program.state.LastLaunchLog.startsWith(QStringLiteral("Loading")));
        QVERIFY(!QFile::exists(rig.folder.filePath("pwned")));
        QVERIFY(!QFile::exists(QStringLiteral("pwned")));
    }

    void emulatorOutputIsKeptWhateverItIs_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("logStart");
        QTest::addColumn<int>("minimumSize");
        QTest::newRow("crash") << "run-crash"
                               << "segv"
                               << "Loading \"Galaxian\"" << 60;
        QTest::newRow("abort") << "run-crash"
                               << "abort"
                               << "Loading \"Galaxian\"" << 60;
        QTest::newRow("error exit") << "run-exit"
                                    << "3"
                                    << "Loading \"Galaxian\"" << 60;
        QTest::newRow("silent") << "run-silent"
                                << "1"
                                << "" << 0;
        QTest::newRow("not UTF-8") << "run-non-utf8"
                                   << "1"
                                   << "Loading \"Galaxian\"" << 60;
        QTest::newRow("megabytes") << "run-megabytes"
                                   << "6"
                                   << "Loading \"Galaxian\"" << 6 * 1024 * 1024;
    }

    void emulatorOutputIsKeptWhateverItIs()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, logStart);
        QFETCH(int, minimumSize);
        LaunchRig rig;
        rig.addGame(QStringLiteral("galaxn"), QStringLiteral("Galaxian"));
        rig.addDirective(key.toLatin1().constData(), value);
        rig.install();
        rig.doubleClickRow(0);
        const QString& log = rig.program.state.LastLaunchLog;
        QVERIFY(log.startsWith(logStart));
        QVERIFY(log.size() >= minimumSize);
        QCOMPARE(log.isEmpty(), minimumSize == 0);
        QVERIFY2(log.isEmpty() || log.endsWith(QStringLiteral("\r\n")), "every line ends");
        QCOMPARE(log.contains(QChar(0xFFFD)), key == QStringLiteral("run-non-utf8"));
        QCOMPARE(rig.window.statusCaption(), QStringLiteral("Ha terminado la carga."));
        QVERIFY(!rig.program.state.EmulatorBusy);
        QVERIFY(rig.program.dialogs.shown.isEmpty());
        QVERIFY(!QFile::exists(rig.program.state.scratch.logPath()));
    }

    void archiveGoneSinceTheListWasBuilt()
    {
        LaunchRig rig;
        rig.addGame(QStringLiteral("galaxn"), QStringLiteral("Galaxian"));
        rig.install();
        QVERIFY(QFile::remove(rig.folder.filePath("roms/galaxn.zip")));
        rig.doubleClickRow(0);
        // The emulator says what is missing; the user reads it in the log.
        QVERIFY(rig.program.state.LastLaunchLog.contains(QStringLiteral("NOT FOUND")));
        QCOMPARE(rig.window.statusCaption(), QStringLiteral("Ha terminado la carga."));
        QVERIFY(!rig.program.state.EmulatorBusy);
    }

    void archiveNameReachesTheEmulatorWhole()
    {
        LaunchRig rig;
        rig.addGame(QStringLiteral("galaxn"), QStringLiteral("Galaxian"),
                    QStringLiteral("mi juego; 'x'.zip"));
        rig.install();
        rig.doubleClickRow(0);
        QCOMPARE(rig.program.state.LastLaunchLog,
                 QStringLiteral("Game \"mi juego; 'x'\" not supported\r\n"));
    }

    void definedKeysMoveTheGameSettingsAsideForTheRun_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<bool>("untickDuringRun");
        QTest::newRow("same name") << "galaxn.zip" << false;
        QTest::newRow("archive in capitals") << "GALAXN.zip" << false;
        QTest::newRow("box cleared by code meanwhile") << "galaxn.zip" << true;
    }

    void definedKeysMoveTheGameSettingsAsideForTheRun()
    {
        QFETCH(QString, archive);
        QFETCH(bool, untickDuringRun);
        LaunchRig rig;
        rig.addGame(QStringLiteral("galaxn"), QStringLiteral("Galaxian"), archive);
        rig.addDirective(runMs, QStringLiteral("500"));
        rig.install();
        rig.folder.writeFile("cfg/galaxn.cfg", "<user settings/>");
        rig.tickDefinedKeys();
        DuringRun seen;
        QTimer::singleShot(250, &rig.window, [&] {
            seen.settings = rig.fileOrNothing("cfg/galaxn.cfg");
            seen.backup = rig.fileOrNothing("cfg/galaxn.bak");
            if (untickDuringRun)
                rig.window.chkUsaControles->setChecked(false);
        });
        rig.doubleClickRow(0);
        QCOMPARE(seen.settings, QByteArray("(none)"));
        QCOMPARE(seen.backup, QByteArray("<user settings/>"));
        QCOMPARE(rig.fileOrNothing("cfg/galaxn.cfg"), QByteArray("<user settings/>"));
        QVERIFY(!rig.folder.exists("cfg/galaxn.bak"));
        QVERIFY(!rig.folder.exists("cfg/default.cfg"));
        QVERIFY(rig.program.dialogs.shown.isEmpty());
    }

    void definedKeysWithoutGameSettingsKeepWhatTheEmulatorWrote()
    {
        LaunchRig rig;
        rig.addGame(QStringLiteral("galaxn"), QStringLiteral("Galaxian"));
        rig.install();
        rig.tickDefinedKeys();
        rig.doubleClickRow(0);
        QVERIFY(rig.folder.readFile("cfg/galaxn.cfg").contains("<system name=\"galaxn\">"));
        QVERIFY(!rig.folder.exists("cfg/default.cfg"));
        QCOMPARE(rig.window.statusCaption(), QStringLiteral("Ha terminado la carga."));
    }

    void catalogueRowLaunchesItsOwnArchive()
    {
        LaunchRig rig;
        rig.addGame(QStringLiteral("zzgame"), QStringLiteral("Alpha"));
        rig.addGame(QStringLiteral("aagame"), QStringLiteral("Zeta"));
        rig.install();
        rig.folder.setVersion("0.70");
        QVERIFY(rig.window.Form_Load());
        QCOMPARE(rig.window.lstJuegos->item(0)->text(), QStringLiteral("Alpha"));
        rig.doubleClickRow(0);
        QCOMPARE(rig.program.state.LastLaunchTitle, QStringLiteral("Alpha"));
        QVERIFY(rig.program.state.LastLaunchLog.contains(QStringLiteral("(zzgame)")));
    }
};

QTEST_MAIN(LaunchTest)
#include "tst_launch.moc"
