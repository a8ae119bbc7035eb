#pragma once
// The two dialects the emulator has spoken. The classic one (the 0.3x to 0.11x emulators this
// program was first written for): a game list in fixed columns, "-verifysets", "-isknown",
// "-soundcard", the numeric pad's keys as KEYCODE_n_PAD, its files found in its own folder.
// Today's (0.118 on; Debian's package is 0.251): a game list of names of any length,
// "-verifyroms" with more verdicts, no "-verifysets", "-isknown" nor "-soundcard", KEYCODE_nPAD,
// and a packaged build that looks for its files elsewhere unless told where they are.
//
// Which one the installed emulator speaks is decided once, from its version
// (version/Dialect.h); every exchange with the emulator asks the program-wide value
// (AppState::dialect).

namespace zefrin {

enum class Dialect { Classic, Today };

} // namespace zefrin
