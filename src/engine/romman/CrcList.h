#pragma once
// The emulator's list of every ROM it knows ("-listcrc", kept as listacrc.txt), read into an
// index from CRC-32 to the sets that have a ROM of it. A line is
//     crc32 romname<TAB>set<TAB>title
// with the CRC as eight hexadecimal digits, the ROM's name padded to 32 characters and the
// set's to 16 (either may be longer). A line that does not begin with eight hexadecimal digits
// and a blank, or has no set after its first TAB, is passed over. A set that appears with no
// ROM (a game that needs no ROM file) is in no entry.

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zefrin {

class CrcIndex {
public:
    // The sets that have a ROM of any of the CRCs.
    QSet<QString> setsHolding(const QList<quint32>& crcs) const;
    bool isEmpty() const { return entries_.empty(); }
    qsizetype size() const { return static_cast<qsizetype>(entries_.size()); }

    static CrcIndex fromText(const QByteArray& text);

private:
    // A ROM's CRC and where its set's name stands in the text, sorted by CRC. The text is
    // kept: a name of its own for each of today's 45,000 sets would cost more than the list.
    struct Entry {
        quint32 crc;
        quint32 setAt;
        quint32 setSize;
        bool operator<(const Entry& other) const { return crc < other.crc; }
    };
    QByteArray text_;
    std::vector<Entry> entries_;
};

// The set a list line names, or nothing when it is no list line.
std::optional<QByteArrayView> crcLineSet(QByteArrayView line);

// The list read from a device or a file: nothing when it cannot be read, or is larger than any
// list the emulator writes (then it is no list of the emulator's).
std::optional<CrcIndex> readCrcList(QIODevice& device);
std::optional<CrcIndex> readCrcList(const QString& path);

// The list at `path` came out whole (catalogue/ListCheck.h): every line a list line.
bool crcListIsWhole(const QString& path);

} // namespace zefrin
