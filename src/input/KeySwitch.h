#pragma once
// What turning the defined keys on and off does besides mame.ini: the emulator's own input
// settings cfg/default.cfg would override the controller file, so they are parked as
// cfg/default.bak while the user's keys are in use and put back afterwards. Also the texts
// the user reads when one of these files cannot be changed.

#include <QString>

namespace zefrin {

// Moves cfg/default.cfg to cfg/default.bak (replacing an older default.bak); nothing to do
// when there is no default.cfg. False when a file could not be moved or removed.
[[nodiscard]] bool parkEmulatorInputFile(const QString& emulatorFolder);

// Moves cfg/default.bak back to cfg/default.cfg; nothing to do when nothing is parked.
[[nodiscard]] bool restoreEmulatorInputFile(const QString& emulatorFolder);

// Title of every failure message of the key configuration.
QString keyErrorTitle();
// The controller files could not be written.
QString keyFilesErrorText(const QString& emulatorFolder);
// A file of the cfg folder could not be moved.
QString cfgFolderErrorText(const QString& emulatorFolder);
// mame.ini could not be read or replaced.
QString mameIniErrorText();

} // namespace zefrin
