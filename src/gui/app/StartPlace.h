#pragma once
// The emulator folder and executable of this start (engine/services/EmulatorPlace.h), with
// the folder chooser when nothing else decides the folder.

#include "engine/services/EmulatorPlace.h"

#include <optional>

class QSettings;

namespace zefrin {

class Dialogs;

// Nothing when the program is to end instead: a folder argument that cannot be used (said in a
// message box) or a chooser cancelled. Nothing has been written then. A chosen folder that
// cannot be used is said too, and the chooser opens again.
// `systemFolders`: where the emulator is looked for after PATH, and which the program's own
// folder, when one of them, is no emulator folder (EmulatorPlace.h).
std::optional<EmulatorPlace>
startPlace(const QStringList& arguments, const QString& programFolder, QSettings& settings,
           Dialogs& dialogs, const QStringList& systemFolders = distributionEmulatorFolders());

} // namespace zefrin
