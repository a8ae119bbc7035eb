#pragma once
// How today's emulator judges a set: each file is looked for in the set's own archive, then in
// its parent's; a file the parent also has (same CRC-32 and size) is shared. A set of which
// nothing but shared files is there counts as missing altogether, as if it had no archive.

#include "Archive.h"
#include "DataFile.h"

#include <string_view>
#include <vector>

namespace zefrin::standin {

struct Audit {
    std::vector<RomCheck> checks;
    std::vector<bool> shared; // one per check
    bool missing = false;
};

Audit auditSet(const EmulatorData& data, const GameInfo& game, std::string_view romPath);

// For a file found under its name with other bytes: whether its length differs (else its CRC).
bool wrongLength(const RomCheck& check);

} // namespace zefrin::standin
