// mame.ini as the user or the emulator left it: the option rewrite must keep every line that
// does not name the option, one line for one, whatever the file holds, and the file read and
// written line by line must come out as the rewrite of its lines.

#include "FuzzInput.h"
#include "engine/input/MameIniOption.h"
#include "engine/input/OptionLines.h"
#include "engine/services/TextFile.h"

#include <QBuffer>

#include <cstdlib>

using namespace zefrin;

namespace {

bool namesOption(QStringView line, const QString& name)
{
    return nameOfLine(line.startsWith(QLatin1Char('#')) ? line.mid(2) : line) == name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [content, previous] = fuzz::splitAtNul(fuzz::bytes(data, size));
    const QString name = QStringLiteral("ctrlr");
    const QString lineaAnterior = QString::fromUtf8(previous);
    // Setting or restoring, to a value or none: the input decides which.
    const bool restore = size % 2;
    const QString value = size % 4 < 2 ? QStringLiteral("Zefrin") : QString();

    // Each property reads the whole input two or three times: a run checks one of the two, the
    // input decides which.
    if (size % 8 < 4) {
        // The file read and written line by line comes out as the rewrite of its lines, each
        // byte one character, each line ended as it was.
        const QStringList bytesAsLines = splitLines(QString::fromLatin1(content));
        const OptionRewrite expected = rewriteOptionLines(
            bytesAsLines, name, QStringLiteral("Zefrin"), restore, lineaAnterior);
        const bool unchanged = expected.alreadySet || expected.lines == bytesAsLines;
        QString ended; // the rewritten lines with the file's own line ends
        TextLineReader ends(memoryDevice(content), QStringConverter::Latin1);
        for (qsizetype i = 0; ends.nextView(); ++i) {
            ended += lineEndText(ends.endOfPreviousLine());
            ended += expected.lines.value(i);
        }
        ended += lineEndText(ends.endOfPreviousLine());
        OptionLineRewriter rewriter(name, QStringLiteral("Zefrin"), restore, lineaAnterior);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        const IniChange change = rewriteOptionText(memoryDevice(content), rewriter, &out);
        if (change != (unchanged ? IniChange::Unchanged : IniChange::Rewritten) ||
            (!unchanged && (out.data() != ended.toLatin1() ||
                            rewriter.lineaAnterior() != expected.lineaAnterior)))
            std::abort();
        return 0;
    }

    // Every line that does not name the option stays, one line for one.
    QStringList lines;
    TextLineReader reader(memoryDevice(content));
    while (const std::optional<QStringView> line = reader.nextView())
        lines << line->toString();
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
