#include "KeySwitch.h"

#include "MameIniOption.h"
#include "engine/services/RunRecord.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"

#include <QDir>

namespace zefrin {

namespace {

QString cfgPath(const QString& emulatorFolder, const QString& name)
{
    return emulatorPath(emulatorFolder, QStringLiteral("cfg/") + name);
}

// A folder as the user's file manager writes it.
QString shownFolder(const QString& emulatorFolder, const QString& relative)
{
    return QDir::toNativeSeparators(emulatorPath(emulatorFolder, relative));
}

} // namespace

bool parkEmulatorInputFile(const QString& emulatorFolder)
{
    const QString parked = cfgPath(emulatorFolder, QStringLiteral("default.bak"));
    const QString current = cfgPath(emulatorFolder, QStringLiteral("default.cfg"));
    // The user's own settings are parked already, and a default.cfg beside them was written by
    // the emulator while the defined keys were in force (a run that ended before the launch
    // could delete it): parking it too would put it in place of the user's file.
    if (FileExists(parked))
        return removeIfExists(current);
    return ReplaceFile(current, parked).ok;
}

void keepControllerLine(const QString& recordPath, const QString& emulatorFolder,
                        const QString& line)
{
    if (line.isEmpty())
        (void)clearRunRecord(recordPath);
    else
        (void)writeRunRecord(recordPath, emulatorFolder, {{QStringLiteral("line"), line}});
}

ControllerLineRecovery recallControllerLine(const QString& recordPath,
                                            const QString& emulatorFolder, bool readOnly)
{
    const RecordReading reading = readRunRecordFor(recordPath, emulatorFolder);
    if (reading.state == RecordState::Absent)
        return {};
    // One line of mame.ini, nothing that would split it.
    const QString line = reading.note.value(QStringLiteral("line")).toString();
    const bool readable =
        !line.isEmpty() && !line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r'));
    const auto setAside = [&](const QString& why) {
        const QString what = readable ? QStringLiteral("tu línea de mame.ini «") + line +
                                            QStringLiteral("», cambiada para usar tus teclas")
                                      : QStringLiteral("tu línea 'ctrlr' de mame.ini, cambiada "
                                                       "para usar tus teclas");
        return ControllerLineRecovery{{}, setRunRecordAside(recordPath, what, why)};
    };
    if (reading.state == RecordState::Replaced)
        return setAside(recordReplacedReason(emulatorFolder));
    if (!readable)
        return setAside(recordCorruptReason());
    if (readOnly)
        return setAside(recordOnCdReason());
    const QString ini = emulatorPath(emulatorFolder, QStringLiteral("mame.ini"));
    if (iniOptionHolds(ini, QStringLiteral("ctrlr"), QStringLiteral("Zefrin")))
        return {line, std::nullopt};
    // Given back already, by a run ended before it could remove the record.
    if (readTextLines(ini).value_or(QStringList()).contains(line)) {
        (void)clearRunRecord(recordPath);
        return {};
    }
    return setAside(QStringLiteral("mame.ini ya no es el que Zefrin! cambió (ha cambiado desde "
                                   "entonces)"));
}

FileResult restoreEmulatorInputFile(const QString& emulatorFolder)
{
    return ReplaceFile(cfgPath(emulatorFolder, QStringLiteral("default.bak")),
                       cfgPath(emulatorFolder, QStringLiteral("default.cfg")));
}

QString keyErrorTitle()
{
    return QStringLiteral("Error");
}

QString keyFilesErrorText(const QString& emulatorFolder)
{
    return QStringLiteral("Se ha producido un error al guardar el teclado, comprueba que el "
                          "archivo 'default.ini' dentro de la carpeta ") +
           shownFolder(emulatorFolder, QStringLiteral("ctrlr/Zefrin")) +
           QStringLiteral(" no tiene la propiedad 'sólo lectura' lo cual no permitiría seguir "
                          "ejecutando Zefrin! de forma normal.");
}

QString cfgFolderErrorText(const QString& emulatorFolder)
{
    return QStringLiteral("Se ha producido un error al modificar las configuraciones de M.A.M.E, "
                          "comprueba que los archivos dentro de la carpeta ") +
           shownFolder(emulatorFolder, QStringLiteral("cfg")) +
           QStringLiteral(" no tienen la propiedad 'sólo lectura' pues de ser así Zefrin! no "
                          "podrá funcionar de forma correcta.");
}

QString mameIniErrorText()
{
    return QStringLiteral("Se ha producido un error al modificar el archivo de inicio de M.A.M.E, "
                          "comprueba que el archivo 'mame.ini' dentro de la carpeta del M.A.M.E "
                          "no tiene la propiedad de 'sólo lectura' de ser así Zefrin! no podrá "
                          "continuar funcionando correctamente.");
}

} // namespace zefrin
