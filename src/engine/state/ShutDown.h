#pragma once
// The program's end: the emulator folder given back as the user had it. From a CD nothing in
// the folder was changed, and the generated files a CD start needs stay for the next one.

#include "engine/input/KeySwitchSteps.h"

#include <QStringList>

namespace zefrin {

struct AppState;

struct ShutDownResult {
    // How the give-back of the controller line went (KeySwitchSteps::giveBackControllerOption).
    KeyStep controllerLine;
    // What else could not be done, one line each, for the user.
    QStringList problems;
};

// Gives back the controller line, the parked default.cfg and the temporary files, and removes
// the launch log of the scratch folder. Every step is tried.
ShutDownResult shutDown(AppState& state);

// The message for ShutDownResult::problems.
QString shutDownProblemsText(const QStringList& problems);

} // namespace zefrin
