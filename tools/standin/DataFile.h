#pragma once
// What the stand-in knows: the games of standin.dat with the files a good set holds, and the
// behaviour directives (the format is described in fixture/Collection.h and
// fixture/Directives.h).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zefrin::standin {

struct RomInfo {
    std::string name;
    std::uint32_t crc = 0;
    std::uint64_t size = 0;
};

struct GameInfo {
    std::string shortName;
    std::string title;
    std::vector<RomInfo> roms;
    std::string parent; // a clone's parent set; empty for a parent
};

struct DirectiveLine {
    std::string key;
    std::string value;
    std::string game;
};

struct EmulatorData {
    std::vector<GameInfo> games;
    std::vector<DirectiveLine> directives;
};

enum class Crash { None, Abort, Segv };
enum class LetterCase { Normal, Lower, Upper };
enum class Dialect { Classic, Today };

// The behaviour for commands about one game (or about no game in particular).
struct Settings {
    long runMs = 0;
    long runLines = 3;
    bool runSilent = false;
    bool runNonUtf8 = false;
    long runMegabytes = 0;
    Crash runCrash = Crash::None;
    int runExit = 0;
    bool runNoCfg = false;
    bool ccNoIni = false;
    std::string packageCtrlr = "ctrlr";
    std::string userCtrlr;
    long listfullDelayMs = 0;
    long verifyDelayMs = 0;
    long listcrcDelayMs = 0;
    long listfullCutBytes = -1; // none
    long listcrcCutBytes = -1;
    LetterCase verifysetsCase = LetterCase::Normal;
    bool crlf = false;
    Dialect dialect = Dialect::Classic;
    std::string versionAnswer = "0.251 (unknown)";
    long versionDelayMs = 0;
    long runStderrLines = 0;
    long runDip = -1;
};

// Reads the data file; nothing when it cannot be opened. Malformed lines are passed over.
std::optional<EmulatorData> loadDataFile(const std::filesystem::path& path);
EmulatorData parseDataFile(std::string_view text);

// The game of that short name, letter case ignored, or null.
const GameInfo* findGame(const EmulatorData& data, std::string_view shortName);

// The games whose short names match `pattern` ('*' and '?' wildcards, letter case ignored),
// in file order; every game for an empty pattern.
std::vector<const GameInfo*> selectGames(const EmulatorData& data, std::string_view pattern);

// The directives without a game and those for `game`, applied in file order: the last wins.
Settings settingsFor(const EmulatorData& data, std::string_view game = {});

} // namespace zefrin::standin
