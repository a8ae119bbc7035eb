#include "RunRecord.h"

#include "SystemServices.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace zefrin {

namespace {

const QString folderKey = QStringLiteral("emulatorFolder");
const QString folderIdentityKey = QStringLiteral("emulatorFolderIdentity");
const QString runKey = QStringLiteral("run");
const QString extension = QStringLiteral(".json");
const QString asideMark = QStringLiteral(".apartada");
constexpr int digestLength = 16;

std::optional<QJsonObject> readNote(const QString& recordPath)
{
    QFile file(recordPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject() ||
        document.object().value(folderKey).toString().isEmpty())
        return std::nullopt;
    return document.object();
}

bool isFoldersNote(const QJsonObject& note, const FileIdentity& folder)
{
    const std::optional<FileIdentity> noted =
        identityFromJson(note.value(folderIdentityKey).toObject());
    return noted && noted->sameFolder(folder);
}

// A record's name: its kind, "-", sixteen hexadecimal digits of the folder path's digest.
QRegularExpression recordName(const QString& kind)
{
    return QRegularExpression(QLatin1Char('^') + kind +
                              QStringLiteral("[0-9a-f]{%1}").arg(digestLength) +
                              QRegularExpression::escape(extension) + QLatin1Char('$'));
}

// The records of the kind of `recordPath` under the names of other folder paths.
QStringList sameKindRecords(const QString& recordPath)
{
    const QFileInfo info(recordPath);
    const QRegularExpressionMatch own = recordName(QStringLiteral("(.+-)")).match(info.fileName());
    if (!own.hasMatch())
        return {};
    const QString kind = own.captured(1);
    const QRegularExpression name = recordName(QRegularExpression::escape(kind));
    QStringList records;
    for (const QString& entry : info.dir().entryList({kind + QLatin1Char('*')}, QDir::Files))
        if (entry != info.fileName() && name.match(entry).hasMatch())
            records << entry;
    return records;
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

RunRecords RunRecords::forFolder(const QString& emulatorFolder, const QString& recordsFolder)
{
    const QString digest = QString::fromLatin1(
        QCryptographicHash::hash(QDir::cleanPath(emulatorFolder).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(digestLength));
    const auto path = [&](const char* kind) {
        return recordsFolder + QLatin1Char('/') + QLatin1String(kind) + QLatin1Char('-') + digest +
               extension;
    };
    return {path("pending-rename"), path("game-settings"),  path("controller-line"),
            path("game-list"),      path("input-settings"), path("crc-list"),
            path("ini-rewrite"),    path("exchange-files")};
}

QString RunRecords::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

QStringList RunRecords::all() const
{
    return {pendingRename, gameSettings, controllerLine, gameList,
            inputSettings, crcList,      iniRewrite,     exchangeFiles};
}

bool writeRunRecord(const QString& recordPath, const QString& emulatorFolder, QJsonObject note)
{
    if (recordPath.isEmpty() || !QDir().mkpath(QFileInfo(recordPath).path()))
        return false;
    note.insert(folderKey, QDir::cleanPath(emulatorFolder));
    if (const std::optional<FileIdentity> folder = folderIdentity(emulatorFolder))
        note.insert(folderIdentityKey, identityToJson(*folder));
    const QByteArray bytes = QJsonDocument(note).toJson(QJsonDocument::Compact);
    // No flush to the disk itself: the note guards against the program being ended, which
    // the rename of a complete file into place is enough for, and a flush per ROM check
    // would cost more than the check's own work.
    QSaveFile file(recordPath);
    file.setDirectWriteFallback(false);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

RecordReading readRunRecordFor(const QString& recordPath, const QString& emulatorFolder)
{
    if (recordPath.isEmpty() || !FileExists(recordPath))
        return {};
    const std::optional<QJsonObject> note = readNote(recordPath);
    if (!note)
        return {RecordState::Corrupt, {}};
    const bool samePath =
        QDir::cleanPath(note->value(folderKey).toString()) == QDir::cleanPath(emulatorFolder);
    const std::optional<FileIdentity> folder = folderIdentity(emulatorFolder);
    // A note without the folder's identity goes by the path alone.
    if (folder && note->contains(folderIdentityKey)) {
        if (isFoldersNote(*note, *folder))
            return {RecordState::Ours, *note};
        if (samePath)
            return {RecordState::Replaced, *note};
        return {};
    }
    if (!samePath)
        return {};
    return {RecordState::Ours, *note};
}

bool clearRunRecord(const QString& recordPath)
{
    return recordPath.isEmpty() || removeIfExists(recordPath);
}

QJsonObject withRun(QJsonObject note, const ProcessIdentity& run)
{
    if (run.isValid())
        note.insert(runKey, processToJson(run));
    return note;
}

ProcessIdentity recordedRun(const QJsonObject& note)
{
    return processFromJson(note.value(runKey).toObject());
}

void removeUnfinishedRunRecords(const RunRecords& records)
{
    // QSaveFile writes beside the note, under the note's name and six characters more.
    static const QRegularExpression unfinished(QStringLiteral("^[a-z-]+[0-9a-f]{%1}%2\\.\\w{6}$")
                                                   .arg(digestLength)
                                                   .arg(QRegularExpression::escape(extension)));
    for (const QString& own : records.all()) {
        if (own.isEmpty())
            continue;
        const QDir folder = QFileInfo(own).dir();
        for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden))
            if (unfinished.match(entry).hasMatch())
                (void)QFile::remove(folder.filePath(entry));
    }
}

void adoptRunRecords(const RunRecords& records, const QString& emulatorFolder)
{
    const std::optional<FileIdentity> folder = folderIdentity(emulatorFolder);
    if (!folder)
        return;
    for (const QString& own : records.all()) {
        if (own.isEmpty() || FileExists(own))
            continue;
        const QFileInfo info(own);
        for (const QString& other : sameKindRecords(own)) {
            const std::optional<QJsonObject> note = readNote(info.dir().filePath(other));
            if (note && isFoldersNote(*note, *folder) &&
                RenameInFolder(other, info.fileName(), info.path()))
                break;
        }
    }
}

QStringList otherFoldersRunRecords(const QString& recordPath)
{
    const QDir folder = QFileInfo(recordPath).dir();
    QStringList records;
    for (const QString& other : sameKindRecords(recordPath))
        records << folder.filePath(other);
    return records;
}

std::optional<QJsonObject> readRunRecord(const QString& recordPath)
{
    return readNote(recordPath);
}

QString recordedFolder(const QJsonObject& note)
{
    return note.value(folderKey).toString();
}

RecordSetAside setRunRecordAside(const QString& recordPath, const QString& what, const QString& why)
{
    const QFileInfo info(recordPath);
    QString base = info.fileName();
    if (base.endsWith(extension))
        base.chop(extension.size());
    base += asideMark;
    for (int n = 1; n < 1000; ++n) {
        const QString name =
            base + (n == 1 ? QString() : QLatin1Char('-') + QString::number(n)) + extension;
        if (RenameInFolder(info.fileName(), name, info.path()))
            return {what, why, info.dir().filePath(name)};
        if (!FileExists(info.dir().filePath(name)))
            break; // refused for another reason than the name
    }
    return {what, why, recordPath};
}

QString recordNotApplicableReason(const RecordReading& reading, bool readable,
                                  const QString& emulatorFolder, bool readOnly)
{
    if (reading.state == RecordState::Replaced)
        return QStringLiteral("la carpeta ") + shown(emulatorFolder) +
               QStringLiteral(" ya no es la misma de entonces (se ha movido, renombrado o "
                              "cambiado por otra)");
    if (reading.state == RecordState::Corrupt || !readable)
        return QStringLiteral("la nota que lo apuntaba está dañada y no se puede leer");
    if (readOnly)
        return QStringLiteral("la carpeta de M.A.M.E está en un CD, donde no se puede cambiar "
                              "nada");
    return {};
}

QString recordFolderUncertainReason(const QString& notedFolder, const QString& emulatorFolder)
{
    return QStringLiteral("la carpeta ") + shown(notedFolder) +
           QStringLiteral(" ya no está y no se puede asegurar que ") + shown(emulatorFolder) +
           QStringLiteral(" sea la misma (un disco conectado de nuevo o una carpeta movida)");
}

QString recordFileChangedReason(const QString& path)
{
    return QStringLiteral("el archivo ") + shown(path) +
           QStringLiteral(" ya no es el que Zefrin! apartó (ha cambiado desde entonces)");
}

QString recordSetAsideTitle()
{
    return QStringLiteral("Atención");
}

QString recordSetAsideText(const RecordSetAside& setAside)
{
    return QStringLiteral("Una sesión anterior de Zefrin! se cerró sin dejar en orden ") +
           setAside.what + QStringLiteral(", y esta no lo ha hecho porque ") + setAside.why +
           QStringLiteral(". No se ha tocado nada: compruébalo tú mismo. La nota de Zefrin! "
                          "está guardada en ") +
           shown(setAside.keptAt) + QLatin1Char('.');
}

} // namespace zefrin
