// Closing the main window: refused while a game runs; otherwise the emulator folder is given
// back as the user had it, and whatever cannot be put back is said once.

#include "engine/input/KeySwitch.h"
#include "gui/app/frmCargador.h"
#include "support/EmulatorFolder.h"
#include "support/ReadOnlyMount.h"
#include "support/Runs.h"

#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

// The files of a session that exist, each with what it holds (line ends as slashes).
QString filesOf(const EmulatorFolder& folder)
{
    QStringList files;
    for (const char* name :
         {"cfg/default.bak", "cfg/default.cfg", "1.p", "abrir.bat", "all.bat", "mame.ini"})
        if (folder.exists(name))
            files << name + QStringLiteral("=") + folder.readFile(name).replace("\r\n", "/");
    return files.join(' ');
}

// A run of the program over the folder, from a CD or not, ended by closing its window: what it
// said, and a complaint of its own unless the window closed and took the launch log along.
QList<ShownMessage> closeRun(const EmulatorFolder& folder, const QString& records,
                             bool fromCd = false)
{
    Program program(folder.path());
    program.state.records = RunRecords::forFolder(folder.path(), records);
    program.state.CdMode = fromCd;
    frmCargador window(program.context);
    window.show();
    QFile log(program.state.scratch.logPath());
    if (!log.open(QIODevice::WriteOnly) || !window.close() || window.isVisible() || log.exists())
        program.dialogs.shown.append({Dialogs::Icon::None, "Not closed", "or the log stayed"});
    return program.dialogs.shown;
}

} // namespace

class ShutdownTest : public QObject {
    Q_OBJECT

private slots:
    void closingGivesTheFolderBackUnlessAGameRuns()
    {
        // The folder as a session with defined keys on leaves it: the user's settings parked,
        // and the emulator's written since.
        EmulatorFolder folder;
        QTemporaryDir records;
        folder.writeFile("cfg/default.cfg", "user");
        QCOMPARE(
            parkEmulatorInputFile(
                folder.path(), RunRecords::forFolder(folder.path(), records.path()).inputSettings)
                .outcome,
            Parking::Outcome::Parked);
        folder.writeFile("cfg/default.cfg", "emulator");
        for (const char* name : {"1.p", "abrir.bat", "all.bat"})
            folder.writeFile(name, "x");
        folder.writeFile("mame.ini", "rompath roms\r\nctrlr Zefrin\r\n");
        const QString left = filesOf(folder);

        // While a game runs closing is refused, and the folder stays as it is.
        Program program(folder.path());
        occupy(program.state.emulator, 2000);
        frmCargador window(program.context);
        QVERIFY(!window.close());
        // Nor, from a CD, does closing touch anything in the folder.
        QVERIFY(closeRun(folder, records.path(), true).isEmpty());
        QCOMPARE(filesOf(folder), left);

        // What cannot be given back is said once, and every other step is still taken.
        const QString givenBack = "mame.ini=rompath roms/# ctrlr                 <NULL> (Not Set)/";
        QList<ShownMessage> said;
        {
            const ReadOnlyMount cfg(folder.filePath("cfg"));
            const ReadOnlyMount script(folder.filePath("all.bat"));
            if (!cfg.readOnly || !script.readOnly)
                QSKIP("read-only bind mounts need the right to mount");
            said = closeRun(folder, records.path());
        }
        QCOMPARE(filesOf(folder),
                 "cfg/default.bak=user cfg/default.cfg=emulator all.bat=x " + givenBack);
        QCOMPARE(said.size(), 1);
        QVERIFY2(said[0].title == "Error." && said[0].text.contains("'cfg/default.bak'") &&
                     said[0].text.contains("'all.bat'") && !said[0].text.contains("'1.p'"),
                 qPrintable(said[0].text));
        // The next run gives back the rest without a word.
        QVERIFY(closeRun(folder, records.path()).isEmpty());
        QCOMPARE(filesOf(folder), "cfg/default.cfg=user " + givenBack);
    }
};

QTEST_MAIN(ShutdownTest)
#include "tst_shutdown.moc"
