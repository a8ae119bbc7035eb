#pragma once
// What today's emulator takes from the settings files of cfg/ and the controller file when a
// game starts, and what it changes in them during the run: the DIP switches of the game's
// settings, and the key of player 1's coin (the game's settings, then cfg/default.cfg, then
// the controller file: the first that maps it wins).

#include "Commands.h"

#include <string>

namespace zefrin::standin {

// Lines telling each DIP switch the game's settings set ("DIPSWITCH :IN0 6 = 4", as tag,
// mask, value) and the coin's key ("COIN1 = KEYCODE_5").
void printSettingsInUse(Output& out, const Paths& paths, const std::string& gameSettings,
                        const std::string& defaultSettings);

// The game's settings with every DIP switch set to `value`, as the user does in the
// emulator's menu during the run.
std::string withDipSwitchesAt(std::string settings, long value);

} // namespace zefrin::standin
