#include "RomUpdate.h"

#include "catalogue/RomFolder.h"
#include "services/SystemServices.h"

namespace zefrin {

UpdateResult updateArchive(const ArchiveChecker& checker, const QString& archive,
                           const QString& newName)
{
    const QString roms = checker.romsFolder();
    if (!isPassableArchiveName(archive) || !isPassableArchiveName(newName))
        return {UpdateEnd::CheckFailed, CheckOutcome::NotPassable};
    if (FileExists(roms + QLatin1Char('/') + newName))
        return {UpdateEnd::TargetTaken, CheckOutcome::NameTaken};
    if (!FileExists(roms + QLatin1Char('/') + archive))
        return {UpdateEnd::ArchiveGone, CheckOutcome::ArchiveMissing};

    const CheckOutcome check = checker.CheckArchiveAsGame(archive, newName);
    switch (check) {
    case CheckOutcome::Good:
        break;
    case CheckOutcome::NotGood:
    case CheckOutcome::NameTaken:
        return {UpdateEnd::NotEmulable, check};
    case CheckOutcome::ArchiveMissing:
        return {UpdateEnd::ArchiveGone, check};
    case CheckOutcome::NotPassable:
    case CheckOutcome::RenameRefused:
    case CheckOutcome::RecordFailed:
    case CheckOutcome::EmulatorNotRun:
    case CheckOutcome::NotRestored:
        return {UpdateEnd::CheckFailed, check};
    }
    if (!RenameInFolder(archive, newName, roms))
        return {UpdateEnd::RenameFailed, check};
    return {UpdateEnd::Updated, check};
}

} // namespace zefrin
