// mame.ini as the user or the emulator left it: the option rewrite must keep every line that
// does not name the option, one line for one, whatever the file holds.

#include "FuzzInput.h"
#include "engine/input/MameIniOption.h"
#include "engine/input/OptionLines.h"

#include <cstdlib>

using namespace zefrin;

namespace {

bool namesOption(const QString& line, const QString& name)
{
    const QString text = line.startsWith(QLatin1Char('#')) ? line.mid(2) : line;
    return NombreDeLinea(text) == name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [content, previous] = fuzz::splitAtNul(fuzz::bytes(data, size));
    const QStringList lines = fuzz::linesOf(content);
    const QString name = QStringLiteral("ctrlr");
    const QString lineaAnterior = QString::fromUtf8(previous);
    for (const QString& value : {QStringLiteral("Zefrin"), QString()}) {
        for (const bool restore : {false, true}) {
            const OptionRewrite rewrite =
                rewriteOptionLines(lines, name, value, restore, lineaAnterior);
            if (rewrite.alreadySet)
                continue;
            if (rewrite.lines.size() != lines.size())
                std::abort();
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (!namesOption(lines.at(i), name) && rewrite.lines.at(i) != lines.at(i))
                    std::abort();
            }
        }
    }
    return 0;
}
