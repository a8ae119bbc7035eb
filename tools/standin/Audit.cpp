#include "Audit.h"

#include <algorithm>

namespace zefrin::standin {
namespace {

std::vector<fixture::ZipFileInfo> entriesOf(std::string_view romPath, std::string_view set)
{
    if (set.empty())
        return {};
    const auto archive = findArchiveOnPath(romPath, set);
    // An archive that cannot be read holds no file the emulator could use.
    auto entries = archive ? fixture::readZipDirectory(*archive) : std::nullopt;
    return entries.value_or(std::vector<fixture::ZipFileInfo>{});
}

bool parentHas(const GameInfo* parent, const RomInfo& rom)
{
    return parent != nullptr &&
           std::any_of(parent->roms.begin(), parent->roms.end(),
                       [&rom](const RomInfo& r) { return r.crc == rom.crc && r.size == rom.size; });
}

} // namespace

Audit auditSet(const EmulatorData& data, const GameInfo& game, std::string_view romPath)
{
    std::vector<fixture::ZipFileInfo> entries = entriesOf(romPath, game.shortName);
    const std::vector<fixture::ZipFileInfo> parentEntries = entriesOf(romPath, game.parent);
    entries.insert(entries.end(), parentEntries.begin(), parentEntries.end());

    Audit audit{checkSet(game, entries), {}, false};
    const GameInfo* parent = game.parent.empty() ? nullptr : findGame(data, game.parent);
    std::size_t found = 0;
    std::size_t sharedFound = 0;
    std::size_t sharedRequired = 0;
    for (const RomCheck& check : audit.checks) {
        const bool shared = parentHas(parent, *check.rom);
        const bool there = check.status != RomStatus::NotFound;
        audit.shared.push_back(shared);
        found += there ? 1 : 0;
        sharedFound += there && shared ? 1 : 0;
        sharedRequired += shared ? 1 : 0;
    }
    const std::size_t required = audit.checks.size();
    audit.missing =
        found == sharedFound && required > 0 && (required != sharedRequired || sharedFound == 0);
    return audit;
}

bool wrongLength(const RomCheck& check)
{
    return check.foundSize != check.rom->size;
}

} // namespace zefrin::standin
