#pragma once
// The emulator's commands. Each prints to `out` (and, in today's dialect, `err`) and returns
// the process exit code. Classic: 0 success, 1 unknown game or bad command line, 2 missing or
// bad ROMs, 7 an archive with files no game has, 8 an archive with no known file at all (or
// no archive). Today's: 0 success, 2 missing or bad ROMs, 3 a fatal error, 5 no such system,
// 6 a bad command line.

#include "DataFile.h"
#include "Output.h"

#include <string>

namespace zefrin::standin {

// Where the emulator looks for files. Folder lists are ';' separated, relative to the working
// folder; the classic emulator always uses the defaults.
struct Paths {
    std::string roms = "roms";
    std::string cfg = "cfg";
    std::string ctrlr = "ctrlr";
    std::string controller; // -ctrlr NAME: NAME.cfg in a ctrlr folder; empty: none
};

struct Request {
    const EmulatorData& data;
    Output& out;
    Output& err;
    std::string name; // the set name, pattern or path of the command line; may be empty
    Paths paths;
};

int listFull(const Request& request); // -listfull [PATTERN]
int listRoms(const Request& request); // -listroms [PATTERN]
// -cc: mame.ini in the working folder; today's also ui.ini and plugin.ini, over any there.
int createConfig(const Request& request);
int verifySets(const Request& request); // -verifysets [PATTERN]
int verifyRoms(const Request& request); // -verifyroms [PATTERN]
int romIdent(const Request& request);   // -romident ARCHIVE|SET
int isKnown(const Request& request);    // -isknown ARCHIVE|SET
int runGame(const Request& request);    // GAME

// Today's dialect.
int version(const Request& request);         // -version
int listFullToday(const Request& request);   // -listfull [PATTERN]
int listCrc(const Request& request);         // -listcrc [PATTERN]
int verifyRomsToday(const Request& request); // -verifyroms [PATTERN]
int showConfig(const Request& request);      // -showconfig: the settings in force

// The emulator's answer to a set name that no game has.
int notSupported(Output& out, const std::string& name);
// Today's answer to a pattern no set matches.
int noMatchingSystems(const Request& request);

} // namespace zefrin::standin
