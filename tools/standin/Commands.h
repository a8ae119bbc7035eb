#pragma once
// The emulator's commands. Each prints to `out` and returns the process exit code:
// 0 success, 1 unknown game or bad command line, 2 missing or bad ROMs, 7 an archive with
// files no game has, 8 an archive with no known file at all (or no archive).

#include "DataFile.h"
#include "Output.h"

#include <string>

namespace zefrin::standin {

struct Request {
    const EmulatorData& data;
    Output& out;
    std::string name; // the set name, pattern or path of the command line; may be empty
};

int listFull(const Request& request);     // -listfull [PATTERN]
int listRoms(const Request& request);     // -listroms [PATTERN]
int createConfig(const Request& request); // -cc: mame.ini in the working folder
int verifySets(const Request& request);   // -verifysets [PATTERN]
int verifyRoms(const Request& request);   // -verifyroms [PATTERN]
int romIdent(const Request& request);     // -romident ARCHIVE|SET
int isKnown(const Request& request);      // -isknown ARCHIVE|SET
int runGame(const Request& request);      // GAME

// The emulator's answer to a set name that no game has.
int notSupported(Output& out, const std::string& name);

} // namespace zefrin::standin
