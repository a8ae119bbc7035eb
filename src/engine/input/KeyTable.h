#pragma once
// TablaTeclas: the key label number each player's control is given; -1 leaves the emulator's
// own key.

#include <array>

namespace zefrin {

using KeyTable = std::array<std::array<int, 16>, 4>;

inline KeyTable emptyKeyTable()
{
    KeyTable table{};
    for (auto& player : table)
        player.fill(-1);
    return table;
}

} // namespace zefrin
