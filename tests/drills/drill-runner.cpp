// Repeats one of the program's writes without end, for a test to kill at a random moment:
//   drill-runner save FOLDER RECORDS  the controls editor's save, then the switch going off
//   drill-runner ini FOLDER RECORDS   the mame.ini controller option set, then put back
// RECORDS is the folder of the run records. A line is printed at the end of every
// round, so that the test can time the rounds and kill among them, never in the start-up.

#include "DrillTables.h"
#include "gui/app/frmCargador.h"
#include "gui/input/frmTeclas.h"
#include "support/EmulatorFolder.h"

#include <QApplication>
#include <QCheckBox>

#include <cstdio>

namespace {

using namespace zefrin;

void roundDone()
{
    std::fputs("round\n", stdout);
    std::fflush(stdout);
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
    return 1;
}
