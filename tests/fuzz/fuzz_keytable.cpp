// A hand-edited Zefrin.tlc: any bytes must read as some table, values never longer than the
// 254 characters the private-profile reader returns, lookups must stay in their ranges, and
// the table read once must answer as the lookups that read it anew.

#include "FuzzInput.h"
#include "engine/input/KeyNameTable.h"
#include "engine/services/IniFile.h"

#include <cstdlib>

using namespace zefrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::FuzzFolder folder;
    const QByteArray input = fuzz::bytes(data, size);
    folder.write(QStringLiteral("Zefrin.tlc"), input);
    const QString table = keyNameTablePath(folder.path());

    for (const char* section : {"teclas", "comienzo", "Control", ""}) {
        for (const char* key : {"t43", "c0", "c2", "?t", ""}) {
            const QString value = LeerINI(table, QLatin1String(section), QLatin1String(key), {});
            if (value.size() > 254)
                std::abort();
        }
    }
    const QStringList lines = fuzz::linesOf(input);
    const QString someName = lines.isEmpty() ? QString() : lines.first().section('=', 1).trimmed();
    const int label = TeclaDeNombre(folder.path(), someName);
    if (label != 0 && (label < 10 || label > 102))
        std::abort();
    for (const QString& port : {QStringLiteral("COIN3"), QStringLiteral("P2_BUTTON4"), someName}) {
        const int control = ControlDeNombre(folder.path(), port);
        if (control < 0 || control > 15)
            std::abort();
        (void)JugadorDeNombre(port);
    }
    // The table read once answers as every lookup's own read.
    const KeyNames names(folder.path());
    if (names.TeclaDeNombre(someName) != label)
        std::abort();
    for (int control = 0; control < 16; ++control) {
        const QString port = NombrePuerto(folder.path(), control, 1 + control % 4);
        if (names.NombrePuerto(control, 1 + control % 4) != port ||
            names.ControlDeNombre(port) != ControlDeNombre(folder.path(), port))
            std::abort();
    }
    for (int label = 0; label <= KeyNames::lastLabel; ++label) {
        if (names.keyNameOfLabel(label) != keyNameOfLabel(folder.path(), label))
            std::abort();
    }
    return 0;
}
