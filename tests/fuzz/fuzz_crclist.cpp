// The emulator's CRC list (listacrc.txt), read in memory: any bytes must read, and the lines
// the list's grammar accepts must lead from their CRCs to their sets and no other, whatever the
// other lines hold.

#include "FuzzInput.h"
#include "engine/romman/CrcList.h"

#include <QBuffer>

#include <cstdlib>

using namespace zefrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray input = fuzz::bytes(data, size);
    QBuffer device(&input);
    if (!device.open(QIODevice::ReadOnly))
        return 0;
    const std::optional<CrcIndex> index = readCrcList(device);
    if (!index)
        std::abort();
    // All the CRCs of the lines the grammar accepts lead to exactly the sets of those lines.
    QList<quint32> crcs;
    QSet<QString> sets;
    QByteArrayView rest(input);
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf('\n');
        const QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (const std::optional<QByteArrayView> set = crcLineSet(line)) {
            crcs << line.first(8).toByteArray().toUInt(nullptr, 16);
            sets.insert(QString::fromLatin1(*set));
        }
    }
    if (index->size() != crcs.size() || index->setsHolding(crcs) != sets)
        std::abort();
    return 0;
}
