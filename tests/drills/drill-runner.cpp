// Repeats one of the program's writes without end, for a test to kill at a random moment:
//   drill-runner save FOLDER RECORDS    the controls editor's save, then the switch going off
//   drill-runner ini FOLDER RECORDS     the mame.ini controller option set, then put back
//   drill-runner launch FOLDER RECORDS  the first game launched with the defined keys on
// RECORDS is the folder of the run records. A line is printed at the end of every
// round, so that the test can time the rounds and kill among them, never in the start-up.
// Or does one run and is killed at a chosen moment, the moment its emulator has started:
//   drill-runner launch-started FOLDER RECORDS   the first game, with the defined keys on
//   drill-runner list-started FOLDER RECORDS     the game list
//   drill-runner crclist-started FOLDER RECORDS  the CRC list

#include "DrillTables.h"
#include "engine/catalogue/GameListMaker.h"
#include "engine/romman/CrcListMaker.h"
#include "gui/app/frmCargador.h"
#include "gui/input/frmTeclas.h"
#include "support/EmulatorFolder.h"
#include "support/Runs.h"

#include <QApplication>
#include <QCheckBox>
#include <QListView>

#include <csignal>
#include <cstdio>

namespace {

using namespace zefrin;

void roundDone()
{
    std::fputs("round\n", stdout);
    std::fflush(stdout);
}

void killedNow()
{
    std::raise(SIGKILL);
}

int repeatSave(test::Program& program, frmCargador& window)
{
    frmTeclas editor(program.context, window, &window);
    for (int round = 0;; ++round) {
        program.state.TablaTeclas = test::drillTable(round);
        if (!editor.GuardarTeclado())
            return 2;
        window.chkUsaControles->setChecked(false);
        roundDone();
    }
}

int repeatIniRewrite(frmCargador& window)
{
    for (int round = 0;; ++round) {
        if (!window.CambiarOpcionIni(QStringLiteral("ctrlr"), QStringLiteral("Zefrin"), false) ||
            !window.CambiarOpcionIni(QStringLiteral("ctrlr"), QString(), true))
            return 2;
        roundDone();
    }
}

// The main window on the folder, its first game chosen and the keys the folder has saved in
// use.
bool readyToLaunch(frmCargador& window)
{
    if (!test::loadToEnd(window))
        return false;
    window.chkUsaControles->setChecked(true);
    window.lstJuegos->setCurrentIndex(window.lstJuegos->model()->index(0, 0));
    return window.chkUsaControles->isChecked();
}

int repeatLaunch(frmCargador& window)
{
    if (!readyToLaunch(window))
        return 2;
    for (;;) {
        window.LaunchSelectedGame();
        if (!QTest::qWaitFor([&window] { return !window.emulatorBusy(); }, 30000))
            return 2;
        roundDone();
    }
}

int killedAsItStarts(test::Program& program, frmCargador& window, const QString& mode)
{
    EmulatorRunner& runner = program.state.emulator;
    if (mode == QStringLiteral("launch-started")) {
        if (!readyToLaunch(window))
            return 2;
        QObject::connect(&runner, &EmulatorRunner::runStarted, &killedNow);
        window.LaunchSelectedGame();
        return 3;
    }
    QObject::connect(&runner, &EmulatorRunner::runStarted, &killedNow);
    if (mode == QStringLiteral("list-started")) {
        GameListMaker maker(runner, program.state.emulatorFolder, program.state.records.gameList);
        return maker.start(program.state.dialect) ? 3 : 2;
    }
    CrcListMaker maker(runner, program.state.emulatorFolder, program.state.records.crcList);
    maker.start({});
    QTest::qWait(5000);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 1;
    QApplication application(argc, argv);
    const QString mode = QString::fromLocal8Bit(argv[1]);
    test::Program program(QString::fromLocal8Bit(argv[2]));
    program.state.records =
        RunRecords::forFolder(program.state.emulatorFolder, QString::fromLocal8Bit(argv[3]));
    frmCargador window(program.context);
    if (mode == QStringLiteral("save"))
        return repeatSave(program, window);
    if (mode == QStringLiteral("ini"))
        return repeatIniRewrite(window);
    if (mode == QStringLiteral("launch"))
        return repeatLaunch(window);
    if (mode.endsWith(QStringLiteral("-started")))
        return killedAsItStarts(program, window, mode);
    return 1;
}
