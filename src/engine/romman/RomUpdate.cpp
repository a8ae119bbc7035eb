#include "RomUpdate.h"

#include "engine/catalogue/RomFolder.h"
#include "engine/services/SystemServices.h"

namespace zefrin {

RomUpdate::RomUpdate(ArchiveChecker& checker)
    : checker_(checker)
{
}

std::optional<UpdateResult> RomUpdate::start(const QString& archive, const QString& newName)
{
    const QString roms = checker_.romsFolder();
    if (!isPassableArchiveName(archive) || !isPassableArchiveName(newName))
        return UpdateResult{UpdateEnd::CheckFailed, CheckOutcome::NotPassable};
    if (FileExists(roms + QLatin1Char('/') + newName))
        return UpdateResult{UpdateEnd::TargetTaken, CheckOutcome::NameTaken};
    if (!FileExists(roms + QLatin1Char('/') + archive))
        return UpdateResult{UpdateEnd::ArchiveGone, CheckOutcome::ArchiveMissing};

    archive_ = archive;
    newName_ = newName;
    if (const std::optional<CheckOutcome> check = checker_.CheckArchiveAsGame(archive, newName))
        return conclude(*check);
    connect(&checker_, &ArchiveChecker::checked, this, &RomUpdate::checked,
            Qt::SingleShotConnection);
    return std::nullopt;
}

void RomUpdate::checked(CheckOutcome outcome)
{
    emit ended(conclude(outcome));
}

UpdateResult RomUpdate::conclude(CheckOutcome check) const
{
    switch (check) {
    case CheckOutcome::Good:
        break;
    case CheckOutcome::NotGood:
    case CheckOutcome::NameTaken:
        return {UpdateEnd::NotEmulable, check};
    case CheckOutcome::GoodBeside:
        return {UpdateEnd::TargetTaken, check};
    case CheckOutcome::NoRomFiles:
        return {UpdateEnd::NoRomFiles, check};
    case CheckOutcome::ArchiveMissing:
        return {UpdateEnd::ArchiveGone, check};
    case CheckOutcome::NotPassable:
    case CheckOutcome::RenameRefused:
    case CheckOutcome::RecordFailed:
    case CheckOutcome::EmulatorNotRun:
    case CheckOutcome::DiskFull:
    case CheckOutcome::NotRestored:
        return {UpdateEnd::CheckFailed, check};
    }
    if (!RenameInFolder(archive_, newName_, checker_.romsFolder()))
        return {UpdateEnd::RenameFailed, check};
    return {UpdateEnd::Updated, check};
}

} // namespace zefrin
