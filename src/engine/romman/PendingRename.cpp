#include "PendingRename.h"

#include "engine/services/RunRecord.h"
#include "engine/services/SystemServices.h"

#include <QDir>

namespace zefrin {

namespace {

const QString archiveKey = QStringLiteral("archive");
const QString temporaryKey = QStringLiteral("temporary");

QString romsFolderOf(const QString& emulatorFolder)
{
    return emulatorPath(emulatorFolder, QStringLiteral("roms"));
}

} // namespace

bool writePendingRename(const QString& recordPath, const PendingRename& rename)
{
    return writeRunRecord(recordPath, rename.emulatorFolder,
                          {{archiveKey, rename.archive}, {temporaryKey, rename.temporary}});
}

std::optional<PendingRename> readPendingRename(const QString& recordPath)
{
    const std::optional<QJsonObject> note = readRunRecord(recordPath);
    if (!note)
        return std::nullopt;
    PendingRename rename{note->value(QStringLiteral("emulatorFolder")).toString(),
                         note->value(archiveKey).toString(), note->value(temporaryKey).toString()};
    if (rename.archive.isEmpty() || rename.temporary.isEmpty())
        return std::nullopt;
    return rename;
}

bool clearPendingRename(const QString& recordPath)
{
    return clearRunRecord(recordPath);
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
