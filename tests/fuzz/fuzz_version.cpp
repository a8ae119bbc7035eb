// The release notes' version line and the order of versions: any bytes must give a line or
// an unknown version (the same from the file as from its lines), and the order must stay
// a consistent three-way comparison.

#include "FuzzInput.h"
#include "engine/services/TextFile.h"
#include "engine/version/VersionRules.h"

#include <cstdlib>

using namespace zefrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const InstalledVersion version = versionFromLines(splitLines(decodeSystemText(input)));
    // The file read a part at a time gives the same line, unless it is too long for a version.
    const InstalledVersion read = versionOfNotes(memoryDevice(input));
    if (read != (version.text().size() > longestVersionLine ? InstalledVersion() : version))
        std::abort();
    (void)versionStateFor(version);
    (void)launchWithoutSound(version);

    const auto [first, second] = fuzz::splitAtNul(input);
    const QString a = QString::fromUtf8(first);
    const QString b = QString::fromUtf8(second);
    const int ab = compareVersions(a, b);
    const int ba = compareVersions(b, a);
    if ((ab < 0) != (ba > 0) || (ab == 0) != (ba == 0) || compareVersions(a, a) != 0)
        std::abort();
    for (const QString& threshold :
         {noConfigurationThreshold(), noControllerThreshold(), soundOptionThreshold()}) {
        // Transitivity through each threshold.
        if (compareVersions(a, b) <= 0 && compareVersions(b, threshold) <= 0 &&
            compareVersions(a, threshold) > 0)
            std::abort();
    }
    return 0;
}
