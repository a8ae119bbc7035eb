#pragma once
// The record of an archive that a check gives another game's name. It is written before the
// rename and removed once the archive has its own name back, so a record that is still there
// at start-up means the program was ended in the middle of a check: the archive may carry the
// other game's name and is put back then. It says what was about to be done, not that it was:
// the very archive still under its own name means the rename never came, and nothing is said. It is
// a run record (services/RunRecord.h): kept outside the emulator folder, any file name survives in
// it. It keeps the archive's identity too: only that very file, unchanged, is ever renamed back.

#include "engine/services/RunRecord.h"

#include <QString>

namespace zefrin {

struct PendingRename {
    QString emulatorFolder;
    QString archive;   // the archive's own name in roms
    QString temporary; // the name it carries during the check
};

// Writes the record, replacing an older one; the file appears complete or not at all.
[[nodiscard]] bool writePendingRename(const QString& recordPath, const PendingRename& rename);

// Removes the record; true when none is left.
bool clearPendingRename(const QString& recordPath);

enum class RecoveryOutcome {
    NothingPending, // no record (or one for another folder)
    AlreadyInPlace, // the archive has its own name: the rename never came or was undone
    Restored,       // the archive was given its own name back
    BothPresent,    // files of both names exist: nothing is touched, the user must decide
    Missing,        // neither name exists any more
    RestoreFailed,  // the rename back was refused; the record is kept for the next start
    SetAside        // the record cannot be applied (see RunRecord.h): nothing is touched
};

struct Recovery {
    RecoveryOutcome outcome = RecoveryOutcome::NothingPending;
    PendingRename rename;
    RecordSetAside setAside;
};

// Puts back an archive a check left under another name, as the record tells. Every outcome
// but RestoreFailed removes the record or sets it aside. From a read-only installation (a
// CD) nothing was renamed: a record there is stale and only set aside.
Recovery recoverPendingRename(const QString& recordPath, const QString& emulatorFolder,
                              bool readOnly = false);

} // namespace zefrin
