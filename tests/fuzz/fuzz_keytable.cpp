// A hand-edited Zefrin.tlc: any bytes must read as some table, values kept never longer than
// the 254 characters the private-profile reader returns, lookups must stay in their ranges, and
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
    const IniFile table(memoryDevice(input));
    const QLatin1String section(size % 4 < 2 ? "teclas" : "Control");
    const QLatin1String key(size % 3 ? "t43" : "c2");
    // A fresh read costs as much as all the lookups: a fifth of the runs make one.
    if (size % 5 == 0 &&
        LeerINI(memoryDevice(input), section, key, {}) != table.value(section, key))
        std::abort();
    // A name the file itself may hold: what follows "=" on its first line.
    const qsizetype firstEnd = input.indexOf('\n');
    const QString someName =
        QString::fromUtf8(input.first(firstEnd < 0 ? size : firstEnd)).section('=', 1).trimmed();
    const QString somePort =
        std::array{QStringLiteral("COIN3"), QStringLiteral("P2_BUTTON4"), someName}[size % 3];
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
    // A value kept went through the reader's cut (which one, the input decides).
    if (names.keyNameOfLabel(someLabel).size() > 254 || names.controlPortText(control).size() > 254)
        std::abort();
    if (names.NombrePuerto(control, 1 + control % 4) != port ||
        names.keyNameOfLabel(someLabel) != keyNameOfLabel(table, someLabel))
        std::abort();
    // A port name the table gives, or another: one search of the 16 controls a run.
    const QString& askedPort = size % 2 ? port : somePort;
    const int askedControl = ControlDeNombre(table, askedPort);
    if (askedControl < 0 || askedControl > 15 || names.ControlDeNombre(askedPort) != askedControl)
        std::abort();
    return 0;
}
