#pragma once
// An emulator folder ready for the key configuration: the stand-in emulator, the mame.ini it
// writes with -cc, the default key-name table, a ctrlr folder and the user's own emulator
// input settings in cfg/default.cfg.

#include "support/EmulatorFolder.h"

#include <QByteArray>

namespace zefrin::test {

// The user's own cfg/default.cfg, as the tests leave it.
inline const QByteArray userInputSettings = "<mameconfig version=\"10\"><!-- user --></mameconfig>";
inline const QByteArray unsetCtrlrLine = "# ctrlr                 <NULL> (Not Set)";
inline const QByteArray zefrinCtrlrLine = "ctrlr                   Zefrin";

void prepareKeyFolder(EmulatorFolder& folder);

// The names in a folder, hidden ones included.
QStringList folderEntries(const QString& path);

} // namespace zefrin::test
