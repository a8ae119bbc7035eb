// The emulator's answer to "-verifyroms SET" as today's emulator gives it (lines on the wrong
// files, then the verdict): any bytes must read as lines, and the answer passes exactly when
// one of them is "romset SET is good", "romset SET [PARENT] is good" or "romset SET is best
// available" (blanks around it and letter case aside; PARENT up to the first "] ").

#include "FuzzInput.h"
#include "engine/romman/ArchiveCheck.h"

#include <QRegularExpression>

#include <cstdlib>

using namespace zefrin;

namespace {

// A passing verdict line of `set`, trimmed and in capitals, among such lines one a line.
QRegularExpression passingLine(const QString& set)
{
    return QRegularExpression(
        QStringLiteral("(*LF)^ROMSET ") + QRegularExpression::escape(set.toUpper()) +
            QStringLiteral(" (\\[((?!\\] )[^\\n])*\\] )?IS (GOOD|BEST AVAILABLE)$"),
        QRegularExpression::MultilineOption);
}

} // namespace

// A pattern lives for one input: compiling it to machine code would cost more than matching.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_ENABLE_REGEXP_JIT", "0");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [answer, setBytes] = fuzz::splitAtNul(fuzz::bytes(data, size));
    const QStringList lines = answerLinesOf(memoryDevice(answer));
    if (lines != fuzz::linesOf(answer))
        std::abort();
    const QString set = QString::fromUtf8(setBytes);
    // One match over the lines that may match (a match costs a heap block). A set holding a
    // line break names no line.
    QStringList words;
    for (const QString& line : lines)
        words << line.trimmed().toUpper();
    const QStringList verdicts = words.filter(QLatin1String("ROMSET "));
    const bool expected = !verdicts.isEmpty() && !set.contains(QLatin1Char('\n')) &&
                          passingLine(set).match(verdicts.join(QLatin1Char('\n'))).hasMatch();
    if (isPassingVerifyAnswer(lines, set) != expected)
        std::abort();
    // A verdict of "is bad" or "not found" after the lines changes nothing; a good one passes
    // (one of the two a run: each reads all the lines again).
    const QStringList after =
        size % 2 ? QStringList{QStringLiteral("romset ") + set + QStringLiteral(" is bad"),
                               QStringLiteral("romset \"") + set + QStringLiteral("\" not found!")}
                 : QStringList{QStringLiteral(" romset ") + set +
                               QStringLiteral(" is best available\r")};
    if (isPassingVerifyAnswer(lines + after, set) != (size % 2 ? expected : true))
        std::abort();
    return 0;
}
