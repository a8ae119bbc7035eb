#pragma once
// The ROM update: an archive of the roms folder takes the name the emulator expects for a
// game, and only when it passes the emulator's verification as that game.

#include "ArchiveCheck.h"

#include <QObject>
#include <QString>

namespace zefrin {

enum class UpdateEnd {
    Updated,      // the archive now has the new name
    TargetTaken,  // a file of the new name is there already
    ArchiveGone,  // the archive is no longer in roms
    NotEmulable,  // the emulator did not accept it as the game
    NoRomFiles,   // the game has no ROM file, so no archive is its own
    CheckFailed,  // the check itself could not be done (see `check`)
    RenameFailed, // it passed, but the final rename was refused: it keeps its name
};

struct UpdateResult {
    UpdateEnd end = UpdateEnd::NotEmulable;
    CheckOutcome check = CheckOutcome::NotGood;
};

// The update after the user has confirmed it: the two existence checks, the verification,
// then the rename.
class RomUpdate : public QObject {
    Q_OBJECT

public:
    explicit RomUpdate(ArchiveChecker& checker);

    // An update that ends without the emulator comes back at once; otherwise nothing comes
    // back and `ended` follows.
    std::optional<UpdateResult> start(const QString& archive, const QString& newName);

signals:
    void ended(const UpdateResult& result);

private slots:
    void checked(CheckOutcome outcome);

private:
    UpdateResult conclude(CheckOutcome check) const;

    ArchiveChecker& checker_;
    QString archive_;
    QString newName_;
};

} // namespace zefrin
