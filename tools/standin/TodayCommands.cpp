// Today's -version, -listfull, -listcrc and -verifyroms (measured on 0.251): a 17-column name
// field, verdicts after the faults, failures summed up on standard error.

#include "Audit.h"
#include "Commands.h"
#include "Text.h"

#include <chrono>
#include <thread>
#include <vector>

namespace zefrin::standin {
namespace {

constexpr int missingFiles = 2;

void sleepMs(long ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// "romset pacman [puckman]"
std::string romsetName(const GameInfo& game)
{
    return "romset " + game.shortName + (game.parent.empty() ? "" : " [" + game.parent + "]");
}

std::vector<std::string> faultLines(const GameInfo& game, const Audit& audit)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < audit.checks.size(); ++i) {
        const RomCheck& check = audit.checks[i];
        const std::string head = padRight(game.shortName, 12) + ": " + check.rom->name + " (" +
                                 std::to_string(check.rom->size) + " bytes) - ";
        if (check.status == RomStatus::NotFound) {
            lines.push_back(head + "NOT FOUND" + (audit.shared[i] ? " (" + game.parent + ")" : ""));
        } else if (check.status != RomStatus::Good && wrongLength(check)) {
            lines.push_back(head + "INCORRECT LENGTH: " + std::to_string(check.foundSize) +
                            " bytes");
        } else if (check.status != RomStatus::Good) {
            lines.push_back(head + "INCORRECT CHECKSUM:");
            lines.push_back("EXPECTED: " + crcText(check.rom->crc));
            lines.push_back("   FOUND: " + crcText(check.foundCrc));
        }
    }
    return lines;
}

} // namespace

int noMatchingSystems(const Request& request)
{
    request.err.line("No matching systems found for '" + request.name + "'");
    return 5;
}

int version(const Request& request)
{
    const Settings settings = settingsFor(request.data);
    sleepMs(settings.versionDelayMs);
    request.out.text(settings.versionAnswer);
    return 0;
}

int listFullToday(const Request& request)
{
    sleepMs(settingsFor(request.data).listfullDelayMs);
    request.out.cutAfter(settingsFor(request.data).listfullCutBytes);
    const std::vector<const GameInfo*> games = selectGames(request.data, request.name);
    if (games.empty() && !request.name.empty())
        return noMatchingSystems(request);
    request.out.line("Name:             Description:");
    for (const GameInfo* game : games)
        request.out.line(padRight(game->shortName, 17) + " \"" + game->title + '"');
    return 0;
}

int listCrc(const Request& request)
{
    const std::vector<const GameInfo*> games = selectGames(request.data, request.name);
    if (games.empty() && !request.name.empty())
        return noMatchingSystems(request);
    std::vector<std::string> lines;
    for (const GameInfo* game : games)
        for (const RomInfo& rom : game->roms)
            lines.push_back(hex8(rom.crc) + ' ' + padRight(rom.name, 32) + '\t' +
                            padRight(game->shortName, 16) + '\t' + game->title);
    const long delayMs = settingsFor(request.data).listcrcDelayMs;
    request.out.cutAfter(settingsFor(request.data).listcrcCutBytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (delayMs > 0 && i == lines.size() / 2) {
            request.out.flush();
            sleepMs(delayMs);
        }
        request.out.line(lines[i]);
    }
    return 0;
}

int verifyRomsToday(const Request& request)
{
    sleepMs(settingsFor(request.data, request.name).verifyDelayMs);
    const std::vector<const GameInfo*> games = selectGames(request.data, request.name);
    if (games.empty() && !request.name.empty())
        return noMatchingSystems(request);
    int correct = 0;
    int incorrect = 0;
    for (const GameInfo* game : games) {
        if (game->roms.empty()) {
            // Nothing to check: all that exists is right.
            request.out.line(romsetName(*game) + " is best available");
            ++correct;
            continue;
        }
        const Audit audit = auditSet(request.data, *game, request.paths.roms);
        if (audit.missing)
            continue;
        for (const std::string& line : faultLines(*game, audit))
            request.out.line(line);
        const bool good = isGood(audit.checks);
        request.out.line(romsetName(*game) + (good ? " is good" : " is bad"));
        (good ? correct : incorrect) += 1;
    }
    if (correct + incorrect == 0) {
        request.err.line("romset \"" + (request.name.empty() ? "*" : request.name) +
                         "\" not found!");
        return missingFiles;
    }
    const std::string summary = std::to_string(correct + incorrect) + " romsets found, " +
                                std::to_string(correct) + " were OK.";
    (incorrect > 0 ? request.err : request.out).line(summary);
    return incorrect > 0 ? missingFiles : 0;
}

} // namespace zefrin::standin
