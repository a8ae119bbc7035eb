#include "Archive.h"

#include "Text.h"

#include <algorithm>
#include <system_error>

namespace zefrin::standin {
namespace {

namespace fs = std::filesystem;

bool isFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::optional<fs::path> findIgnoringCase(const fs::path& folder, const std::string& fileName)
{
    std::optional<fs::path> best;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path candidate = it->path();
        if (equalsIgnoreCase(candidate.filename().string(), fileName) && isFile(candidate) &&
            (!best || candidate < *best))
            best = candidate;
    }
    return best;
}

bool matches(const fixture::ZipFileInfo& entry, const RomInfo& rom)
{
    return entry.crc == rom.crc && entry.size == rom.size;
}

} // namespace

std::optional<fs::path> findSetArchive(std::string_view name, std::string_view shortName)
{
    const fs::path roms = "roms";
    const std::string fileName = std::string(name) + ".zip";
    if (isFile(roms / fileName))
        return roms / fileName;
    if (!shortName.empty() && isFile(roms / (std::string(shortName) + ".zip")))
        return roms / (std::string(shortName) + ".zip");
    return findIgnoringCase(roms, fileName);
}

std::vector<fs::path> searchFolders(std::string_view path)
{
    std::vector<fs::path> folders;
    while (!path.empty()) {
        const std::size_t end = std::min(path.find(';'), path.size());
        if (end > 0)
            folders.emplace_back(std::string(path.substr(0, end)));
        path.remove_prefix(std::min(end + 1, path.size()));
    }
    return folders;
}

std::optional<fs::path> findArchiveOnPath(std::string_view romPath, std::string_view shortName)
{
    for (const fs::path& folder : searchFolders(romPath))
        if (const fs::path archive = folder / (std::string(shortName) + ".zip"); isFile(archive))
            return archive;
    return std::nullopt;
}

fs::path archiveArgumentPath(std::string_view argument)
{
    const fs::path given{std::string(argument)};
    if (isFile(given))
        return given;
    std::string slashed(argument);
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (slashed.find('/') != std::string::npos)
        return fs::path(slashed);
    // A bare archive or set name: the file in roms.
    const bool hasExtension =
        slashed.size() > 4 && equalsIgnoreCase(slashed.substr(slashed.size() - 4), ".zip");
    const std::string setName = hasExtension ? slashed.substr(0, slashed.size() - 4) : slashed;
    return findSetArchive(setName).value_or(fs::path("roms") / (setName + ".zip"));
}

std::vector<RomCheck> checkSet(const GameInfo& game,
                               const std::vector<fixture::ZipFileInfo>& entries)
{
    std::vector<RomCheck> checks;
    for (const RomInfo& rom : game.roms) {
        const auto byName = std::find_if(entries.begin(), entries.end(), [&](const auto& e) {
            return equalsIgnoreCase(e.name, rom.name);
        });
        const bool byChecksum = std::any_of(entries.begin(), entries.end(),
                                            [&](const auto& e) { return matches(e, rom); });
        RomCheck check{&rom, RomStatus::Good};
        if (byName != entries.end()) {
            check.foundCrc = byName->crc;
            check.foundSize = byName->size;
            if (!byChecksum)
                check.status =
                    byName->crc == rom.crc ? RomStatus::BadLength : RomStatus::BadChecksum;
        } else if (!byChecksum) {
            check.status = RomStatus::NotFound;
        }
        checks.push_back(check);
    }
    return checks;
}

bool isGood(const std::vector<RomCheck>& checks)
{
    return std::all_of(checks.begin(), checks.end(),
                       [](const RomCheck& c) { return c.status == RomStatus::Good; });
}

bool isKnownRom(const EmulatorData& data, std::uint32_t crc, std::uint64_t size)
{
    for (const GameInfo& game : data.games)
        for (const RomInfo& rom : game.roms)
            if (rom.crc == crc && rom.size == size)
                return true;
    return false;
}

} // namespace zefrin::standin
