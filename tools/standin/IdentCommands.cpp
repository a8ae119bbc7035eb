// -romident and -isknown: which files of an archive the emulator recognises, by CRC-32 and
// size, whatever the files are called.

#include "Archive.h"
#include "Commands.h"
#include "Text.h"

#include <system_error>
#include <vector>

namespace zefrin::standin {
namespace {

constexpr int someUnknown = 7;
constexpr int noneKnown = 8;

struct Match {
    const GameInfo* game;
    const RomInfo* rom;
};

std::vector<Match> matchesOf(const EmulatorData& data, const fixture::ZipFileInfo& entry)
{
    std::vector<Match> matches;
    for (const GameInfo& game : data.games)
        for (const RomInfo& rom : game.roms)
            if (rom.crc == entry.crc && rom.size == entry.size)
                matches.push_back({&game, &rom});
    return matches;
}

// The archive's directory, or nothing after saying why there is none.
std::optional<std::vector<fixture::ZipFileInfo>> openArchive(const Request& request,
                                                             const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        request.out.line(request.name + ": file not found");
        return std::nullopt;
    }
    auto entries = fixture::readZipDirectory(path);
    if (!entries)
        request.out.line(request.name + ": not a valid zip archive");
    return entries;
}

int exitCode(std::size_t known, std::size_t total)
{
    return known == total ? 0 : known == 0 ? noneKnown : someUnknown;
}

} // namespace

int romIdent(const Request& request)
{
    const auto entries = openArchive(request, archiveArgumentPath(request.name));
    if (!entries)
        return noneKnown;
    std::size_t matched = 0;
    for (const fixture::ZipFileInfo& entry : *entries) {
        const std::vector<Match> matches = matchesOf(request.data, entry);
        if (matches.empty()) {
            request.out.line(padRight(entry.name, 12) + " NO MATCH");
            continue;
        }
        ++matched;
        // Further games that use the same ROM go on lines of their own, under the first.
        std::string first = padRight(entry.name, 12);
        for (const Match& m : matches) {
            request.out.line(first + " = " + padRight(m.rom->name, 12) + ' ' + m.game->title +
                             " [" + m.game->shortName + ']');
            first = std::string(first.size(), ' ');
        }
    }
    request.out.line("Out of " + std::to_string(entries->size()) + " files, " +
                     std::to_string(matched) + " matched, " +
                     std::to_string(entries->size() - matched) + " did not match.");
    return exitCode(matched, entries->size());
}

int isKnown(const Request& request)
{
    const std::filesystem::path path = archiveArgumentPath(request.name);
    const auto entries = openArchive(request, path);
    if (!entries)
        return noneKnown;
    std::size_t known = 0;
    for (const fixture::ZipFileInfo& entry : *entries) {
        const bool isKnownFile = isKnownRom(request.data, entry.crc, entry.size);
        known += isKnownFile ? 1 : 0;
        request.out.line(padRight(entry.name, 12) + (isKnownFile ? " KNOWN" : " UNKNOWN"));
    }
    const char* status = known == 0 ? "UNKNOWN" : known == entries->size() ? "KNOWN" : "PARTKNOWN";
    request.out.line(padRight(path.filename().string(), 12) + ' ' + status);
    return entries->empty() ? noneKnown : exitCode(known, entries->size());
}

} // namespace zefrin::standin
