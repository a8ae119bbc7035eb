// Which emulator folder and emulator a start uses, and what it says of folders that cannot be
// used. The settings live in a file of the test's own, never in the user's.

#include "gui/app/StartPlace.h"
#include "support/TestSeams.h"

#include <QFileDialog>
#include <QSettings>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

// What a row makes at `path`: "file" an emulator that does nothing, "mame" a folder with one,
// "roms" a folder with a roms folder, "bare" or "relative" an empty folder.
void make(const QString& path, const QString& kind)
{
    if (kind == "mame" || kind == "roms" || kind == "bare" || kind == "relative")
        QVERIFY(QDir().mkpath(kind == "roms" ? path + "/roms" : path));
    if (kind != "mame" && kind != "file")
        return;
    QFile file(kind == "mame" ? path + "/mame" : path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n") == 10);
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

// PATH for the test's process, until the result is dropped.
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

    // The command line's folder, the program's own folder (the classic set-up), the folder used
    // last, the chooser, in this order. The emulator: the folder's own, else the one on PATH,
    // but never PATH's beside the program; a folder with neither is not remembered. A folder
    // that cannot be used is said: the command line's ends the start, a chosen one is asked
    // again.
    void folderOrder_data()
    {
        QTest::addColumn<QString>("argument"); // the command line's folder, under a temporary one
        QTest::addColumn<QString>("kind");     // what is made there: "mame", "bare" (a folder), ...
        QTest::addColumn<QString>("own");      // what the program's own folder holds
        QTest::addColumn<QString>("remembered"); // "", "kept", or "gone" since
        QTest::addColumn<bool>("onPath");
        QTest::addColumn<QString>("expected");        // the folder used; empty: the program ends
        QTest::addColumn<QString>("emulator");        // the folder of the emulator used
        QTest::addColumn<QString>("rememberedAfter"); // the folder of the settings afterwards
        QTest::addColumn<int>("problem");             // what is said of the command line's
        // Installed where the distribution puts it, off PATH (/usr/games missing from it).
        QTest::addColumn<bool>("installed");
        const auto row = [](const char* tag, const char* kind, const char* own,
                            const char* remembered, bool onPath, const char* expected,
                            const char* emulator, const char* rememberedAfter,
                            bool installed = false) {
            QTest::newRow(tag) << QString(kind) << QString(kind) << QString(own)
                               << QString(remembered) << onPath << QString(expected)
                               << QString(emulator) << QString(rememberedAfter)
                               << int(FolderProblem::None) << installed;
        };
        row("argument first", "mame", "mame", "kept", true, "argument", "argument", "argument");
        row("argument, PATH's", "bare", "", "", true, "argument", "bin", "argument");
        row("argument, installed off PATH", "bare", "", "", false, "argument", "games", "argument",
            true);
        row("argument, none", "bare", "", "kept", false, "argument", "argument", "remembered");
        row("own folder with roms", "", "roms", "kept", true, "own", "own", "remembered");
        // The program installed in a system folder beside the packaged emulator (/usr/bin on
        // some distributions): that folder is no emulator folder of a classic set-up.
        row("own folder a system one", "", "system mame", "kept", false, "remembered", "remembered",
            "remembered");
        row("remembered", "", "", "kept", false, "remembered", "remembered", "remembered");
        row("remembered one gone, chosen", "", "", "gone", false, "chosen", "chosen", "chosen");
        row("chooser cancelled", "", "", "", false, "", "", "");
        // A classic set-up beside the program does not stand in for a bad argument.
        const auto bad = [](const char* tag, const char* name, const char* kind, FolderProblem is) {
            QTest::newRow(tag) << QString(name) << QString(kind) << QString("mame") << QString()
                               << false << QString() << QString() << QString() << int(is) << false;
        };
        bad("missing", "nada", "missing", FolderProblem::Missing);
        bad("a file", "roms.zip", "file", FolderProblem::NotAFolder);
        bad("semicolon", "mame;touch pwned", "bare", FolderProblem::ShellCharacters);
        bad("line end", "mame\ntouch pwned", "bare", FolderProblem::ShellCharacters);
        // Given by a name relative to a folder whose own name a shell would read.
        bad("relative", "mame$(touch pwned)/juegos", "relative", FolderProblem::ShellCharacters);
    }

    void folderOrder()
    {
        QFETCH(QString, argument);
        QFETCH(QString, kind);
        QFETCH(QString, own);
        QFETCH(QString, remembered);
        QFETCH(bool, onPath);
        QFETCH(QString, expected);
        QFETCH(QString, emulator);
        QFETCH(QString, rememberedAfter);
        QFETCH(int, problem);
        QFETCH(bool, installed);
        QTemporaryDir root;
        QMap<QString, QString> folders{{"argument", root.filePath(argument)}};
        for (const QString name : {"own", "remembered", "chosen", "bin", "games"})
            folders[name] = root.filePath(name);
        const QString given = folders["argument"];
        make(given, kind);
        make(folders["own"], own.isEmpty() ? "bare" : own.section(' ', -1));
        make(folders["remembered"], "mame");
        make(folders["chosen"], "mame");
        make(folders["bin"], onPath ? "mame" : "bare");
        make(folders["games"], installed ? "mame" : "bare");
        const auto path = pathSetTo(folders["bin"]);
        QSettings settings(root.filePath("settings/zefrin.conf"), QSettings::IniFormat);
        if (!remembered.isEmpty())
            settings.setValue("emulatorFolder", folders["remembered"]);
        if (remembered == "gone")
            QVERIFY(QDir(folders["remembered"]).removeRecursively());
        const bool chosen = expected == "chosen";
        const bool asked = chosen || (expected.isEmpty() && problem == int(FolderProblem::None));
        const QString refused = root.filePath("mame;x");
        QVERIFY(QDir().mkpath(refused));
        RecordingDialogs dialogs;
        dialogs.chosenFolders = chosen ? QStringList{refused, folders["chosen"]} : QStringList{""};

        QStringList arguments{"zefrin"};
        if (!argument.isEmpty())
            arguments << (kind == "relative" ? QFileInfo(given).fileName() : given);
        const QString current = QDir::currentPath();
        if (kind == "relative")
            QVERIFY(QDir::setCurrent(QFileInfo(given).path()));
        const std::optional<EmulatorPlace> place = startPlace(
            arguments, folders["own"], settings, dialogs,
            QStringList{folders["games"]} +
                (own.startsWith("system") ? QStringList{folders["own"]} : QStringList()));
        QDir::setCurrent(current);
        settings.sync();

        QCOMPARE(place.has_value(), !expected.isEmpty());
        QCOMPARE(dialogs.chooserStarts.size(), chosen ? 2 : asked ? 1 : 0);
        const bool said = chosen || problem != int(FolderProblem::None);
        QCOMPARE(dialogs.shown.size(), said ? 1 : 0);
        if (said) {
            QCOMPARE(dialogs.shown[0].title, QStringLiteral("Carpeta no válida."));
            QCOMPARE(dialogs.shown[0].text,
                     chosen ? folderProblemText(FolderProblem::ShellCharacters, refused)
                            : folderProblemText(FolderProblem(problem), given));
        }
        QVERIFY(!QFile::exists(root.filePath("pwned")) && !QFile::exists("pwned"));
        if (!place) {
            QVERIFY2(!QFile::exists(settings.fileName()), "an ended start writes nothing");
            return;
        }
        QCOMPARE(place->folder, folders[expected]);
        QCOMPARE(place->program, folders[emulator] + "/mame");
        QCOMPARE(settings.value("emulatorFolder").toString(), folders[rememberedAfter]);
    }
};

QTEST_MAIN(StartPlaceTest)
#include "tst_startplace.moc"
