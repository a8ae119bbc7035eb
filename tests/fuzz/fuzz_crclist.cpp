// The emulator's CRC list (listacrc.txt), read in memory: any bytes must read, and every line
// the list's grammar accepts must lead from its CRC to its set, whatever the other lines hold.

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
    qsizetype accepted = 0;
    QByteArrayView rest(input);
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf('\n');
        const QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        const std::optional<QByteArrayView> set = crcLineSet(line);
        if (!set)
            continue;
        ++accepted;
        const quint32 crc = line.first(8).toByteArray().toUInt(nullptr, 16);
        if (!index->setsHolding({crc}).contains(QString::fromLatin1(*set)))
            std::abort();
    }
    if (index->size() != accepted)
        std::abort();
    return 0;
}
