#include "PendingRename.h"

#include "services/SystemServices.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace zefrin {

namespace {

const QString folderKey = QStringLiteral("emulatorFolder");
const QString archiveKey = QStringLiteral("archive");
const QString temporaryKey = QStringLiteral("temporary");

QString romsFolderOf(const QString& emulatorFolder)
{
    return emulatorPath(emulatorFolder, QStringLiteral("roms"));
}

} // namespace

QString defaultPendingRenameRecord(const QString& emulatorFolder)
{
    const QByteArray digest =
        QCryptographicHash::hash(QDir::cleanPath(emulatorFolder).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/pending-rename-") + QString::fromLatin1(digest) +
           QStringLiteral(".json");
}

bool writePendingRename(const QString& recordPath, const PendingRename& rename)
{
    if (!QDir().mkpath(QFileInfo(recordPath).path()))
        return false;
    const QJsonObject record{{folderKey, rename.emulatorFolder},
                             {archiveKey, rename.archive},
                             {temporaryKey, rename.temporary}};
    const QByteArray bytes = QJsonDocument(record).toJson(QJsonDocument::Compact);
    // No flush to the disk itself: the record guards against the program being ended, which
    // the rename of a complete file into place is enough for, and a flush per check would
    // cost more than the check's own work.
    QSaveFile file(recordPath);
    file.setDirectWriteFallback(false);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

std::optional<PendingRename> readPendingRename(const QString& recordPath)
{
    QFile file(recordPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    const QJsonObject record = document.object();
    PendingRename rename{record.value(folderKey).toString(), record.value(archiveKey).toString(),
                         record.value(temporaryKey).toString()};
    if (rename.archive.isEmpty() || rename.temporary.isEmpty())
        return std::nullopt;
    return rename;
}

bool clearPendingRename(const QString& recordPath)
{
    return removeIfExists(recordPath);
}

Recovery recoverPendingRename(const QString& recordPath, const QString& emulatorFolder)
{
    Recovery recovery;
    if (recordPath.isEmpty() || !FileExists(recordPath))
        return recovery;
    const std::optional<PendingRename> rename = readPendingRename(recordPath);
    if (!rename) {
        // Unreadable: nothing can be done with it, and keeping it would change nothing.
        (void)clearPendingRename(recordPath);
        return recovery;
    }
    if (QDir::cleanPath(rename->emulatorFolder) != QDir::cleanPath(emulatorFolder))
        return recovery;

    recovery.rename = *rename;
    const QString roms = romsFolderOf(emulatorFolder);
    const bool ownName = FileExists(roms + QLatin1Char('/') + rename->archive);
    const bool otherName = FileExists(roms + QLatin1Char('/') + rename->temporary);
    if (ownName && otherName)
        recovery.outcome = RecoveryOutcome::BothPresent;
    else if (ownName)
        recovery.outcome = RecoveryOutcome::AlreadyInPlace;
    else if (!otherName)
        recovery.outcome = RecoveryOutcome::Missing;
    else if (RenameInFolder(rename->temporary, rename->archive, roms))
        recovery.outcome = RecoveryOutcome::Restored;
    else
        recovery.outcome = RecoveryOutcome::RestoreFailed;
    if (recovery.outcome != RecoveryOutcome::RestoreFailed)
        (void)clearPendingRename(recordPath);
    return recovery;
}

} // namespace zefrin
