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

bool namesOption(QStringView line, const QString& name)
{
    return nameOfLine(line.startsWith(QLatin1Char('#')) ? line.mid(2) : line) == name;
}

// The file's bytes once rewriteOptionLines' lines replace the lines it had, each character
// one byte.
QByteArray rewrittenBytes(const OptionRewrite& rewrite)
{
    QString text = rewrite.lines.join(QLatin1String("\r\n"));
    if (!rewrite.lines.isEmpty())
        text += QLatin1String("\r\n");
    return text.toLatin1();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [content, previous] = fuzz::splitAtNul(fuzz::bytes(data, size));
    const QString name = QStringLiteral("ctrlr");
    const QString lineaAnterior = QString::fromUtf8(previous);
    // Setting or restoring, to a value or none: one of each a run, the input decides which
    // (every rewrite reads the whole file).
    const bool restore = size % 2;
    const QString value = size % 4 < 2 ? QStringLiteral("Zefrin") : QString();

    // The file read and written line by line comes out as the rewrite of its lines, each byte
    // one character.
    const QStringList bytesAsLines = splitLines(QString::fromLatin1(content));
    const OptionRewrite expected =
        rewriteOptionLines(bytesAsLines, name, QStringLiteral("Zefrin"), restore, lineaAnterior);
    const bool unchanged = expected.alreadySet || expected.lines == bytesAsLines;
    OptionLineRewriter rewriter(name, QStringLiteral("Zefrin"), restore, lineaAnterior);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    const IniChange change = rewriteOptionText(memoryDevice(content), rewriter, &out);
    if (change != (unchanged ? IniChange::Unchanged : IniChange::Rewritten) ||
        (!unchanged && (out.data() != rewrittenBytes(expected) ||
                        rewriter.lineaAnterior() != expected.lineaAnterior)))
        std::abort();

    // Every line that does not name the option stays, one line for one.
    const QStringList lines = fuzz::linesOf(content);
    const OptionRewrite rewrite = rewriteOptionLines(lines, name, value, restore, lineaAnterior);
    if (rewrite.alreadySet)
        return 0;
    if (rewrite.lines.size() != lines.size())
        std::abort();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!namesOption(lines.at(i), name) && rewrite.lines.at(i) != lines.at(i))
            std::abort();
    }
    return 0;
}
