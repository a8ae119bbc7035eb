// The start-up probe against real emulator folders: every version row, the version asked of
// the emulator, emulators that fail, and a CD.

#include "engine/catalogue/GeneratedFiles.h"
#include "engine/services/RunRecord.h"
#include "gui/app/frmCargador.h"
#include "gui/widgets/LabelButton.h"
#include "support/EmulatorFolder.h"
#include "support/ReadOnlyMount.h"
#include "support/Runs.h"
#include "support/SmallDisk.h"

#include <QCheckBox>
#include <QListView>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    // A folder without the emulator, none installed, or with a `mame` that cannot run: one
    // message and the end, nothing written. The message tells what to install, or what is wrong
    // with the folder's own one.
    void endsWithoutTheEmulator_data()
    {
        QTest::addColumn<QString>("mame");
        QTest::addColumn<QString>("said");
        QTest::newRow("none") << QString()
                              << "Fichero no encontrado.|No se ha encontrado M.A.M.E: la carpeta "
                                 "%1 no tiene el programa mame, y tampoco está instalado en el "
                                 "sistema. Instálalo con el gestor de paquetes de tu distribución "
                                 "(en Debian o Ubuntu, con la orden: sudo apt install mame) y "
                                 "vuelve a abrir Zefrin!, o copia Zefrin! en la carpeta de tu "
                                 "M.A.M.E.";
        const QString unusable = "M.A.M.E no se puede ejecutar.|El programa mame de la carpeta "
                                 "%1 no se puede ejecutar: %2. Corrígelo y vuelve a abrir Zefrin!.";
        QTest::newRow("broken link")
            << "link" << unusable.arg("%1", "es un enlace a un archivo que ya no existe");
        QTest::newRow("folder") << "folder" << unusable.arg("%1", "es una carpeta");
        QTest::newRow("not executable")
            << "file" << unusable.arg("%1", "no tiene permiso de ejecución");
    }

    void endsWithoutTheEmulator()
    {
        QFETCH(QString, mame);
        QFETCH(QString, said);
        EmulatorFolder folder;
        if (mame == "link")
            QVERIFY(QFile::link(folder.filePath("ya-no-esta"), folder.filePath("mame")));
        else if (mame == "folder")
            folder.makeFolder("mame");
        else if (mame == "file")
            folder.writeFile("mame", "#!/bin/sh\n");
        Program program(folder.path());
        frmCargador window(program.context);
        QVERIFY(!loadToEnd(window));
        QVERIFY(program.programExit.ended && !window.isVisible());
        QVERIFY2(!folder.exists("lista.txt") && !folder.exists("all.bat"), "nothing written");
        QCOMPARE(program.dialogs.shown.size(), 1);
        QCOMPARE(program.dialogs.shown.first().icon, Dialogs::Icon::Critical);
        QCOMPARE(program.dialogs.shown.first().title + '|' + program.dialogs.shown.first().text,
                 said.arg(folder.path()));
    }

    // The version from the release notes, else asked of the emulator ("-version"): it decides
    // the caption, the keys and the dialect the game list is read in. No end to the wait: the
    // unknown version (what any answer reads as is fuzzed).
    void versionRows_data()
    {
        // The emulator: empty, the stand-in; "elsewhere", the stand-in outside the folder (as
        // the one on PATH is); else a script that fails.
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
        // An old installation's release notes describe no emulator of the folder: the one that
        // runs is asked.
        row("today's, beside old notes", "elsewhere", "", "0.106\r\n",
            "Versión de M.A.M.E. (0.251)", true, true);
        // The folder's `mame` a link to the packaged emulator: the notes are still not its.
        row("today's, linked beside old notes", "link", "", "0.106\r\n",
            "Versión de M.A.M.E. (0.251)", true, true);
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
        const bool elsewhere = emulator == "elsewhere";
        if (elsewhere)
            emulator.clear();
        else if (emulator == "link") {
            emulator.clear();
            QVERIFY(QFile::link(ZEFRIN_STANDIN_PATH, folder.filePath("mame")));
        } else if (emulator.isEmpty())
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
        if (elsewhere)
            program.state.emulator.useEmulator(ZEFRIN_STANDIN_PATH);
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
        QCOMPARE(shownRows(window.lstJuegos).value(0), emulator.isEmpty() ? listed : QString());
        QCOMPARE(program.dialogs.shown.size(), emulator.isEmpty() ? 0 : 1);
        if (!emulator.isEmpty())
            QCOMPARE(program.dialogs.shown[0].text, gameListNotCreatedText(folder.path()));
    }

    // A start that first waits for an emulator an earlier copy left running goes on once that
    // run has ended: it asks the version then (or reads it), reads the list remade in the
    // dialect it gives, and asks where the emulator's own controller files are. The keys that
    // copy left in force show on in that dialect: today's keeps default.cfg in place.
    void waitingStartAsksTheVersion_data()
    {
        QTest::addColumn<QByteArray>("whatsnew"); // empty: none, the version is asked
        QTest::newRow("version asked") << QByteArray();
        QTest::newRow("version in the notes") << QByteArray("0.251");
    }

    void waitingStartAsksTheVersion()
    {
        QFETCH(QByteArray, whatsnew);
        EmulatorFolder folder;
        folder.installEmulator();
        if (!whatsnew.isEmpty())
            folder.setVersion(whatsnew);
        const QTemporaryDir package;
        folder.writeFile("standin.dat",
                         "dialect\ttoday\npackage-ctrlr\t" + package.path().toUtf8() +
                             "\ngame\tairdueljm72\tAir Duel (Japan, M72 hardware)\n");
        folder.writeFile("roms/airdueljm72.zip", {});
        folder.writeFile("lista.txt", "Name:             Description:\n");
        folder.writeFile("mame.ini", "ctrlr Zefrin\n");
        folder.writeFile("ctrlr/Zefrin/default.ini", "[teclas]\n");
        folder.writeFile("ctrlr/Zefrin.cfg", "<mameconfig/>\n");
        folder.writeFile("cfg/default.cfg", "<mameconfig/>\n");
        QProcess earlier;
        earlier.start("sleep", {"2"});
        QVERIFY(earlier.waitForStarted());
        Program program(folder.path());
        QVERIFY(writeRunRecord(program.state.records.gameList, folder.path(),
                               withRun({}, processIdentity(earlier.processId()))));
        frmCargador window(program.context);
        QVERIFY(loadToEnd(window));
        QTRY_COMPARE_WITH_TIMEOUT(shownRows(window.lstJuegos).value(0),
                                  QStringLiteral("Air Duel (Japan, M72 hardware)"), 20000);
        QCOMPARE(program.state.EmulatorVersion.shown(), QStringLiteral("0.251"));
        QTRY_COMPARE(window.statusCaption(), QStringLiteral("M.A.M.E se ha cerrado y Zefrin! ha "
                                                            "devuelto lo que tenía apartado."));
        QVERIFY2(program.state.controllerFolders.endsWith(";" + package.path()),
                 qPrintable(program.state.controllerFolders));
        QVERIFY(window.chkUsaControles->isEnabled() && window.chkUsaControles->isChecked());
        QVERIFY(folder.exists("cfg/default.cfg") && !folder.exists("cfg/default.bak"));
        QVERIFY(program.dialogs.shown.isEmpty());
    }

    // The game list is the emulator's: one made by another emulator (the distribution upgraded
    // it, also while the list was being made) is made again at start, the CRC list with it; the
    // same emulator's is kept.
    void listOfAnotherEmulatorIsMadeAgain_data()
    {
        QTest::addColumn<QString>("replaced");
        QTest::addColumn<bool>("remade");
        QTest::newRow("same emulator") << "never" << false;
        QTest::newRow("emulator replaced") << "after" << true;
        QTest::newRow("replaced while the list is made") << "during" << true;
    }

    void listOfAnotherEmulatorIsMadeAgain()
    {
        QFETCH(QString, replaced);
        QFETCH(bool, remade);
        EmulatorFolder folder;
        folder.installEmulator();
        if (replaced == "during") {
            // The emulator changes (as an upgrade in place would) once it has been started.
            QVERIFY(QFile::rename(folder.filePath("mame"), folder.filePath("mame-real")));
            folder.writeFile("mame",
                             "#!/bin/sh\ntouch -d @2000000000 \"$0\"\nexec ./mame-real \"$@\"\n");
            QVERIFY(QFile::setPermissions(folder.filePath("mame"),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        folder.setVersion("0.70");
        folder.writeFile("standin.dat", "game\ta\tAntiguo\n");
        folder.writeFile("roms/a.zip", {});
        QTemporaryDir records;
        const auto firstRow = [&] {
            Program program(folder.path());
            program.state.records = RunRecords::forFolder(folder.path(), records.path());
            frmCargador window(program.context);
            const QStringList rows =
                loadToEnd(window) ? shownRows(window.lstJuegos) : QStringList();
            return rows.size() == 1 ? rows.first() : QString();
        };
        QCOMPARE(firstRow(), QStringLiteral("Antiguo"));
        folder.writeFile("standin.dat", "game\ta\tNuevo\n");
        folder.writeFile("listacrc.txt", "12345678 a.bin\ta\tAntiguo\n");
        if (replaced == "after") {
            folder.installEmulator();
            QFile mame(folder.filePath("mame"));
            QVERIFY(mame.open(QIODevice::ReadWrite) &&
                    mame.setFileTime(QDateTime::currentDateTime().addDays(1),
                                     QFileDevice::FileModificationTime));
        }
        QCOMPARE(firstRow(), remade ? QStringLiteral("Nuevo") : QStringLiteral("Antiguo"));
        QCOMPARE(folder.exists("listacrc.txt"), !remade);
    }

    // A lock that cannot be made (the user's data folder is full or read-only) is no copy
    // running: the message names the folder and the reason, and the start ends.
    void lockThatCannotBeMadeIsSaidSo_data()
    {
        QTest::addColumn<QString>("disk");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full") << "full"
                              << "el disco está lleno";
        QTest::newRow("read-only") << "read-only"
                                   << "la carpeta es de sólo lectura";
        // The lock of a copy that ended by force cannot be taken over there: no copy runs.
        QTest::newRow("read-only, stale lock") << "read-only, stale"
                                               << "la carpeta es de sólo lectura";
        QTest::newRow("a file in its place") << "file"
                                             << "en su lugar hay un archivo con ese nombre";
    }

    void lockThatCannotBeMadeIsSaidSo()
    {
        QFETCH(QString, disk);
        QFETCH(QString, reason);
        EmulatorFolder folder;
        folder.installEmulator();
        Program program(folder.path());
        const QString lockFolder = program.lockFolder.path();
        std::optional<SmallDisk> small;
        std::optional<ReadOnlyMount> readOnly;
        if (disk == "full") {
            small.emplace(lockFolder, 16);
            QFile filler(lockFolder + "/relleno");
            if (!small->mounted || !filler.open(QIODevice::WriteOnly))
                QSKIP("a small disk needs the right to mount");
            while (filler.write(QByteArray(4096, 'x')) == 4096 && filler.flush()) {
            }
        } else if (disk == "file") {
            QVERIFY(QDir(lockFolder).removeRecursively());
            QFile file(lockFolder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else {
            if (disk.endsWith("stale")) {
                // A lock file naming a process of this host that has ended.
                QProcess ended;
                ended.start("true");
                QVERIFY(ended.waitForStarted());
                const qint64 pid = ended.processId();
                QVERIFY(ended.waitForFinished());
                QFile lock(lockFolder + "/zefrin.lock");
                QVERIFY(lock.open(QIODevice::WriteOnly));
                lock.write(QByteArray::number(pid) + '\n' +
                           QCoreApplication::applicationName().toUtf8() + '\n' +
                           QSysInfo::machineHostName().toUtf8() + '\n');
            }
            readOnly.emplace(lockFolder);
            if (!readOnly->readOnly)
                QSKIP("a read-only mount needs the right to mount");
        }
        frmCargador window(program.context);
        const bool loaded = loadToEnd(window);
        if (disk == "file") // the folder back, for its own removal
            QVERIFY(QFile::remove(lockFolder) && QDir().mkdir(lockFolder));
        QVERIFY(!loaded);
        QVERIFY(program.programExit.ended && !window.isVisible());
        QCOMPARE(program.dialogs.shown.size(), 1);
        const ShownMessage& said = program.dialogs.shown.first();
        QCOMPARE(said.icon, Dialogs::Icon::Critical);
        QCOMPARE(said.title, QStringLiteral("Zefrin! no puede abrirse."));
        QVERIFY2(said.text.contains(lockFolder) && said.text.contains(reason),
                 qPrintable(said.text));
    }

    // The user's own settings name a controller file of the emulator's package: the first
    // start's mame.ini names it too, and a game still finds it, beside the folder's ctrlr
    // folder, where the program's own files are. The same when the folder's mame.ini names
    // its folder: on the last of its ctrlrpath lines (the one the emulator takes; a '#' starts
    // a comment there as on a line of its own), or through
    // an environment variable (the emulator expands those in its settings files, not on its
    // command line).
    void packagesControllerFileStillLoads_data()
    {
        QTest::addColumn<QByteArray>("ini"); // the folder's mame.ini, %1 the package's folder
        QTest::newRow("the emulator's settings") << QByteArray();
        QTest::newRow("the folder's mame.ini")
            << QByteArray("ctrlrpath /ninguna\nctrlrpath %1  # el paquete\nctrlr xarcade\n");
        QTest::newRow("a variable")
            << QByteArray("ctrlrpath ~/nada;${ZEFRIN_PAQUETE}\nctrlr xarcade\n");
    }

    void packagesControllerFileStillLoads()
    {
        QFETCH(QByteArray, ini);
        EmulatorFolder folder;
        QTemporaryDir package;
        QFile xarcade(package.filePath("xarcade.cfg"));
        QVERIFY(xarcade.open(QIODevice::WriteOnly));
        xarcade.close();
        folder.installEmulator();
        const QByteArray packageFolder = package.path().toUtf8();
        qputenv("ZEFRIN_PAQUETE", packageFolder);
        if (!ini.isEmpty())
            folder.writeFile("mame.ini", ini.replace("%1", packageFolder));
        folder.writeFile("standin.dat", "dialect\ttoday\n" +
                                            (!ini.isEmpty() ? QByteArray()
                                                            : "package-ctrlr\t" + packageFolder +
                                                                  "\nuser-ctrlr\txarcade\n") +
                                            "game\tpong\tPong\n");
        folder.writeFile("roms/pong.zip", {});
        folder.makeFolder("ctrlr");
        Program program(folder.path());
        frmCargador window(program.context);
        QVERIFY(loadToEnd(window));
        QVERIFY2(!ini.isEmpty() ||
                     folder.readFile("mame.ini").contains("\nctrlr                     xarcade\n"),
                 folder.readFile("mame.ini").constData());
        window.show();
        doubleClickRow(window.lstJuegos, 0);
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
