#pragma once
// The rules of assigning keys in the controls editor, apart from the window: where the
// selection goes after an assignment and which keys are already taken.

#include "engine/input/KeyTable.h"

namespace zefrin {

constexpr int playerCount = 4;
constexpr int controlCount = 16;

struct Selection {
    int player = 0;  // 0 to 3
    int control = 0; // 0 coin, 1 start, 2 to 5 joystick, 6 to 15 buttons 1 to 10

    friend bool operator==(Selection a, Selection b)
    {
        return a.player == b.player && a.control == b.control;
    }
};

// After an assignment: the player's next control; after "Botón 10" the next player's coin,
// and after player 4 player 1 again.
Selection nextSelection(Selection current);

// True when a cell of `table` other than (player, control) holds `key`; the cell itself
// never conflicts, so a control may be given its own key again.
bool TeclaYaAsignada(const KeyTable& table, int key, int player, int control);

} // namespace zefrin
