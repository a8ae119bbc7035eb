// mame.ini as the user or the emulator left it: the option rewrite must keep every line that
// does not name the option, one line for one, whatever the file holds, and the file read and
// written line by line must come out as the rewrite of its lines.

#include "FuzzInput.h"
#include "engine/input/MameIniOption.h"
#include "engine/input/OptionLines.h"

#include <QBuffer>

#include <cstdlib>

using namespace zefrin;

namespace {

bool namesOption(const QString& line, const QString& name)
{
    const QString text = line.startsWith(QLatin1Char('#')) ? line.mid(2) : line;
    return NombreDeLinea(text) == name;
}

// The file's bytes once rewriteOptionLines' lines replace the lines it had.
QByteArray rewrittenBytes(const OptionRewrite& rewrite)
{
    QByteArray bytes;
    for (const QString& line : rewrite.lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [content, previous] = fuzz::splitAtNul(fuzz::bytes(data, size));
    // The file read and written line by line comes out as the rewrite of its lines, each byte
    // one character.
    const QStringList bytesAsLines = splitLines(QString::fromLatin1(content));
    for (const bool restore : {false, true}) {
        const QString linea = QString::fromUtf8(previous);
        const OptionRewrite rewrite = rewriteOptionLines(bytesAsLines, QStringLiteral("ctrlr"),
                                                         QStringLiteral("Zefrin"), restore, linea);
        const bool unchanged = rewrite.alreadySet || rewrite.lines == bytesAsLines;
        OptionLineRewriter rewriter(QStringLiteral("ctrlr"), QStringLiteral("Zefrin"), restore,
                                    linea);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        const IniChange change = rewriteOptionText(memoryDevice(content), rewriter, &out);
        if (change != (unchanged ? IniChange::Unchanged : IniChange::Rewritten) ||
            (!unchanged && (out.data() != rewrittenBytes(rewrite) ||
                            rewriter.lineaAnterior() != rewrite.lineaAnterior)))
            std::abort();
    }
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
