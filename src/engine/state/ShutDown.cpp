#include "ShutDown.h"

#include "AppState.h"
#include "engine/input/KeySwitch.h"
#include "engine/services/ExchangeFiles.h"
#include "engine/services/SystemServices.h"

namespace zefrin {

namespace {

// The parked default.cfg returns and the temporary files the program made go.
QStringList restoreEmulatorFolder(const QString& folder, const RunRecords& records)
{
    const QString& parkedRecord = records.inputSettings;
    QStringList problems;
    const QString parked = QStringLiteral("cfg/") + parkedInputFileName(folder, parkedRecord);
    if (const FileResult back = restoreEmulatorInputFile(folder, parkedRecord); !back.ok)
        problems << QStringLiteral("- No se ha podido devolver '%1' a 'cfg/default.cfg' (%2); tu "
                                   "configuración de M.A.M.E sigue guardada en '%1'.")
                        .arg(parked, back.error);
    for (const QString& name : removeOwnExchangeFiles(records.exchangeFiles, folder))
        problems << QStringLiteral("- No se ha podido borrar el archivo temporal '%1'.").arg(name);
    return problems;
}

} // namespace

ShutDownResult shutDown(AppState& state)
{
    ShutDownResult result;
    if (!state.CdMode) {
        result.controllerLine =
            KeySwitchSteps(state.emulatorFolder, state.dialect, state.records, state.LineaAnterior)
                .giveBackControllerOption();
        result.problems = restoreEmulatorFolder(state.emulatorFolder, state.records);
    }
    // The scratch folder goes with the program; a log left in it harms nothing.
    if (state.scratch.isValid())
        (void)removeIfExists(state.scratch.logPath());
    return result;
}

QString shutDownProblemsText(const QStringList& problems)
{
    return QStringLiteral("Zefrin! se va a cerrar, pero no ha podido dejar la carpeta de M.A.M.E "
                          "como estaba, comprueba que estos archivos no tengan la propiedad "
                          "'sólo lectura':\r\n\r\n") +
           problems.join(QStringLiteral("\r\n"));
}

} // namespace zefrin
