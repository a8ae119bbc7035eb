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

#include <QString>

#include <vector>

namespace zefrin {

class IniFile {
public:
    // Reads the file once; a missing or unreadable file reads as an empty one.
    explicit IniFile(const QString& path);

    QString value(const QString& section, const QString& key,
                  const QString& defaultValue = QString()) const;

private:
    struct Entry {
        QString section;
        QString key;
        QString value;
    };
    std::vector<Entry> entries_;
};

// One value, the file read anew for the call: an edit of the file is seen by the next call.
QString LeerINI(const QString& file, const QString& section, const QString& key,
                const QString& defaultValue);

} // namespace zefrin
