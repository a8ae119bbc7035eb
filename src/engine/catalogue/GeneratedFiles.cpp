#include "GeneratedFiles.h"

#include "ListCheck.h"

#include "engine/input/KeyNameTable.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/RunRecord.h"
#include "engine/services/SystemServices.h"

namespace zefrin {

QString gameListScriptName()
{
    return QStringLiteral("all.bat");
}

QString gameListFileName()
{
    return QStringLiteral("lista.txt");
}

QString crcListFileName()
{
    return QStringLiteral("listacrc.txt");
}

bool generatedFilesPresent(const QString& emulatorFolder)
{
    return FileExists(emulatorPath(emulatorFolder, gameListScriptName())) &&
           FileExists(emulatorPath(emulatorFolder, gameListFileName())) &&
           FileExists(keyNameTablePath(emulatorFolder));
}

QString cdWithoutGeneratedFilesTitle()
{
    return QStringLiteral("Error Crítico.");
}

QString gameListNotCreatedText(const QString& emulatorFolder)
{
    return QStringLiteral("No se ha podido crear la lista de juegos (lista.txt) en la carpeta ") +
           emulatorFolder +
           QStringLiteral(": comprueba que no es de sólo lectura y que M.A.M.E funciona. Sin "
                          "ella los juegos no tienen título.");
}

QString gameListNotMadeText(const QString& emulatorFolder, bool diskFull)
{
    return diskFull
               ? listDiskFullText(QStringLiteral("la lista de juegos (lista.txt)"), emulatorFolder)
               : gameListNotCreatedText(emulatorFolder);
}

QString cdWithoutGeneratedFilesText()
{
    return QStringLiteral("Estás ejecutando el Zefrin des de una unidad de CD, y no se han "
                          "encontrado los archivos necesarios para su funcionamiento, ya que "
                          "Zefrin los crearía de forma automática , pero en una unidad de sólo "
                          "lectura es imposible.\r\n"
                          "Si quieres ejecutar Zefrin desde un CD-ROM deberás al menos "
                          "ejecutarlo una vez con el M.A.M.E que vas a copiar al CD, para que "
                          "genere los archivos necesarios.");
}

ListRecovery dropInterruptedGameList(const QString& recordPath, const QString& emulatorFolder,
                                     bool readOnly)
{
    using Outcome = ListRecovery::Outcome;
    const RecordReading reading = readRunRecordFor(recordPath, emulatorFolder);
    if (reading.state == RecordState::Absent)
        return {};
    if (const QString why = recordNotApplicableReason(reading, true, emulatorFolder, readOnly);
        !why.isEmpty())
        return {Outcome::SetAside,
                {},
                setRunRecordAside(
                    recordPath,
                    QStringLiteral("la lista de juegos (lista.txt) que M.A.M.E estaba escribiendo"),
                    why)};
    if (const ProcessIdentity run = recordedRun(reading.note); isRunning(run))
        return {Outcome::Waiting, run, std::nullopt};
    if (!removeIfExists(emulatorPath(emulatorFolder, gameListFileName())))
        return {Outcome::Failed, {}, std::nullopt};
    (void)clearRunRecord(recordPath);
    return {Outcome::Dropped, {}, std::nullopt};
}

bool ensureGameListScript(const QString& emulatorFolder)
{
    const QString script = emulatorPath(emulatorFolder, gameListScriptName());
    return FileExists(script) || writeScript(script, {listGamesLine()});
}

} // namespace zefrin
