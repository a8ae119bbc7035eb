// -verifysets and -verifyroms: judge each set's archive and say so, one "romset" line per set
// and a closing count. -verifysets names the verdict first and then the faults (the front end
// reads only the first line); -verifyroms lists the faults first, as a verification log does.

#include "Archive.h"
#include "Commands.h"
#include "Text.h"

#include <chrono>
#include <thread>
#include <vector>

namespace zefrin::standin {
namespace {

enum class Verdict { Good, Bad, NotFound };

struct SetReport {
    Verdict verdict = Verdict::NotFound;
    std::vector<std::string> faults;
};

std::vector<std::string> faultLines(const GameInfo& game, const std::vector<RomCheck>& checks)
{
    std::vector<std::string> lines;
    for (const RomCheck& check : checks) {
        const std::string head = padRight(game.shortName, 10) + ": " + check.rom->name + " (" +
                                 std::to_string(check.rom->size) + " bytes) - ";
        switch (check.status) {
        case RomStatus::Good:
            break;
        case RomStatus::NotFound:
            lines.push_back(head + "NOT FOUND");
            break;
        case RomStatus::BadLength:
            lines.push_back(head + "INCORRECT LENGTH: " + std::to_string(check.foundSize) +
                            " bytes");
            break;
        case RomStatus::BadChecksum:
            lines.push_back(head + "INCORRECT CHECKSUM:");
            lines.push_back("EXPECTED: " + crcText(check.rom->crc));
            lines.push_back("   FOUND: " + crcText(check.foundCrc));
            break;
        }
    }
    return lines;
}

SetReport judge(const GameInfo& game, const std::string& archiveName)
{
    const auto archive = findSetArchive(archiveName, game.shortName);
    if (!archive)
        return {};
    // An archive that cannot be read holds no file the emulator could use.
    const auto entries = fixture::readZipDirectory(*archive);
    const std::vector<RomCheck> checks =
        checkSet(game, entries.value_or(std::vector<fixture::ZipFileInfo>{}));
    if (isGood(checks))
        return {Verdict::Good, {}};
    return {Verdict::Bad, faultLines(game, checks)};
}

void transformCase(std::string& line, LetterCase letterCase)
{
    if (letterCase == LetterCase::Upper)
        line = toUpper(line);
    else if (letterCase == LetterCase::Lower)
        line = toLower(line) + "   ";
}

int verify(const Request& request, bool verdictFirst)
{
    std::this_thread::sleep_for(
        std::chrono::milliseconds(settingsFor(request.data, request.name).verifyDelayMs));
    const std::vector<const GameInfo*> games = selectGames(request.data, request.name);
    if (games.empty())
        return notSupported(request.out, request.name);
    const bool exactName =
        !request.name.empty() && request.name.find_first_of("*?") == std::string::npos;

    std::vector<std::string> lines;
    int found = 0;
    int good = 0;
    for (const GameInfo* game : games) {
        const SetReport report = judge(*game, exactName ? request.name : game->shortName);
        const std::string romset = "romset " + game->shortName;
        if (report.verdict == Verdict::NotFound) {
            if (exactName)
                lines.push_back(romset + " not found");
            continue;
        }
        ++found;
        good += report.verdict == Verdict::Good ? 1 : 0;
        const std::string verdict =
            romset + (report.verdict == Verdict::Good ? " is good" : " is bad");
        if (verdictFirst)
            lines.push_back(verdict);
        lines.insert(lines.end(), report.faults.begin(), report.faults.end());
        if (!verdictFirst)
            lines.push_back(verdict);
    }
    lines.push_back(std::to_string(found) + " romsets found, " + std::to_string(good) +
                    " were OK.");

    const LetterCase letterCase =
        verdictFirst ? settingsFor(request.data, request.name).verifysetsCase : LetterCase::Normal;
    for (std::string& line : lines) {
        transformCase(line, letterCase);
        request.out.line(line);
    }
    return found > 0 && good == found ? 0 : 2;
}

} // namespace

int verifySets(const Request& request)
{
    return verify(request, true);
}

int verifyRoms(const Request& request)
{
    return verify(request, false);
}

} // namespace zefrin::standin
