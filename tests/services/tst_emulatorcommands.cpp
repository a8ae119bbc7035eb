// The command scripts: their exact lines, and that no name put into them can run anything.

#include "engine/services/EmulatorCommands.h"
#include "engine/services/SystemServices.h"
#include "support/Runs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

void writeExecutable(const QString& path, const QByteArray& script)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(script);
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An emulator that writes each argument it got, NUL-separated, to args.bin in its folder, and
// a line to standard error between two to standard output.
const QByteArray recordingEmulator = "#!/bin/sh\n"
                                     "printf '%s\\0' \"$@\" > \"$(dirname \"$0\")/args.bin\"\n"
                                     "echo uno\necho dos >&2\necho tres\n";

} // namespace

class EmulatorCommandsTest : public QObject {
    Q_OBJECT

private slots:
    // The game list's, the set check's and a plain launch's classic lines are pinned by the
    // manager's, the check's and the launch's own tests.
    void scriptLines()
    {
        QCOMPARE(
            playScriptLines("/emu/MAME", "pacman", true, "/tmp/z/log.txt", Dialect::Classic).at(1),
            QStringLiteral("mame 'pacman' -soundcard 0 > '/tmp/z/log.txt' 2>&1"));
        QCOMPARE(
            archiveDetailLines("a b.zip", Dialect::Classic),
            (QStringList{"mame 'roms/a b.zip' -romident > 1.p", "mame 'a b' -listroms > 2.p",
                         "mame 'a b' -verifyroms > 3.p", "mame 'roms/a b.zip' -isknown > 4.p"}));
        // Today's: the commands that exist, the folder's own files named, never -soundcard.
        QCOMPARE(verifySetLine("pacman", Dialect::Today),
                 QStringLiteral("mame 'pacman' -verifyroms -rompath roms > 1.p"));
        QCOMPARE(playScriptLines("/emu/MAME", "pacman", true, "/tmp/z/log.txt", Dialect::Today),
                 (QStringList{"cd '/emu/MAME'",
                              "mame 'pacman' -inipath . -rompath roms -cfg_directory cfg "
                              "-ctrlrpath ctrlr > '/tmp/z/log.txt' 2>&1"}));
        QCOMPARE(archiveDetailLines("a b.zip", Dialect::Today),
                 (QStringList{"mame -romident 'roms/a b.zip' > 1.p", "mame -listroms 'a b' > 2.p",
                              "mame -verifyroms 'a b' -rompath roms > 3.p"}));
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
        QTemporaryDir root;
        const QString folder = root.filePath("emu $(touch pwned); `x` 'q' \"d\" ñ:");
        QVERIFY(QDir().mkpath(folder) && QDir().mkpath(root.filePath("other")));
        writeExecutable(folder + "/mame", recordingEmulator);
        writeExecutable(root.filePath("other/mame"), "#!/bin/sh\ntouch \"$0.ran\"\n");
        const QString log = root.filePath("log.txt");
        const QString script = root.filePath("mame.bat");
        QVERIFY(writeScript(script, playScriptLines(folder, set, false, log, Dialect::Classic)));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(root.filePath("other")) + ':' + path);
        EmulatorRunner runner;
        QVERIFY(runToEnd(runner, scriptCommand(folder, script)).started);
        QCOMPARE(readBytes(folder + "/args.bin"), set.toUtf8() + '\0');
        QCOMPARE(readBytes(log), QByteArray("uno\ndos\ntres\n"));

        QVERIFY(QFile::setPermissions(folder + "/mame", QFile::ReadOwner | QFile::WriteOwner));
        const ShellResult refused = runToEnd(runner, scriptCommand(folder, script));
        qputenv("PATH", path);
        QVERIFY(refused.started && refused.exitCode == 126);
        QVERIFY(!QFile::exists(root.filePath("other/mame.ran")));
        QVERIFY(!QFile::exists(folder + "/pwned") && !QFile::exists(root.filePath("pwned")));
    }
};

QTEST_MAIN(EmulatorCommandsTest)
#include "tst_emulatorcommands.moc"
