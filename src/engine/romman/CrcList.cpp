#include "CrcList.h"

#include "engine/catalogue/ListCheck.h"

#include <QFile>

#include <algorithm>

namespace zefrin {

namespace {

// Today's list is about 33 MB; one many times larger is no list of the emulator's.
// (Its offsets into the text then fit in 32 bits.)
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

CrcIndex CrcIndex::fromText(const QByteArray& text)
{
    CrcIndex index;
    index.text_ = text;
    const QByteArrayView all(index.text_);
    QByteArrayView rest = all;
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf('\n');
        const QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        const std::optional<QByteArrayView> set = crcLineSet(line);
        if (!set)
            continue;
        index.entries_.push_back({*hexCrc(line.first(crcDigits)),
                                  static_cast<quint32>(set->data() - all.data()),
                                  static_cast<quint32>(set->size())});
    }
    std::sort(index.entries_.begin(), index.entries_.end());
    return index;
}

QSet<QString> CrcIndex::setsHolding(const QList<quint32>& crcs) const
{
    // An archive may hold many files of one CRC, and a ROM (a BIOS) may be of thousands of
    // sets: each CRC is looked up once, and each set named once.
    QList<quint32> wanted = crcs;
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    QSet<QByteArrayView> names;
    for (const quint32 crc : std::as_const(wanted)) {
        auto it = std::lower_bound(entries_.begin(), entries_.end(), Entry{crc, 0, 0});
        for (; it != entries_.end() && it->crc == crc; ++it)
            names.insert(QByteArrayView(text_.constData() + it->setAt, it->setSize));
    }
    QSet<QString> sets;
    sets.reserve(names.size());
    for (const QByteArrayView name : std::as_const(names))
        sets.insert(QString::fromLatin1(name));
    return sets;
}

std::optional<CrcIndex> readCrcList(QIODevice& device)
{
    if (!device.isReadable())
        return std::nullopt;
    if (!device.isSequential()) {
        if (device.size() - device.pos() > largestList)
            return std::nullopt;
        return CrcIndex::fromText(device.readAll());
    }
    QByteArray text;
    constexpr qint64 chunk = qint64(1) << 20;
    while (text.size() <= largestList && device.bytesAvailable() > 0) {
        const QByteArray more = device.read(std::min(chunk, device.bytesAvailable()));
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

namespace {

bool isCrcLine(QByteArrayView line, bool)
{
    return crcLineSet(line).has_value();
}

} // namespace

bool crcListIsWhole(const QString& path)
{
    return listIsWhole(path, isCrcLine);
}

} // namespace zefrin
