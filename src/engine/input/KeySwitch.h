#pragma once
// What turning the defined keys on and off does besides mame.ini: the emulator's own input
// settings cfg/default.cfg would override the controller file, so they are parked as
// cfg/default.bak while the user's keys are in use and put back afterwards. Also the texts
// the user reads when one of these files cannot be changed.

#include "engine/services/RunRecord.h"
#include "engine/services/SystemServices.h"

#include <QString>

#include <optional>

namespace zefrin {

// Moves cfg/default.cfg to cfg/default.bak (replacing an older default.bak); nothing to do
// when there is no default.cfg. False when a file could not be moved or removed.
[[nodiscard]] bool parkEmulatorInputFile(const QString& emulatorFolder);

// Moves cfg/default.bak back to cfg/default.cfg; nothing to do when nothing is parked. The one
// place the parked settings are given back: the switch going off, a save that could not turn
// it on, and the shutdown.
[[nodiscard]] FileResult restoreEmulatorInputFile(const QString& emulatorFolder);

// The user's own controller line of mame.ini, remembered (LineaAnterior) while the switch has
// it replaced, is also kept in a run record (services/RunRecord.h): a run that ends without
// giving it back leaves it for the next run's shutdown to give back.
// Keeps `line` in the record; an empty line removes the record.
void keepControllerLine(const QString& recordPath, const QString& emulatorFolder,
                        const QString& line);

// The line an earlier run left in the record, for this run's shutdown to give back as long as
// mame.ini still names the program's controller file; nothing when there is nothing to give
// back (mame.ini holds the line already: the record is removed). A record that cannot be
// applied (mame.ini changed since, a read-only installation, see RunRecord.h) is set aside.
struct ControllerLineRecovery {
    QString line;
    std::optional<RecordSetAside> setAside;
};
ControllerLineRecovery recallControllerLine(const QString& recordPath,
                                            const QString& emulatorFolder, bool readOnly = false);

// Title of every failure message of the key configuration.
QString keyErrorTitle();
// The controller files could not be written.
QString keyFilesErrorText(const QString& emulatorFolder);
// A file of the cfg folder could not be moved.
QString cfgFolderErrorText(const QString& emulatorFolder);
// mame.ini could not be read or replaced.
QString mameIniErrorText();

} // namespace zefrin
