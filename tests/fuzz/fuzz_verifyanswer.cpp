// The emulator's answer in 1.p to a set check: any bytes must read as one first line, and
// only the exact "romset SET is good" verdict (blanks and letter case aside) counts as good.

#include "FuzzInput.h"
#include "engine/romman/ArchiveCheck.h"

#include <cstdlib>

using namespace zefrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [answer, setBytes] = fuzz::splitAtNul(fuzz::bytes(data, size));
    const QString line = firstLineOf(memoryDevice(answer));
    if (line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')))
        std::abort();
    const QString set = QString::fromUtf8(setBytes);
    const bool good = isGoodVerifyLine(line, set);
    const QString expected = QStringLiteral("ROMSET ") + set.toUpper() + QStringLiteral(" IS GOOD");
    if (good != (line.trimmed().toUpper() == expected))
        std::abort();
    if (!isGoodVerifyLine(QStringLiteral("  romset ") + set + QStringLiteral(" is good "), set) &&
        set.trimmed() == set && !set.contains(QLatin1Char('\n')))
        std::abort();
    return 0;
}
