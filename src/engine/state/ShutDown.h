#pragma once
// The program's end: the emulator folder given back as the user had it. From a CD nothing in
// the folder was changed, and the generated files a CD start needs stay for the next one.

#include "engine/input/MameIniOption.h"

#include <QStringList>

namespace zefrin {

struct AppState;

struct ShutDownResult {
    // How the give-back of the controller line went: NotRead, NotReplaced or NotNoted when
    // mame.ini still names the program's controller file.
    IniChange controllerLine = IniChange::Unchanged;
    // What else could not be done, one line each, for the user.
    QStringList problems;
};

// Gives back the controller line (controllerLineGiveBack), the parked default.cfg and the
// temporary files, and removes the launch log of the scratch folder. Every step is tried.
ShutDownResult shutDown(AppState& state);

// Only a controller line this program set is changed: the user's own line comes back when this
// run remembers it (and is forgotten then), and a line still naming the program's files from
// an earlier run is reset. A controller setting of the user's own stays as it is.
IniChange controllerLineGiveBack(AppState& state);

// The message for ShutDownResult::problems.
QString shutDownProblemsText(const QStringList& problems);

} // namespace zefrin
