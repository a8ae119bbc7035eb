#pragma once
// Finding a set's archive in the roms folder of the working folder (or, in today's dialect, on
// the ROM path), and judging it as the emulator does: by the names, CRC-32 values and sizes of
// its central directory only.

#include "DataFile.h"
#include "fixture/Zip.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace zefrin::standin {

// roms/NAME.zip; failing that roms/SHORT.zip for the game's own short name; failing that the
// first roms/*.zip whose name equals NAME.zip when letter case is ignored.
std::optional<std::filesystem::path> findSetArchive(std::string_view name,
                                                    std::string_view shortName = {});

// The folders of a search path such as -rompath's: ';' separated, empty parts left out.
std::vector<std::filesystem::path> searchFolders(std::string_view path);

// Today's emulator on Linux: FOLDER/SHORT.zip, letter case as given, in the first folder of
// `romPath` that holds it.
std::optional<std::filesystem::path> findArchiveOnPath(std::string_view romPath,
                                                       std::string_view shortName);

// The file that -romident and -isknown look at: the argument as a path relative to the working
// folder ('\' accepted as separator), or, for a bare archive or set name that is no file there,
// the archive in roms.
std::filesystem::path archiveArgumentPath(std::string_view argument);

enum class RomStatus { Good, NotFound, BadChecksum, BadLength };

struct RomCheck {
    const RomInfo* rom;
    RomStatus status;
    std::uint32_t foundCrc = 0; // the entry of the same name, when there is one
    std::uint64_t foundSize = 0;
};

// One check per file of the game. A file is good when an entry of its name, or failing that
// any entry, has its CRC and size: the emulator finds renamed ROMs by checksum.
std::vector<RomCheck> checkSet(const GameInfo& game,
                               const std::vector<fixture::ZipFileInfo>& entries);
bool isGood(const std::vector<RomCheck>& checks);

// Whether a file of that CRC and size belongs to any game.
bool isKnownRom(const EmulatorData& data, std::uint32_t crc, std::uint64_t size);

} // namespace zefrin::standin
