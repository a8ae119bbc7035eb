// The command scripts: their exact lines, and that no name put into them can run anything.

#include "engine/services/EmulatorCommands.h"
#include "engine/services/SystemServices.h"
#include "support/EmulatorFolder.h"
#include "support/Runs.h"

#include <QFile>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

// An emulator that writes each argument it got, NUL-separated, to args.bin in its folder, and
// a line to standard error between two to standard output.
const QByteArray recordingEmulator = "#!/bin/sh\n"
                                     "printf '%s\\0' \"$@\" > \"$(dirname \"$0\")/args.bin\"\n"
                                     "echo uno\necho dos >&2\necho tres\n";

} // namespace

class EmulatorCommandsTest : public QObject {
    Q_OBJECT

private slots:
    // The other scripts' lines are pinned where they run: the game list's, the check's and the
    // reports' by their own tests (today's reports against today's emulator itself).
    void scriptLines()
    {
        QCOMPARE(
            playScriptLines("/emu/MAME", "pacman", true, "/tmp/z/log.txt", Dialect::Classic).at(1),
            QStringLiteral("mame 'pacman' -soundcard 0 > '/tmp/z/log.txt' 2>&1"));
        // Today's: the folder's own files named, never -soundcard.
        QCOMPARE(playScriptLines("/emu/MAME", "pacman", true, "/tmp/z/log.txt", Dialect::Today,
                                 "ctrlr;/usr/share/games/mame/ctrlr"),
                 (QStringList{"cd '/emu/MAME'",
                              "mame 'pacman' -inipath . -rompath roms -cfg_directory cfg "
                              "-ctrlrpath 'ctrlr;/usr/share/games/mame/ctrlr' > '/tmp/z/log.txt' "
                              "2>&1"}));
    }

    void namesReachTheEmulatorVerbatim_data()
    {
        QTest::addColumn<QString>("set");
        QTest::newRow("substitutions, separators") << "$(touch pwned)`touch pwned`; touch pwned";
        QTest::newRow("single quote") << "it's'; touch pwned; '";
        QTest::newRow("newline") << "a\ntouch pwned";
        QTest::newRow("leading dash") << "-cc";
        QTest::newRow("non-ASCII") << "pañuelo";
    }

    // A name reaches the emulator as one argument, byte for byte, from a folder whose own name
    // a shell would read too. The log gets both streams in the order written (today's emulators
    // give their errors on standard error), and "mame" is the folder's emulator only: one that
    // cannot run is not replaced by the next one on PATH.
    void namesReachTheEmulatorVerbatim()
    {
        QFETCH(QString, set);
        EmulatorFolder folder("emu $(touch pwned); `x` 'q' \"d\" ñ:");
        const QString root = QFileInfo(folder.path()).path();
        folder.writeFile("mame", recordingEmulator);
        folder.writeFile("../other/mame", "#!/bin/sh\ntouch \"$0.ran\"\n");
        for (const QString& emulator : {folder.filePath("mame"), root + "/other/mame"})
            QVERIFY(QFile::setPermissions(emulator,
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString script = root + "/mame.bat";
        QVERIFY(writeScript(script, playScriptLines(folder.path(), set, false, root + "/log.txt",
                                                    Dialect::Classic)));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(root + "/other:") + path);
        EmulatorRunner runner;
        QVERIFY(runToEnd(runner, scriptCommand(folder.path(), script)).started);
        QCOMPARE(folder.readFile("args.bin"), set.toUtf8() + '\0');
        QCOMPARE(folder.readFile("../log.txt"), QByteArray("uno\ndos\ntres\n"));

        QVERIFY(
            QFile::setPermissions(folder.filePath("mame"), QFile::ReadOwner | QFile::WriteOwner));
        const ShellResult refused = runToEnd(runner, scriptCommand(folder.path(), script));
        qputenv("PATH", path);
        QVERIFY(refused.started && refused.exitCode == 126);
        QVERIFY(!folder.exists("../other/mame.ran"));
        QVERIFY(!folder.exists("pwned") && !folder.exists("../pwned"));
    }
};

QTEST_MAIN(EmulatorCommandsTest)
#include "tst_emulatorcommands.moc"
