#pragma once
// What the windows are handed: the program-wide state and the places where the program meets
// the desktop, which tests replace.

#include "engine/state/AppState.h"

namespace zefrin {

class Dialogs;
class Desktop;
class ProgramExit;
class InstanceLock;

struct AppContext {
    AppState& state;
    Dialogs& dialogs;
    Desktop& desktop;
    ProgramExit& programExit;
    InstanceLock& instanceLock;
};

} // namespace zefrin
