#include "IniFile.h"

#include "TextFile.h"

namespace zefrin {

namespace {

// The profile functions return what fits in a buffer of 255 characters with its terminator.
constexpr qsizetype maximumValueLength = 254;

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\v') ||
           c == QLatin1Char('\f');
}

QStringView trimBlanks(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text.at(start)))
        ++start;
    while (end > start && isBlank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

QStringView withoutQuotes(QStringView value)
{
    if (value.size() < 2)
        return value;
    const QChar first = value.front();
    if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

IniFile::IniFile(const QString& path)
{
    const std::optional<QStringList> lines = readTextLines(path);
    if (!lines)
        return;
    bool inSection = false;
    QString section;
    bool firstLine = true;
    for (const QString& rawLine : *lines) {
        QStringView line(rawLine);
        // Editors that save UTF-8 may put a byte-order mark in front of the first header.
        if (firstLine && line.startsWith(QChar(0xFEFF)))
            line = line.mid(1);
        firstLine = false;
        line = trimBlanks(line);
        if (line.isEmpty())
            continue;
        if (line.front() == QLatin1Char('[')) {
            const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
            if (close > 0) {
                section = trimBlanks(line.mid(1, close - 1)).toString();
                inSection = true;
                continue;
            }
        }
        if (!inSection)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QStringView key = trimBlanks(equals < 0 ? line : line.left(equals));
        if (key.isEmpty())
            continue;
        const QStringView value =
            equals < 0 ? QStringView() : withoutQuotes(trimBlanks(line.mid(equals + 1)));
        entries_.push_back({section, key.toString(), value.left(maximumValueLength).toString()});
    }
}

QString IniFile::value(const QString& section, const QString& key,
                       const QString& defaultValue) const
{
    for (const Entry& entry : entries_) {
        if (entry.section.compare(section, Qt::CaseInsensitive) == 0 &&
            entry.key.compare(key, Qt::CaseInsensitive) == 0)
            return entry.value.isEmpty() ? defaultValue : entry.value;
    }
    return defaultValue;
}

QString LeerINI(const QString& file, const QString& section, const QString& key,
                const QString& defaultValue)
{
    return IniFile(file).value(section, key, defaultValue);
}

} // namespace zefrin
