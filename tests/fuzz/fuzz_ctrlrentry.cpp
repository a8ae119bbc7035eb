// A hand-edited controller entry file: any bytes must load into the 4 x 16 table with every
// cell a key of the picture, 0 (a name the table does not know) or -1 (the emulator's key).

#include "FuzzInput.h"
#include "engine/input/ControllerFiles.h"
#include "engine/input/KeyNameTable.h"

#include <cstdlib>

using namespace zefrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const KeyNames names(
        memoryDevice(encodeSystemText(defaultKeyNameTableLines().join(QStringLiteral("\r\n")))));
    const KeyTable table = readControllerEntries(names, memoryDevice(fuzz::bytes(data, size)));
    for (const auto& player : table) {
        for (const int cell : player) {
            if (cell < -1 || cell > 102)
                std::abort();
        }
    }
    // What loads must save: names for every placed cell, one XML port per entry line.
    const std::vector<ControllerEntry> entries = controllerEntries(names, table, Dialect::Classic);
    if (controllerXmlLines(entries).size() != 8 + 3 * static_cast<qsizetype>(entries.size()))
        std::abort();
    return 0;
}
