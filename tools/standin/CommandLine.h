#pragma once
// Reading the emulator's command line: a command (or none: run the named game), the set name,
// pattern or path, and in today's dialect the path options, which may stand anywhere.

#include "Commands.h"

#include <string>
#include <vector>

namespace zefrin::standin {

using Command = int (*)(const Request&);

struct CommandLine {
    Command command = nullptr;
    std::string commandName;
    std::string name;
    std::string error; // said instead of running anything
    int errorCode = 1;
    Paths paths;
};

CommandLine parseClassic(const std::vector<std::string>& args);

// Today's: errors as the real one words them (exit code 6; 3 for a second set name). With
// -inipath, the first mame.ini on that path gives the paths the command line leaves out;
// without it, the package's own settings do (`settings`: its controller folder, the user's
// controller file).
CommandLine parseToday(const std::vector<std::string>& args, const Settings& settings);

} // namespace zefrin::standin
