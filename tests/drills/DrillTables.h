#pragma once
// The two key tables the drill runner saves by turns; the test writes them too, to know the
// exact bytes a complete save leaves.

#include "engine/input/KeyTable.h"

namespace zefrin::test {

inline KeyTable drillTable(int round)
{
    KeyTable table = emptyKeyTable();
    for (int player = 0; player < 4; ++player)
        for (int control = 0; control < 16; ++control)
            table[player][control] = (player * 16 + control + round % 2) % 102;
    return table;
}

} // namespace zefrin::test
