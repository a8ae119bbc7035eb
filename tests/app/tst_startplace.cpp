// Which emulator folder and emulator a start uses: the command line's folder, the program's
// own folder in the classic set-up, the folder used last, the folder chooser; the emulator on
// PATH for a folder without its own; folders that cannot be used. The settings live in a file
// of the test's own, never in the user's.

#include "gui/app/StartPlace.h"
#include "gui/app/frmCargador.h"
#include "support/EmulatorFolder.h"
#include "support/Runs.h"

#include <QFileDialog>
#include <QSettings>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

// An emulator that does nothing.
void installExecutable(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n") == 10);
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

// PATH for the test's process and the emulator runs it starts, until the result is dropped.
auto pathSetTo(const QString& path)
{
    auto restore = qScopeGuard([saved = qgetenv("PATH")] { qputenv("PATH", saved); });
    qputenv("PATH", QFile::encodeName(path));
    return restore;
}

} // namespace

class StartPlaceTest : public QObject {
    Q_OBJECT

    QTemporaryDir configHome_;

private slots:
    void initTestCase()
    {
        // The user's settings of this process, should anything write them, land here.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome_.path()));
    }

    // Qt's own chooser keeps what it last showed in the user's settings when it closes.
    void cancelledChooserWritesNothing()
    {
        MessageBoxDialogs dialogs;
        QTimer closer;
        connect(&closer, &QTimer::timeout, &closer, [] {
            if (auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                chooser->reject();
        });
        closer.start(50);
        QCOMPARE(dialogs.chooseFolder(nullptr, "Carpeta", configHome_.path()), QString());
        QVERIFY(QDir(configHome_.path())
                    .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }

    void folderOrder_data()
    {
        QTest::addColumn<bool>("argument");
        QTest::addColumn<QString>("own");        // what the program's own folder holds
        QTest::addColumn<QString>("remembered"); // "", "kept", or "gone" since
        QTest::addColumn<QString>("expected");   // the folder used; empty: the program ends
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("rememberedAfter"); // the folder of the settings afterwards

        const auto row = [](const char* tag, bool argument, const char* own, const char* remembered,
                            const char* expected, bool asked, const char* rememberedAfter) {
            QTest::newRow(tag) << argument << QString(own) << QString(remembered)
                               << QString(expected) << asked << QString(rememberedAfter);
        };
        row("argument first", true, "mame", "kept", "argument", false, "argument");
        row("own folder with the emulator", false, "mame", "kept", "own", false, "remembered");
        row("own folder with roms", false, "roms", "kept", "own", false, "remembered");
        row("remembered", false, "", "kept", "remembered", false, "remembered");
        row("chosen", false, "", "", "chosen", true, "chosen");
        row("remembered one gone, chosen", false, "", "gone", "chosen", true, "chosen");
        row("chooser cancelled", false, "", "", "", true, "");
    }

    void folderOrder()
    {
        QFETCH(bool, argument);
        QFETCH(QString, own);
        QFETCH(QString, remembered);
        QFETCH(QString, expected);
        QFETCH(bool, asked);
        QFETCH(QString, rememberedAfter);
        QTemporaryDir root;
        QMap<QString, QString> folders;
        for (const QString name : {"own", "argument", "remembered", "chosen"}) {
            folders[name] = root.filePath(name);
            QVERIFY(QDir().mkpath(folders[name]));
            if (name != "own")
                installExecutable(folders[name] + "/mame");
        }
        if (own == "mame")
            installExecutable(folders["own"] + "/mame");
        else if (!own.isEmpty())
            QVERIFY(QDir().mkpath(folders["own"] + "/" + own));
        const QString settingsPath = root.filePath("settings/zefrin.conf");
        if (!remembered.isEmpty()) {
            QSettings earlier(settingsPath, QSettings::IniFormat);
            earlier.setValue("emulatorFolder", folders["remembered"]);
        }
        if (remembered == "gone")
            QVERIFY(QDir(folders["remembered"]).removeRecursively());
        QSettings settings(settingsPath, QSettings::IniFormat);
        // A chosen folder that cannot be used is said, and the chooser opens again.
        const bool chosen = asked && !expected.isEmpty();
        const QString refused = root.filePath("mame;x");
        QVERIFY(QDir().mkpath(refused));
        RecordingDialogs dialogs;
        dialogs.chosenFolders = chosen ? QStringList{refused, folders["chosen"]} : QStringList{""};

        QStringList arguments{"zefrin"};
        if (argument)
            arguments << folders["argument"];
        const std::optional<EmulatorPlace> place =
            startPlace(arguments, folders["own"], settings, dialogs);
        settings.sync();

        QCOMPARE(place.has_value(), !expected.isEmpty());
        QCOMPARE(dialogs.chooserStarts.size(), chosen ? 2 : asked ? 1 : 0);
        QCOMPARE(dialogs.shown.size(), chosen ? 1 : 0);
        if (chosen)
            QCOMPARE(dialogs.shown[0].text,
                     folderProblemText(FolderProblem::ShellCharacters, refused));
        if (!place) {
            QVERIFY2(!QFile::exists(settingsPath), "a cancelled start writes nothing");
            return;
        }
        QCOMPARE(place->folder, folders[expected]);
        QCOMPARE(place->program, folders[expected] + "/mame");
        QCOMPARE(settings.value("emulatorFolder").toString(), folders[rememberedAfter]);
    }

    // The emulator of a folder given as the argument: its own, else the one on PATH; a folder
    // with neither is not remembered. Beside the program a missing emulator stays missing.
    void emulatorOnPath_data()
    {
        QTest::addColumn<bool>("ownEmulator");
        QTest::addColumn<bool>("onPath");
        QTest::addColumn<bool>("classic"); // the program's own folder, with roms
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("remembered");
        QTest::newRow("the folder's own") << true << true << false << "folder" << true;
        QTest::newRow("the one on PATH") << false << true << false << "path" << true;
        QTest::newRow("none anywhere") << false << false << false << "folder" << false;
        QTest::newRow("classic without its own") << false << true << true << "folder" << false;
    }

    void emulatorOnPath()
    {
        QFETCH(bool, ownEmulator);
        QFETCH(bool, onPath);
        QFETCH(bool, classic);
        QFETCH(QString, expected);
        QTemporaryDir folder;
        QTemporaryDir bin;
        QVERIFY(QDir().mkpath(folder.filePath("roms")));
        if (ownEmulator)
            installExecutable(folder.filePath("mame"));
        if (onPath)
            installExecutable(bin.filePath("mame"));
        const auto path = pathSetTo(bin.path());
        RecordingDialogs dialogs;
        QSettings settings(bin.filePath("zefrin.conf"), QSettings::IniFormat);
        QStringList arguments{"zefrin"};
        if (!classic)
            arguments << folder.path();
        const std::optional<EmulatorPlace> place =
            startPlace(arguments, classic ? folder.path() : bin.path(), settings, dialogs);
        settings.sync();
        QVERIFY(place && place->folder == folder.path());
        QCOMPARE(place->program,
                 expected == "path" ? bin.filePath("mame") : folder.filePath("mame"));
        QTEST(QFile::exists(bin.filePath("zefrin.conf")), "remembered");
    }

    // A folder of ROMs with today's emulator elsewhere on PATH: the version, the game list and
    // a game all run that one, in the folder.
    void folderRunsTheEmulatorOnPath()
    {
        EmulatorFolder folder;
        folder.writeFile("standin.dat", "dialect\ttoday\ngame\tairdueljm72\tAir Duel\n");
        folder.writeFile("roms/airdueljm72.zip", {});
        EmulatorFolder emulator(QStringLiteral("bin"));
        emulator.installEmulator();
        const auto path = pathSetTo(emulator.path() + ":/usr/bin:/bin");
        Program program(folder.path());
        program.state.emulator.useEmulator(placeFor(folder.path(), FolderSource::Argument).program);
        frmCargador window(program.context);
        QVERIFY(loadToEnd(window));
        QCOMPARE(window.statusCaption(), QStringLiteral("Versión de M.A.M.E. (0.251)"));
        QCOMPARE(window.lstJuegos->item(0)->text(), QStringLiteral("Air Duel"));
        doubleClickRow(window.lstJuegos, window.lstJuegos->item(0));
        QTRY_VERIFY_WITH_TIMEOUT(!window.emulatorBusy(), 60000);
        QCOMPARE(window.statusCaption(), QStringLiteral("Ha terminado la carga."));
        QVERIFY(program.dialogs.shown.isEmpty());
        QVERIFY(!emulator.exists("lista.txt") && !emulator.exists("mame.ini"));
    }

    void badArgument_data()
    {
        QTest::addColumn<QString>("name"); // under a temporary folder
        QTest::addColumn<QString>("kind"); // what is made there: "", "file", "folder"
        QTest::addColumn<int>("problem");
        QTest::newRow("missing") << "nada"
                                 << "" << int(FolderProblem::Missing);
        QTest::newRow("a file") << "roms.zip"
                                << "file" << int(FolderProblem::NotAFolder);
        QTest::newRow("unreadable") << "cerrada"
                                    << "locked" << int(FolderProblem::Unreadable);
        for (const char* name : {"mame$(touch pwned)", "mame`touch pwned`", "mame\"x", "mame'x",
                                 "mame;touch pwned", "mame\ntouch pwned"})
            QTest::newRow(QByteArray(name).replace('\n', "\\n").constData())
                << name << "folder" << int(FolderProblem::ShellCharacters);
        // Given by a name relative to a folder whose own name a shell would read.
        QTest::newRow("relative") << "mame$(touch pwned)/juegos"
                                  << "relative" << int(FolderProblem::ShellCharacters);
    }

    void badArgument()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(int, problem);
        QTemporaryDir root;
        const QString given = root.filePath(name);
        if (kind == "file")
            installExecutable(given);
        else if (!kind.isEmpty())
            QVERIFY(QDir().mkpath(given));
        const QString current = QDir::currentPath();
        if (kind == "relative")
            QVERIFY(QDir::setCurrent(QFileInfo(given).path()));
        if (kind == "locked") {
            QVERIFY(QFile::setPermissions(given, QFileDevice::WriteOwner));
            if (QFileInfo(given).isReadable())
                QSKIP("permissions do not bind this user (root)");
        }
        installExecutable(root.filePath("mame")); // a classic set-up beside the program too
        const QString settingsPath = root.filePath("settings/zefrin.conf");
        QSettings settings(settingsPath, QSettings::IniFormat);
        RecordingDialogs dialogs;

        const QString argument = kind == "relative" ? QFileInfo(given).fileName() : given;
        QVERIFY(!startPlace({"zefrin", argument}, root.path(), settings, dialogs));
        QDir::setCurrent(current);
        settings.sync();
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].icon, Dialogs::Icon::Critical);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("Carpeta no válida."));
        QCOMPARE(dialogs.shown[0].text, folderProblemText(FolderProblem(problem), given));
        QVERIFY(dialogs.chooserStarts.isEmpty());
        QVERIFY2(!QFile::exists(settingsPath), "nothing is remembered");
        QVERIFY(!QFile::exists(root.filePath("pwned")) && !QFile::exists("pwned"));
        if (kind == "folder" || kind == "relative")
            QVERIFY(QDir(given).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        (void)QFile::setPermissions(given, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner);
    }
};

QTEST_MAIN(StartPlaceTest)
#include "tst_startplace.moc"
