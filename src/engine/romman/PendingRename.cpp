#include "PendingRename.h"

#include "engine/services/SystemServices.h"

#include <QDir>

namespace zefrin {

namespace {

const QString archiveKey = QStringLiteral("archive");
const QString temporaryKey = QStringLiteral("temporary");
const QString identityKey = QStringLiteral("archiveIdentity");

QString romsFolderOf(const QString& emulatorFolder)
{
    return emulatorPath(emulatorFolder, QStringLiteral("roms"));
}

QString described(const PendingRename& rename)
{
    return QStringLiteral("el archivo ") + rename.archive +
           QStringLiteral(", que tenía temporalmente el nombre ") + rename.temporary +
           QStringLiteral(" en la carpeta roms");
}

Recovery setAside(Recovery recovery, const RecordSetAside& setAside)
{
    recovery.outcome = RecoveryOutcome::SetAside;
    recovery.setAside = setAside;
    return recovery;
}

// A note kept under a folder path that is gone (a disk mounted elsewhere, a folder moved to
// another file system) and about a file this folder holds under the temporary name, of the
// size and time the note gives, with nothing under the archive's own name: this folder may be
// that one, but nothing tells it for sure. Nothing is touched; the note is set aside and the
// user told both names.
Recovery recoverElsewhere(const QString& recordPath, const QString& emulatorFolder)
{
    Recovery recovery;
    const QString roms = romsFolderOf(emulatorFolder);
    for (const QString& other : otherFoldersRunRecords(recordPath)) {
        const std::optional<QJsonObject> note = readRunRecord(other);
        if (!note || recordedFolder(*note).isEmpty() || FileExists(recordedFolder(*note)))
            continue;
        const PendingRename rename{emulatorFolder, note->value(archiveKey).toString(),
                                   note->value(temporaryKey).toString()};
        const std::optional<FileIdentity> archive =
            identityFromJson(note->value(identityKey).toObject());
        if (!archive || rename.archive.isEmpty() || rename.temporary.isEmpty() ||
            FileExists(roms + QLatin1Char('/') + rename.archive))
            continue;
        const std::optional<FileIdentity> here =
            fileIdentity(roms + QLatin1Char('/') + rename.temporary);
        if (!here || here->size != archive->size || here->modifiedNs != archive->modifiedNs)
            continue;
        recovery.rename = rename;
        return setAside(recovery, setRunRecordAside(other, described(rename),
                                                    recordFolderUncertainReason(
                                                        recordedFolder(*note), emulatorFolder)));
    }
    return recovery;
}

} // namespace

bool writePendingRename(const QString& recordPath, const PendingRename& rename)
{
    QJsonObject note{{archiveKey, rename.archive}, {temporaryKey, rename.temporary}};
    if (const std::optional<FileIdentity> archive =
            fileIdentity(romsFolderOf(rename.emulatorFolder) + QLatin1Char('/') + rename.archive))
        note.insert(identityKey, identityToJson(*archive));
    return writeRunRecord(recordPath, rename.emulatorFolder, note);
}

bool clearPendingRename(const QString& recordPath)
{
    return clearRunRecord(recordPath);
}

Recovery recoverPendingRename(const QString& recordPath, const QString& emulatorFolder,
                              bool readOnly)
{
    Recovery recovery;
    const RecordReading reading = readRunRecordFor(recordPath, emulatorFolder);
    if (reading.state == RecordState::Absent)
        return readOnly ? recovery : recoverElsewhere(recordPath, emulatorFolder);
    recovery.rename = {emulatorFolder, reading.note.value(archiveKey).toString(),
                       reading.note.value(temporaryKey).toString()};
    const std::optional<FileIdentity> archive =
        identityFromJson(reading.note.value(identityKey).toObject());
    const bool readable =
        !recovery.rename.archive.isEmpty() && !recovery.rename.temporary.isEmpty() && archive;
    const QString what = readable ? described(recovery.rename)
                                  : QStringLiteral("un archivo de la carpeta roms que tenía "
                                                   "temporalmente otro nombre");
    if (const QString why = recordNotApplicableReason(reading, readable, emulatorFolder, readOnly);
        !why.isEmpty())
        return setAside(recovery, setRunRecordAside(recordPath, what, why));

    const QString roms = romsFolderOf(emulatorFolder);
    const QString own = roms + QLatin1Char('/') + recovery.rename.archive;
    // The very archive under its own name: the rename never came (the program ended between
    // the note and the rename) or was undone; whatever has the other name is not the note's.
    if (const std::optional<FileIdentity> ownFile = fileIdentity(own);
        ownFile && *ownFile == *archive) {
        recovery.outcome = RecoveryOutcome::AlreadyInPlace;
        (void)clearPendingRename(recordPath);
        return recovery;
    }
    const QString temporary = roms + QLatin1Char('/') + recovery.rename.temporary;
    const bool ownName = FileExists(own);
    const std::optional<FileIdentity> otherName = fileIdentity(temporary);
    if (otherName && !(*otherName == *archive))
        return setAside(recovery,
                        setRunRecordAside(recordPath, what, recordFileChangedReason(temporary)));
    if (ownName && otherName)
        recovery.outcome = RecoveryOutcome::BothPresent;
    else if (ownName)
        recovery.outcome = RecoveryOutcome::AlreadyInPlace;
    else if (!otherName)
        recovery.outcome = RecoveryOutcome::Missing;
    else if (RenameInFolder(recovery.rename.temporary, recovery.rename.archive, roms))
        recovery.outcome = RecoveryOutcome::Restored;
    else
        recovery.outcome = RecoveryOutcome::RestoreFailed;
    if (recovery.outcome != RecoveryOutcome::RestoreFailed)
        (void)clearPendingRename(recordPath);
    return recovery;
}

} // namespace zefrin
