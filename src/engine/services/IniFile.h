#pragma once
// Reading INI files the way the Windows private-profile functions read them, so a file edited
// by hand answers here as it would for GetPrivateProfileString:
//   - "[name]" starts a section; text before the first section belongs to none;
//   - "key = value" lines, the key before the first "=", a line without "=" is a key without
//     value; section and key names match without regard to letter case;
//   - blanks around names and values are dropped, and a value enclosed in a matching pair of
//     single or double quotation marks loses them;
//   - the first line in file order whose section and key match wins, also when the section
//     appears more than once;
//   - at most 254 characters of a value are returned (the API's 255-character buffer);
//   - no characters at all (file, section or key missing, empty value) gives the default.

#include "TextFile.h"

#include <QString>

#include <optional>
#include <vector>

namespace zefrin {

// One "key = value" line of a section as the rules above read it: names and value without
// their blanks, the value without its quotation marks and cut to 254 characters. Views into
// the reader's line, valid until its next call.
struct IniEntryView {
    QStringView section;
    QStringView key;
    QStringView value;

    bool is(QStringView sectionName, QStringView keyName) const;
};

// The entries of a file in file order, read one line at a time, so a file of any size is read
// without holding it; a missing or unreadable file has none.
class IniReader {
public:
    explicit IniReader(const QString& path);
    explicit IniReader(std::unique_ptr<QIODevice> file);

    // The next entry, or nothing at the end of the file.
    std::optional<IniEntryView> nextView();

private:
    TextLineReader lines_;
    QString section_;
    bool inSection_ = false;
    bool firstLine_ = true;
};

class IniFile {
public:
    // Reads the file once; a missing or unreadable file reads as an empty one.
    explicit IniFile(const QString& path);
    explicit IniFile(std::unique_ptr<QIODevice> file);

    QString value(const QString& section, const QString& key,
                  const QString& defaultValue = QString()) const;
    QString value(QStringView section, QStringView key,
                  const QString& defaultValue = QString()) const;

private:
    // An entry as places in text_, its key followed by its value: one block holds them all,
    // however many lines the file has.
    struct Entry {
        qsizetype section;
        qsizetype key;
        qsizetype keySize;
        qsizetype valueSize;
    };

    QStringList sections_;
    QString text_;
    std::vector<Entry> entries_;
};

// One value, the file read anew for the call (up to the line that answers): an edit of the
// file is seen by the next call.
QString LeerINI(const QString& file, const QString& section, const QString& key,
                const QString& defaultValue);
QString LeerINI(std::unique_ptr<QIODevice> file, const QString& section, const QString& key,
                const QString& defaultValue);

} // namespace zefrin
