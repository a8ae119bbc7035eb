#include "CrcList.h"

#include <QFile>
#include <QHash>

#include <algorithm>

namespace zefrin {

namespace {

// Today's list is about 33 MB; one many times larger is no list of the emulator's.
constexpr qint64 largestList = qint64(1) << 30;
constexpr qsizetype crcDigits = 8;

std::optional<quint32> hexCrc(QByteArrayView digits)
{
    quint32 crc = 0;
    for (const char c : digits) {
        int value = 0;
        if (c >= '0' && c <= '9')
            value = c - '0';
        else if (c >= 'a' && c <= 'f')
            value = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            value = c - 'A' + 10;
        else
            return std::nullopt;
        crc = (crc << 4) | static_cast<quint32>(value);
    }
    return crc;
}

QByteArrayView trimmedBlanks(QByteArrayView text)
{
    const auto blank = [](char c) {
        return c == ' ' || c == '\r';
    };
    while (!text.isEmpty() && blank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    return text;
}

} // namespace

std::optional<QByteArrayView> crcLineSet(QByteArrayView line)
{
    if (line.size() <= crcDigits || line.at(crcDigits) != ' ' || !hexCrc(line.first(crcDigits)))
        return std::nullopt;
    const qsizetype tab = line.indexOf('\t', crcDigits);
    if (tab < 0)
        return std::nullopt;
    QByteArrayView set = line.sliced(tab + 1);
    if (const qsizetype next = set.indexOf('\t'); next >= 0)
        set = set.first(next);
    set = trimmedBlanks(set);
    if (set.isEmpty())
        return std::nullopt;
    return set;
}

CrcIndex CrcIndex::fromText(QByteArrayView text)
{
    CrcIndex index;
    QHash<QByteArray, quint32> numbers;
    QByteArrayView lastSet;
    quint32 lastNumber = 0;
    while (!text.isEmpty()) {
        const qsizetype end = text.indexOf('\n');
        const QByteArrayView line = end < 0 ? text : text.first(end);
        text = end < 0 ? QByteArrayView() : text.sliced(end + 1);
        const std::optional<QByteArrayView> set = crcLineSet(line);
        if (!set)
            continue;
        // The lines of a set come together: most lines name the set of the line before.
        if (lastSet.isNull() || *set != lastSet) {
            const QByteArray name = set->toByteArray();
            auto found = numbers.constFind(name);
            if (found == numbers.cend()) {
                found = numbers.insert(name, static_cast<quint32>(index.sets_.size()));
                index.sets_ << QString::fromLatin1(name);
            }
            lastSet = *set;
            lastNumber = *found;
        }
        index.entries_.emplace_back(*hexCrc(line.first(crcDigits)), lastNumber);
    }
    std::sort(index.entries_.begin(), index.entries_.end());
    return index;
}

QSet<QString> CrcIndex::setsHolding(const QList<quint32>& crcs) const
{
    QSet<QString> sets;
    for (const quint32 crc : crcs) {
        auto it = std::lower_bound(entries_.begin(), entries_.end(), std::make_pair(crc, 0u));
        for (; it != entries_.end() && it->first == crc; ++it)
            sets.insert(sets_.at(it->second));
    }
    return sets;
}

std::optional<CrcIndex> readCrcList(QIODevice& device)
{
    if (!device.isReadable() || (!device.isSequential() && device.size() > largestList))
        return std::nullopt;
    QByteArray text;
    if (!device.isSequential())
        text.reserve(device.size() - device.pos());
    constexpr qint64 chunk = qint64(1) << 20;
    while (!device.atEnd() && text.size() <= largestList) {
        const QByteArray more = device.read(chunk);
        if (more.isEmpty())
            break;
        text += more;
    }
    if (text.size() > largestList)
        return std::nullopt;
    return CrcIndex::fromText(text);
}

std::optional<CrcIndex> readCrcList(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readCrcList(file);
}

} // namespace zefrin
