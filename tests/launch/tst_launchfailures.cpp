// Launches that cannot be completed: a settings folder or file that cannot be changed, no
// scratch folder for the script, the emulator's output gone. Each is reported, the window is
// unlocked, and the game's own settings are never left in the backup.

#include "launch/LaunchRig.h"
#include "widgets/Pointer.h"

#include <QCheckBox>
#include <QListWidget>
#include <QTimer>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

const QString loading = QStringLiteral("Cargando ROM, por favor se paciente.");
const QString settingsFolderText =
    QStringLiteral("No se puede modificar el archivo de configuraciones, compruebe que todos los "
                   "archivos de la carpeta 'cfg' dentro de la carpeta de M.A.M.E no tengan la "
                   "propiedad 'sólo lectura, de ser así Zefrin! no podrá continuar con la carga "
                   "de la ROM.");
const QByteArray userSettings = "<user settings/>";

} // namespace

class LaunchFailuresTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<LaunchRig> rig;

    // A game with settings of its own, the defined keys on, and an earlier launch's log.
    void prepare(bool withGameSettings = true, const char* runMs = "0")
    {
        rig = std::make_unique<LaunchRig>();
        rig->addGame(QStringLiteral("galaxn"), QStringLiteral("Galaxian"));
        rig->addDirective("run-ms", QString::fromLatin1(runMs));
        rig->install();
        rig->folder.makeFolder("cfg");
        if (withGameSettings)
            rig->folder.writeFile("cfg/galaxn.cfg", userSettings);
        rig->tickDefinedKeys();
        rig->program.state.LastLaunchLog = QStringLiteral("earlier\r\n");
    }

    // The launch ended and said so once (or twice, when settings were stranded), unlocked.
    void verifyReported(const QString& text, int messages = 1)
    {
        QCOMPARE(rig->program.dialogs.shown.size(), messages);
        const ShownMessage& shown = rig->program.dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::Critical);
        QCOMPARE(shown.title, QStringLiteral("Error."));
        QVERIFY2(shown.text.contains(text), qPrintable(shown.text));
        QVERIFY(!rig->program.state.EmulatorBusy);
        QVERIFY(!hourglassShown());
        QCOMPARE(rig->window.statusCaption(), loading);
        QCOMPARE(rig->program.state.LastLaunchTitle, QStringLiteral("Galaxian"));
    }

private slots:
    void cleanup() { rig.reset(); }

    void settingsFolderThatCannotChangeStopsBeforeTheRun()
    {
        prepare();
        const Immutable locked(rig->folder.filePath("cfg"));
        if (!locked.active())
            QSKIP("no immutable attribute here");
        rig->doubleClickRow(0);
        verifyReported(settingsFolderText);
        QCOMPARE(rig->folder.readFile("cfg/galaxn.cfg"), userSettings);
        QCOMPARE(rig->program.state.LastLaunchLog, QStringLiteral("earlier\r\n"));
    }

    void defaultSettingsThatCannotGoPutTheGameSettingsBack()
    {
        prepare();
        rig->folder.writeFile("cfg/default.cfg", "<parked? no, locked/>");
        const Immutable locked(rig->folder.filePath("cfg/default.cfg"));
        if (!locked.active())
            QSKIP("no immutable attribute here");
        rig->doubleClickRow(0);
        verifyReported(settingsFolderText);
        // Put back rather than left to the next launch, which would overwrite the backup.
        QCOMPARE(rig->folder.readFile("cfg/galaxn.cfg"), userSettings);
        QVERIFY(!rig->folder.exists("cfg/galaxn.bak"));
        QVERIFY(rig->program.state.LastLaunchLog.contains(
            QStringLiteral("Unable to write configuration file")));
    }

    void defaultSettingsThatCannotGoWithoutGameSettings()
    {
        prepare(false);
        rig->folder.writeFile("cfg/default.cfg", "<locked/>");
        const Immutable locked(rig->folder.filePath("cfg/default.cfg"));
        if (!locked.active())
            QSKIP("no immutable attribute here");
        rig->doubleClickRow(0);
        verifyReported(QStringLiteral("'default.cfg'"));
        QVERIFY(rig->program.dialogs.shown.first().text != settingsFolderText);
    }

    void settingsThatCannotBePutBackAreNamed()
    {
        prepare(true, "600");
        std::unique_ptr<Immutable> locked;
        QTimer::singleShot(200, &rig->window, [&] {
            locked = std::make_unique<Immutable>(rig->folder.filePath("cfg"));
        });
        rig->doubleClickRow(0);
        if (!locked || !locked->active())
            QSKIP("no immutable attribute here");
        verifyReported(settingsFolderText, 2);
        QVERIFY(rig->program.dialogs.shown.last().text.contains(
            rig->folder.filePath("cfg/galaxn.bak")));
        QCOMPARE(rig->folder.readFile("cfg/galaxn.bak"), userSettings);
    }

    void switchOffLeavesALockedSettingsFolderAlone()
    {
        prepare();
        rig->window.chkUsaControles->setChecked(false);
        const Immutable locked(rig->folder.filePath("cfg"));
        if (!locked.active())
            QSKIP("no immutable attribute here");
        rig->doubleClickRow(0);
        QVERIFY(rig->program.dialogs.shown.isEmpty());
        QCOMPARE(rig->window.statusCaption(), QStringLiteral("Ha terminado la carga."));
        QCOMPARE(rig->folder.readFile("cfg/galaxn.cfg"), userSettings);
    }

    void noScratchFolder_data()
    {
        QTest::addColumn<bool>("withGameSettings");
        QTest::newRow("handler armed") << true;
        QTest::newRow("not armed") << false;
    }

    void noScratchFolder()
    {
        QFETCH(bool, withGameSettings);
        prepare(withGameSettings);
        // A scratch folder that cannot be made: the temporary folder is a file.
        const QByteArray tmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", rig->folder.filePath("standin.dat").toLocal8Bit());
        Program program(rig->folder.path());
        tmp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmp);
        QVERIFY(!program.state.scratch.isValid());
        program.state.EmulatorVersion = QStringLiteral("0.70");
        frmCargador window(program.context);
        window.ROMs = rig->window.ROMs;
        window.ROMTemporal = rig->window.ROMTemporal;
        window.lstJuegos->addItem(QStringLiteral("Galaxian"));
        window.lstJuegos->setCurrentRow(0);
        window.chkUsaControles->setChecked(true);
        window.LaunchSelectedGame();
        QCOMPARE(program.dialogs.shown.size(), 1);
        QCOMPARE(program.dialogs.shown.first().text != settingsFolderText, !withGameSettings);
        QVERIFY(!program.state.EmulatorBusy);
        if (withGameSettings)
            QCOMPARE(rig->folder.readFile("cfg/galaxn.cfg"), userSettings);
        QVERIFY(!rig->folder.exists("cfg/galaxn.bak"));
    }

    void emulatorGoneSinceStartUp()
    {
        prepare(false);
        QVERIFY(QFile::remove(rig->folder.filePath("mame")));
        rig->doubleClickRow(0);
        verifyReported(rig->folder.filePath("mame"));
        QVERIFY(!QFile::exists(rig->program.state.scratch.playScriptPath()));
    }

    void outputThatVanishedIsReported()
    {
        prepare(false, "500");
        QTimer::singleShot(250, &rig->window,
                           [&] { QFile::remove(rig->program.state.scratch.logPath()); });
        rig->doubleClickRow(0);
        verifyReported(rig->program.state.scratch.logPath());
        QCOMPARE(rig->program.state.LastLaunchLog, QStringLiteral("earlier\r\n"));
    }
};

QTEST_MAIN(LaunchFailuresTest)
#include "tst_launchfailures.moc"
