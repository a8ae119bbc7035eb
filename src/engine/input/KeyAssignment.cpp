#include "KeyAssignment.h"

namespace zefrin {

Selection nextSelection(Selection current)
{
    if (current.control < controlCount - 1)
        return {current.player, current.control + 1};
    return {(current.player + 1) % playerCount, 0};
}

bool TeclaYaAsignada(const KeyTable& table, int key, int player, int control)
{
    for (int p = 0; p < playerCount; ++p) {
        for (int c = 0; c < controlCount; ++c) {
            if (table[p][c] == key && (p != player || c != control))
                return true;
        }
    }
    return false;
}

} // namespace zefrin
