// The start-up probe against real emulator folders: every version row, the version asked of
// the emulator, emulators that fail, and a CD.

#include "engine/catalogue/GeneratedFiles.h"
#include "gui/app/frmCargador.h"
#include "gui/widgets/LabelButton.h"
#include "support/EmulatorFolder.h"
#include "support/Runs.h"

#include <QCheckBox>
#include <QListWidget>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    // Copied into a folder without the emulator: one message and the end, nothing written.
    void endsWithoutTheEmulator()
    {
        EmulatorFolder folder;
        Program program(folder.path());
        frmCargador window(program.context);
        QVERIFY(!loadToEnd(window));
        QVERIFY(program.programExit.ended && !window.isVisible());
        QVERIFY2(!folder.exists("lista.txt") && !folder.exists("all.bat"), "nothing written");
        QCOMPARE(program.dialogs.shown.size(), 1);
        QCOMPARE(program.dialogs.shown.first().icon, Dialogs::Icon::Critical);
        QCOMPARE(program.dialogs.shown.first().title + '|' + program.dialogs.shown.first().text,
                 "Fichero no encontrado.|No se ha encontrado el archivo ejecutable de M.A.M.E "
                 "(mame.exe) sin este archivo el Zefrin! no funcionará, por favor copia este "
                 "programa en la misma carpeta que el M.A.M.E.");
    }

    // The version from the release notes, else asked of the emulator ("-version"): it decides
    // the caption, the keys and the dialect the game list is read in. No end to the wait: the
    // unknown version (what any answer reads as is fuzzed).
    void versionRows_data()
    {
        // The emulator: empty, the stand-in; else a script that fails.
        QTest::addColumn<QByteArray>("emulator");
        QTest::addColumn<QByteArray>("directives"); // of the stand-in
        QTest::addColumn<QByteArray>("whatsnew");   // empty: no file
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("keys");
        QTest::addColumn<bool>("settingsCreated");
        QTest::addColumn<bool>("today");
        const auto row = [](const char* tag, const QByteArray& emulator, const char* directives,
                            const char* whatsnew, const char* caption, bool keys,
                            bool settingsCreated) {
            QTest::newRow(tag) << emulator << QByteArray(directives) << QByteArray(whatsnew)
                               << QString(caption) << keys << settingsCreated
                               << QByteArray(tag).startsWith("today");
        };
        row("0.37 BETA 14", {}, "", "0.37 BETA 14\r\n",
            "Version de M.A.M.E. (0.37 BETA 14) (No configurable)", false, false);
        row("0.59", {}, "", "\r\n0.59\r\n",
            "Versión de M.A.M.E. (0.59) (Controles no configurables)", false, true);
        row("today's, asked", {}, "", "", "Versión de M.A.M.E. (0.251)", true, true);
        row("no end", {}, "version-delay-ms\t60000\n", "", "(Versión de M.A.M.E desconocida)",
            false, false);
        // No game list, and the user is told why.
        row("fails", "#!/bin/sh\nexit 3\n", "", "0.70", "Versión de M.A.M.E. (0.70)", true, false);
    }

    void versionRows()
    {
        QFETCH(QByteArray, emulator);
        QFETCH(QByteArray, directives);
        QFETCH(QByteArray, whatsnew);
        QFETCH(QString, caption);
        QFETCH(bool, keys);
        QFETCH(bool, settingsCreated);
        QFETCH(bool, today);
        EmulatorFolder folder;
        if (emulator.isEmpty())
            folder.installEmulator();
        else {
            folder.writeFile("mame", emulator);
            QVERIFY(QFile::setPermissions(folder.filePath("mame"),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        folder.writeFile("standin.dat", "dialect\ttoday\n" + directives +
                                            "game\tairdueljm72\tAir Duel (Japan, M72 hardware)\n");
        folder.writeFile("roms/airdueljm72.zip", {});
        if (!whatsnew.isEmpty())
            folder.writeFile("whatsnew.txt", whatsnew);
        // Today's "-cc" writes ui.ini and plugin.ini too: the user's own stay as they are.
        folder.writeFile("ui.ini", "hide_main_panel 1\nui_font MiFuente\n");
        folder.writeFile("plugin.ini", "hiscore 1\n");
        const QStringList made{"mame.ini", "lista.txt", "all.bat", "Zefrin.tlc",
                               "standin-calls.txt"};
        const QMap<QString, QByteArray> before = folderContents(folder.path(), made);
        Program program(folder.path());
        frmCargador window(program.context);
        QVERIFY(loadToEnd(window));

        QCOMPARE(window.statusCaption(), caption);
        QCOMPARE(folder.exists("mame.ini"), settingsCreated);
        QCOMPARE(folderContents(folder.path(), made), before);
        QCOMPARE(window.chkUsaControles->isEnabled(), keys);
        QVERIFY2(window.lblTeclas->isEnabled(), "a grey button still answers with its refusal");
        QCOMPARE(window.lblTeclas->toolTip(),
                 keys ? QStringLiteral("Configuración de teclas de M.A.M.E. para versiones "
                                       "posteriores a la 0.59b.")
                      : QStringLiteral("Función no habilitada."));
        // The list is read as the dialect says: only today's reader finds the long name. No list,
        // no rows.
        const QString listed =
            today ? "Air Duel (Japan, M72 hardware)" : "ROM desconocida(airdueljm72.zip)";
        QCOMPARE(window.lstJuegos->count() ? window.lstJuegos->item(0)->text() : QString(),
                 emulator.isEmpty() ? listed : QString());
        QCOMPARE(program.dialogs.shown.size(), emulator.isEmpty() ? 0 : 1);
        if (!emulator.isEmpty())
            QCOMPARE(program.dialogs.shown[0].text, gameListNotCreatedText(folder.path()));
    }

    // The user's own settings name a controller file of the emulator's package: the first
    // start's mame.ini names it too, and a game still finds it, beside the folder's ctrlr
    // folder, where the program's own files are.
    void packagesControllerFileStillLoads()
    {
        EmulatorFolder folder;
        QTemporaryDir package;
        QFile xarcade(package.filePath("xarcade.cfg"));
        QVERIFY(xarcade.open(QIODevice::WriteOnly));
        xarcade.close();
        folder.installEmulator();
        folder.writeFile("standin.dat", "dialect\ttoday\npackage-ctrlr\t" +
                                            package.path().toUtf8() +
                                            "\nuser-ctrlr\txarcade\ngame\tpong\tPong\n");
        folder.writeFile("roms/pong.zip", {});
        folder.makeFolder("ctrlr");
        Program program(folder.path());
        frmCargador window(program.context);
        QVERIFY(loadToEnd(window));
        QVERIFY2(folder.readFile("mame.ini").contains("\nctrlr                     xarcade\n"),
                 folder.readFile("mame.ini").constData());
        window.show();
        doubleClickRow(window.lstJuegos, window.lstJuegos->item(0));
        QTRY_VERIFY_WITH_TIMEOUT(!window.emulatorBusy(), 60000);
        QVERIFY2(program.state.LastLaunchLog.startsWith("Loading \"Pong\""),
                 program.state.LastLaunchLog.constData());
    }

    void cdModeLocksTheWritingCommands()
    {
        EmulatorFolder folder;
        folder.installEmulator();
        Program program(folder.path());
        frmCargador window(program.context);
        QVERIFY(loadToEnd(window));
        program.state.CdMode = true;
        window.ApplyCdMode();
        QCOMPARE(window.statusCaption(),
                 QStringLiteral("Ejecutando desde CD (Modo deshabilitado)"));
        for (QWidget* control : std::initializer_list<QWidget*>{
                 window.lblDirectorio, window.lblLista, window.lblTeclas, window.lblGestionar,
                 window.chkUsaControles})
            QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
