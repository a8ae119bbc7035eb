// The central directory of an archive, read in memory through libzip: any bytes (bad offsets,
// counts that do not fit, thousands of entries) must read as an archive or as none, and an
// archive has no more files than its bytes can record (46 bytes a central-directory entry).

#include "FuzzInput.h"
#include "engine/romman/ZipCrcs.h"

#include <cstdlib>

using namespace zefrin;

namespace {

constexpr qsizetype smallestEntry = 46;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const std::optional<QList<quint32>> crcs = zipFileCrcs(input);
    if (crcs && crcs->size() * smallestEntry > input.size())
        std::abort();
    return 0;
}
