#pragma once
// What turning the defined keys on and off does besides mame.ini: the emulator's own input
// settings cfg/default.cfg would override the controller file, so they are parked as
// cfg/default.bak while the user's keys are in use and put back afterwards. Also the texts
// the user reads when one of these files cannot be changed.

#include "engine/services/Dialect.h"
#include "engine/services/RunRecord.h"
#include "engine/services/SystemServices.h"

#include <QString>

#include <optional>

namespace zefrin {

// Parks cfg/default.cfg while the defined keys are in use: as cfg/default.bak, or, when a
// default.bak of the user's own is there, under a free name, which `parkedAs` then names for
// the user. The record (services/RunRecord.h) is what tells the program's parked file from a
// file of the user's: it is written first, and a parking that cannot be noted is not made.
// Settings parked already (a run ended with the keys on) stay parked; the default.cfg beside
// them was written by the emulator meanwhile, and goes.
struct Parking {
    enum class Outcome {
        Parked,      // parked, or nothing to park
        Failed,      // a file could not be moved or removed
        RecordFailed // the record could not be written: nothing was changed
    };
    Outcome outcome = Outcome::Parked;
    QString parkedAs;
};
//
// Today's emulator keeps the user's default.cfg in place: a launch lets only its input
// mappings yield, run by run (launch/GameLaunch.h). Settings parked already (by the classic
// dialect, or a program ended with the keys on) are given back instead.
[[nodiscard]] Parking parkEmulatorInputFile(const QString& emulatorFolder,
                                            const QString& recordPath,
                                            Dialect dialect = Dialect::Classic);

// Moves the parked settings back to cfg/default.cfg, over what the emulator wrote meanwhile;
// nothing to do when the record names nothing parked, or a file that is not the one parked.
// A default.bak of the user's own is never touched. The one place the parked settings are
// given back: the switch going off, a save that could not turn it on, and the shutdown.
[[nodiscard]] FileResult restoreEmulatorInputFile(const QString& emulatorFolder,
                                                  const QString& recordPath);

// The name the parked settings have in cfg: default.bak unless the record names another.
QString parkedInputFileName(const QString& emulatorFolder, const QString& recordPath);

// The start-up's look at settings an earlier run left parked: they stay parked for this run to
// give back; a record that cannot be applied (see RunRecord.h) is set aside.
std::optional<RecordSetAside> checkParkedInputFile(const QString& recordPath,
                                                   const QString& emulatorFolder, bool readOnly);

// The user is told where the settings went when default.bak was taken.
QString parkedElsewhereTitle();
QString parkedElsewhereText(const QString& emulatorFolder, const QString& parkedAs);

// The user's own controller line of mame.ini, remembered (LineaAnterior) while the switch has
// it replaced, is also kept in a run record (services/RunRecord.h): a run that ends without
// giving it back leaves it for the next run's shutdown to give back.
// Keeps `line` in the record; an empty line removes the record. False when the record could
// not be written (or removed).
bool keepControllerLine(const QString& recordPath, const QString& emulatorFolder,
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
// The record of a change could not be written, so the change was not made.
QString keyNoteErrorText(const QString& recordPath);
// mame.ini is missing (`iniExists` false) or has no controller line to point at the keys.
QString keysNotPointedText(const QString& emulatorFolder, bool iniExists);

} // namespace zefrin
