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

namespace {

const QString parkedKey = QStringLiteral("parked");
const QString parkedIdentityKey = QStringLiteral("parkedIdentity");
const QString currentName = QStringLiteral("default.cfg");
const QString usualName = QStringLiteral("default.bak");

struct ParkedNote {
    QString name;
    FileIdentity identity;
};

std::optional<ParkedNote> parkedNote(const QJsonObject& note)
{
    const QString name = note.value(parkedKey).toString();
    const std::optional<FileIdentity> identity =
        identityFromJson(note.value(parkedIdentityKey).toObject());
    if (!name.endsWith(QStringLiteral(".bak")) || name.contains(QLatin1Char('/')) || !identity)
        return std::nullopt;
    return ParkedNote{name, *identity};
}

// The parked file is there, and still the file that was parked.
bool stillParked(const QString& emulatorFolder, const ParkedNote& note)
{
    const std::optional<FileIdentity> parked = fileIdentity(cfgPath(emulatorFolder, note.name));
    return parked && *parked == note.identity;
}

// The settings this program has parked, as the record names them.
std::optional<ParkedNote> ownParking(const QString& emulatorFolder, const QString& recordPath)
{
    const RecordReading reading = readRunRecordFor(recordPath, emulatorFolder);
    if (reading.state != RecordState::Ours)
        return std::nullopt;
    std::optional<ParkedNote> note = parkedNote(reading.note);
    if (!note || !stillParked(emulatorFolder, *note)) {
        // Given back, or changed since: nothing parked is the program's any more.
        (void)clearRunRecord(recordPath);
        return std::nullopt;
    }
    return note;
}

} // namespace

Parking parkEmulatorInputFile(const QString& emulatorFolder, const QString& recordPath,
                              Dialect dialect)
{
    using Outcome = Parking::Outcome;
    if (dialect == Dialect::Today)
        return {restoreEmulatorInputFile(emulatorFolder, recordPath).ok ? Outcome::Parked
                                                                        : Outcome::Failed,
                {}};
    const QString current = cfgPath(emulatorFolder, currentName);
    if (ownParking(emulatorFolder, recordPath))
        return {removeIfExists(current) ? Outcome::Parked : Outcome::Failed, {}};
    const std::optional<FileIdentity> identity = fileIdentity(current);
    if (!identity)
        return {};
    const QString cfg = emulatorPath(emulatorFolder, QStringLiteral("cfg"));
    const QString name = freeFileName(cfg, QStringLiteral("default"), QStringLiteral(".bak"));
    if (!writeRunRecord(recordPath, emulatorFolder,
                        {{parkedKey, name}, {parkedIdentityKey, identityToJson(*identity)}}))
        return {Outcome::RecordFailed, {}};
    if (!RenameInFolder(currentName, name, cfg)) {
        (void)clearRunRecord(recordPath);
        return {Outcome::Failed, {}};
    }
    return {Outcome::Parked, name == usualName ? QString() : name};
}

FileResult restoreEmulatorInputFile(const QString& emulatorFolder, const QString& recordPath)
{
    const std::optional<ParkedNote> parked = ownParking(emulatorFolder, recordPath);
    if (!parked)
        return {};
    const FileResult back =
        ReplaceFile(cfgPath(emulatorFolder, parked->name), cfgPath(emulatorFolder, currentName));
    if (back.ok)
        (void)clearRunRecord(recordPath);
    return back;
}

QString parkedInputFileName(const QString& emulatorFolder, const QString& recordPath)
{
    const RecordReading reading = readRunRecordFor(recordPath, emulatorFolder);
    const std::optional<ParkedNote> note = parkedNote(reading.note);
    return reading.state == RecordState::Ours && note ? note->name : usualName;
}

std::optional<RecordSetAside> checkParkedInputFile(const QString& recordPath,
                                                   const QString& emulatorFolder, bool readOnly)
{
    const RecordReading reading = readRunRecordFor(recordPath, emulatorFolder);
    if (reading.state == RecordState::Absent)
        return std::nullopt;
    const std::optional<ParkedNote> note = parkedNote(reading.note);
    const QString what =
        QStringLiteral("tu configuración de M.A.M.E (cfg/default.cfg), apartada ") +
        (note ? QStringLiteral("como cfg/") + note->name + QLatin1Char(' ') : QString()) +
        QStringLiteral("mientras se usaban tus teclas");
    if (const QString why =
            recordNotApplicableReason(reading, note.has_value(), emulatorFolder, readOnly);
        !why.isEmpty())
        return setRunRecordAside(recordPath, what, why);
    const QString parked = cfgPath(emulatorFolder, note->name);
    if (!FileExists(parked)) {
        // Given back already, by a run ended before it could remove the record.
        (void)clearRunRecord(recordPath);
        return std::nullopt;
    }
    if (!stillParked(emulatorFolder, *note))
        return setRunRecordAside(recordPath, what, recordFileChangedReason(parked));
    return std::nullopt;
}

QString parkedElsewhereTitle()
{
    return QStringLiteral("Atención");
}

QString parkedElsewhereText(const QString& emulatorFolder, const QString& parkedAs)
{
    return QStringLiteral("Ya hay un archivo 'default.bak' en la carpeta ") +
           shownFolder(emulatorFolder, QStringLiteral("cfg")) +
           QStringLiteral(" que no ha puesto Zefrin!, así que tu configuración de M.A.M.E "
                          "('default.cfg') se ha apartado como '") +
           parkedAs +
           QStringLiteral("' mientras uses las teclas definidas. Volverá a su sitio al desmarcar "
                          "la casilla o al cerrar Zefrin!.");
}

bool keepControllerLine(const QString& recordPath, const QString& emulatorFolder,
                        const QString& line)
{
    if (line.isEmpty())
        return clearRunRecord(recordPath);
    return writeRunRecord(recordPath, emulatorFolder, {{QStringLiteral("line"), line}});
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
    const QString what = readable ? QStringLiteral("tu línea de mame.ini «") + line +
                                        QStringLiteral("», cambiada para usar tus teclas")
                                  : QStringLiteral("tu línea 'ctrlr' de mame.ini, cambiada para "
                                                   "usar tus teclas");
    if (const QString why = recordNotApplicableReason(reading, readable, emulatorFolder, readOnly);
        !why.isEmpty())
        return {{}, setRunRecordAside(recordPath, what, why)};
    const QString ini = emulatorPath(emulatorFolder, QStringLiteral("mame.ini"));
    if (iniOptionHolds(ini, QStringLiteral("ctrlr"), QStringLiteral("Zefrin")))
        return {line, std::nullopt};
    // Given back already, by a run ended before it could remove the record.
    if (readTextLines(ini).value_or(QStringList()).contains(line)) {
        (void)clearRunRecord(recordPath);
        return {};
    }
    return {{},
            setRunRecordAside(recordPath, what,
                              QStringLiteral("mame.ini ya no es el que Zefrin! cambió (ha "
                                             "cambiado desde entonces)"))};
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

QString keyNoteErrorText(const QString& recordPath)
{
    return QStringLiteral("No se puede guardar la nota de Zefrin! en ") +
           QDir::toNativeSeparators(recordPath) +
           QStringLiteral(", y sin ella tu configuración de M.A.M.E podría quedarse cambiada si "
                          "Zefrin! se cerrara con las teclas definidas en uso. No se ha modificado "
                          "nada.");
}

QString keysNotPointedText(const QString& emulatorFolder, bool iniExists)
{
    const QString folder = QDir::toNativeSeparators(emulatorFolder);
    if (!iniExists)
        return QStringLiteral("No se ha encontrado el archivo 'mame.ini' en la carpeta ") + folder +
               QStringLiteral(", así que M.A.M.E no puede usar las teclas definidas.");
    return QStringLiteral("El archivo 'mame.ini' de la carpeta ") + folder +
           QStringLiteral(" no tiene la opción 'ctrlr', así que M.A.M.E no puede usar las teclas "
                          "definidas. Añade una línea 'ctrlr' a ese archivo y vuelve a marcar la "
                          "casilla.");
}

} // namespace zefrin
