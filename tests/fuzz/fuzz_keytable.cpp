// A hand-edited Zefrin.tlc: any bytes must read as some table, values never longer than the
// 254 characters the private-profile reader returns, lookups must stay in their ranges, and
// the table read a line at a time must answer as the lookups in the table read whole.

#include "FuzzInput.h"
#include "engine/input/KeyNameTable.h"
#include "engine/services/IniFile.h"

#include <array>
#include <cstdlib>

using namespace zefrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    // Each read of the whole input costs as much as all the lookups: a run makes one of the
    // two fresh reads that are checked against the table, the input decides which.
    if (size % 2) {
        IniReader entries(memoryDevice(input));
        while (const std::optional<IniEntryView> entry = entries.nextView()) {
            if (entry->value.size() > 254)
                std::abort();
        }
    }
    const IniFile table(memoryDevice(input));
    const QLatin1String section(size % 4 < 2 ? "teclas" : "Control");
    const QLatin1String key(size % 3 ? "t43" : "c2");
    if (size % 2 == 0 &&
        LeerINI(memoryDevice(input), section, key, {}) != table.value(section, key))
        std::abort();
    // A name the file itself holds: the value on its first line.
    const QStringList firstLine = fuzz::linesOf(input, 1);
    const QString someName =
        firstLine.isEmpty() ? QString() : firstLine.first().section('=', 1).trimmed();
    const QString somePort =
        std::array{QStringLiteral("COIN3"), QStringLiteral("P2_BUTTON4"), someName}[size % 3];
    const int someControl = ControlDeNombre(table, somePort);
    if (someControl < 0 || someControl > 15)
        std::abort();
    (void)JugadorDeNombre(somePort);
    // The table read a line at a time answers as the lookups in the whole table (a search
    // by name asks every label: a third of the runs).
    const KeyNames names(memoryDevice(input));
    if (size % 3 == 0) {
        const int label = TeclaDeNombre(table, someName);
        if ((label != 0 && (label < 10 || label > 102)) || names.TeclaDeNombre(someName) != label)
            std::abort();
    }
    const int control = static_cast<int>(size % 16);
    const QString port = NombrePuerto(table, control, 1 + control % 4);
    const int someLabel = static_cast<int>(size % (KeyNames::lastLabel + 1));
    if (names.NombrePuerto(control, 1 + control % 4) != port ||
        names.ControlDeNombre(port) != ControlDeNombre(table, port) ||
        names.keyNameOfLabel(someLabel) != keyNameOfLabel(table, someLabel))
        std::abort();
    return 0;
}
