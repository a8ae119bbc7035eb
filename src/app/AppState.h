#pragma once
// The program-wide state: one object, owned by main() and handed to every window.

#include "services/RunRecord.h"
#include "services/ScratchFolder.h"

#include <QString>

#include <array>

namespace zefrin {

class Dialogs;
class Desktop;
class ProgramExit;
class InstanceLock;

// Key label number per player and control; -1 leaves the emulator's own key.
using KeyTable = std::array<std::array<int, 16>, 4>;

inline KeyTable emptyKeyTable()
{
    KeyTable table{};
    for (auto& player : table)
        player.fill(-1);
    return table;
}

struct AppState {
    QString emulatorFolder; // no trailing separator
    bool CdMode = false;
    QString EmulatorVersion;
    bool EmulatorBusy = false;
    QString LastLaunchTitle;
    QString LastLaunchLog;
    KeyTable TablaTeclas = emptyKeyTable();
    QString LineaAnterior;
    ScratchFolder scratch;
    // Where changes to undo are noted should the program be ended before it undoes them.
    RunRecords records;
};

// What the windows are handed: the state and the places where the program meets the
// desktop, which tests replace.
struct AppContext {
    AppState& state;
    Dialogs& dialogs;
    Desktop& desktop;
    ProgramExit& programExit;
    InstanceLock& instanceLock;
};

} // namespace zefrin
