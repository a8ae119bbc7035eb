#include "RunRecord.h"

#include "SystemServices.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

namespace zefrin {

namespace {

const QString folderKey = QStringLiteral("emulatorFolder");
const QString runKey = QStringLiteral("run");

} // namespace

RunRecords RunRecords::forFolder(const QString& emulatorFolder)
{
    const QString digest = QString::fromLatin1(
        QCryptographicHash::hash(QDir::cleanPath(emulatorFolder).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const auto path = [&](const char* kind) {
        return folder + QLatin1Char('/') + QLatin1String(kind) + QLatin1Char('-') + digest +
               QStringLiteral(".json");
    };
    return {path("pending-rename"), path("game-settings"), path("controller-line"),
            path("game-list")};
}

bool writeRunRecord(const QString& recordPath, const QString& emulatorFolder, QJsonObject note)
{
    if (recordPath.isEmpty() || !QDir().mkpath(QFileInfo(recordPath).path()))
        return false;
    note.insert(folderKey, QDir::cleanPath(emulatorFolder));
    const QByteArray bytes = QJsonDocument(note).toJson(QJsonDocument::Compact);
    // No flush to the disk itself: the note guards against the program being ended, which
    // the rename of a complete file into place is enough for, and a flush per ROM check
    // would cost more than the check's own work.
    QSaveFile file(recordPath);
    file.setDirectWriteFallback(false);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

std::optional<QJsonObject> readRunRecord(const QString& recordPath)
{
    if (recordPath.isEmpty())
        return std::nullopt;
    QFile file(recordPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

std::optional<QJsonObject> readRunRecordFor(const QString& recordPath,
                                            const QString& emulatorFolder)
{
    std::optional<QJsonObject> note = readRunRecord(recordPath);
    if (note &&
        QDir::cleanPath(note->value(folderKey).toString()) != QDir::cleanPath(emulatorFolder))
        return std::nullopt;
    return note;
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

} // namespace zefrin
