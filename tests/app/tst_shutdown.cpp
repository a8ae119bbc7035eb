// Closing the main window: refused while a game runs; otherwise the emulator folder is given
// back as the user had it, and whatever cannot be put back is said once.

#include "app/frmCargador.h"
#include "support/EmulatorFolder.h"
#include "widgets/Colours.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

const QStringList temporaryFiles = {"1.p", "abrir.bat", "all.bat"};

bool chattr(const char* flag, const QString& path)
{
    return QProcess::execute(QStringLiteral("chattr"), {QLatin1String(flag), path}) == 0;
}

} // namespace

class ShutdownTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<EmulatorFolder> folder;
    std::unique_ptr<Program> program;
    std::unique_ptr<frmCargador> window;
    QStringList locked;

    // The folder as a session with defined keys on leaves it.
    void writeSessionFiles()
    {
        folder->writeFile("cfg/default.bak", "<user defaults/>");
        folder->writeFile("cfg/default.cfg", "<emulator defaults/>");
        folder->writeFile("mame.ini", "rompath                 roms\r\n"
                                      "ctrlr                   Zefrin\r\n");
        for (const QString& name : temporaryFiles)
            folder->writeFile(name, "x");
        QFile log(program->state.scratch.logPath());
        QVERIFY(log.open(QIODevice::WriteOnly));
    }

    void lock(const QString& relative)
    {
        if (!chattr("+i", folder->filePath(relative)))
            QSKIP("no immutable attribute here");
        locked << folder->filePath(relative);
    }

private slots:
    void init()
    {
        folder = std::make_unique<EmulatorFolder>();
        program = std::make_unique<Program>(folder->path());
        window = std::make_unique<frmCargador>(program->context);
        window->show();
        writeSessionFiles();
    }

    void cleanup()
    {
        for (const QString& path : std::as_const(locked))
            chattr("-i", path);
        locked.clear();
        window.reset();
        program.reset();
        folder.reset();
    }

    void closingWhileAGameRunsIsRefused()
    {
        program->state.EmulatorBusy = true;
        window->setStatus(QStringLiteral("Cargando ROM, por favor se paciente."),
                          Colours::statusRed());
        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
        QCOMPARE(window->statusCaption(),
                 QStringLiteral("Si MAME está activo, no se puede cerrar Zefrin!"));
        QCOMPARE(window->statusColour(), Colours::statusRed());
        QVERIFY(program->dialogs.shown.isEmpty());
        QVERIFY(folder->exists("cfg/default.bak") && folder->exists("all.bat"));
        QVERIFY(folder->readFile("mame.ini").contains("Zefrin"));

        program->state.EmulatorBusy = false;
        QVERIFY(window->close());
    }

    void closingGivesTheFolderBack()
    {
        QVERIFY(window->close());
        QCOMPARE(folder->readFile("cfg/default.cfg"), QByteArray("<user defaults/>"));
        QVERIFY(!folder->exists("cfg/default.bak"));
        for (const QString& name : temporaryFiles)
            QVERIFY2(!folder->exists(name), qPrintable(name));
        QVERIFY(!QFile::exists(program->state.scratch.logPath()));
        QVERIFY(!folder->readFile("mame.ini").contains("Zefrin"));
        QVERIFY(folder->readFile("mame.ini").startsWith("rompath                 roms\r\n"));
        QVERIFY(program->dialogs.shown.isEmpty());
    }

    void closingWithNothingToGiveBack()
    {
        for (const QString& name : {QStringLiteral("cfg/default.bak"), QStringLiteral("1.p"),
                                    QStringLiteral("all.bat"), QStringLiteral("mame.ini")})
            QVERIFY(QFile::remove(folder->filePath(name)));
        QVERIFY(window->close());
        QCOMPARE(folder->readFile("cfg/default.cfg"), QByteArray("<emulator defaults/>"));
        QVERIFY(program->dialogs.shown.isEmpty());
    }

    void closingFromACdLeavesTheFolderAlone()
    {
        program->state.CdMode = true;
        const QByteArray settings = folder->readFile("mame.ini");
        QVERIFY(window->close());
        QVERIFY(program->dialogs.shown.isEmpty());
        QVERIFY(folder->exists("all.bat") && folder->exists("cfg/default.bak"));
        QCOMPARE(folder->readFile("mame.ini"), settings);
        QVERIFY(!QFile::exists(program->state.scratch.logPath()));
    }

    void whatCannotBeGivenBackIsSaidOnceAndTheWindowCloses()
    {
        lock(QStringLiteral("cfg"));
        lock(QStringLiteral("all.bat"));
        QVERIFY(window->close());
        QVERIFY(!window->isVisible());
        QCOMPARE(program->dialogs.shown.size(), 1);
        const ShownMessage& shown = program->dialogs.shown.first();
        QCOMPARE(shown.title, QStringLiteral("Error."));
        QVERIFY(shown.text.contains(QStringLiteral("'cfg/default.bak'")));
        QVERIFY(shown.text.contains(QStringLiteral("'all.bat'")));
        QVERIFY(!shown.text.contains(QStringLiteral("'1.p'")));
        // The steps after a failing one still ran.
        QVERIFY(!folder->exists("1.p") && !folder->exists("abrir.bat"));
        QCOMPARE(folder->readFile("cfg/default.bak"), QByteArray("<user defaults/>"));
    }
};

QTEST_MAIN(ShutdownTest)
#include "tst_shutdown.moc"
