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
#include <utility>
#include <vector>

namespace zefrin {

class CrcIndex {
public:
    // The sets that have a ROM of any of the CRCs.
    QSet<QString> setsHolding(const QList<quint32>& crcs) const;
    bool isEmpty() const { return entries_.empty(); }
    qsizetype size() const { return static_cast<qsizetype>(entries_.size()); }

    static CrcIndex fromText(QByteArrayView text);

private:
    std::vector<std::pair<quint32, quint32>> entries_; // CRC, set number; sorted
    QStringList sets_;
};

// The set a list line names, or nothing when it is no list line.
std::optional<QByteArrayView> crcLineSet(QByteArrayView line);

// The list read from a device or a file: nothing when it cannot be read, or is larger than any
// list the emulator writes (then it is no list of the emulator's).
std::optional<CrcIndex> readCrcList(QIODevice& device);
std::optional<CrcIndex> readCrcList(const QString& path);

} // namespace zefrin
