// The emulator's answer to "-version" (today "0.251 (unknown)", without a line end): any bytes
// must give either an unknown version or a short version, one the answer of that version
// gives back and whose dialect and rules follow without failing.

#include "FuzzInput.h"
#include "engine/version/Dialect.h"
#include "engine/version/VersionRules.h"

#include <QRegularExpression>

#include <cstdlib>

using namespace zefrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QRegularExpression versionStart(QStringLiteral("^[0-9]+\\.[0-9]+"));
    const InstalledVersion installed = versionFromAnswer(fuzz::bytes(data, size));
    (void)dialectOf(installed);
    (void)versionStateFor(installed);
    if (!installed.isKnown())
        return 0;
    const QString version = installed.text();
    if (!versionStart.match(version).hasMatch() || version.size() > 256)
        std::abort();
    // The build's own label after it, as the packaged emulator prints it, changes nothing.
    for (const QByteArray& answer : {version.toLatin1(), version.toLatin1() + " (unknown)",
                                     version.toLatin1() + " (mame0251)\r\nmore\n"}) {
        if (versionFromAnswer(answer) != installed)
            std::abort();
    }
    return 0;
}
