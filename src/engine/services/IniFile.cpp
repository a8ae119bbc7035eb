#include "IniFile.h"

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
    const QChar* start = text.begin();
    const QChar* end = text.end();
    while (start < end && isBlank(*start))
        ++start;
    while (end > start && isBlank(end[-1]))
        --end;
    return QStringView(start, end);
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

bool IniEntry::is(const QString& sectionName, const QString& keyName) const
{
    return IniEntryView{section, key, value}.is(sectionName, keyName);
}

bool IniEntryView::is(QStringView sectionName, QStringView keyName) const
{
    return section.compare(sectionName, Qt::CaseInsensitive) == 0 &&
           key.compare(keyName, Qt::CaseInsensitive) == 0;
}

IniReader::IniReader(const QString& path)
    : lines_(path)
{
}

IniReader::IniReader(std::unique_ptr<QIODevice> file)
    : lines_(std::move(file))
{
}

std::optional<IniEntry> IniReader::next()
{
    const std::optional<IniEntryView> entry = nextView();
    if (!entry)
        return std::nullopt;
    return IniEntry{section_, entry->key.toString(), entry->value.toString()};
}

std::optional<IniEntryView> IniReader::nextView()
{
    while (std::optional<QStringView> rawLine = lines_.nextView()) {
        QStringView line = *rawLine;
        // Editors that save UTF-8 may put a byte-order mark in front of the first header.
        if (firstLine_ && line.startsWith(QChar(0xFEFF)))
            line = line.mid(1);
        firstLine_ = false;
        line = trimBlanks(line);
        if (line.isEmpty())
            continue;
        if (line.front() == QLatin1Char('[')) {
            const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
            if (close > 0) {
                section_ = trimBlanks(line.mid(1, close - 1)).toString();
                inSection_ = true;
                continue;
            }
        }
        if (!inSection_)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QStringView key = trimBlanks(equals < 0 ? line : line.left(equals));
        if (key.isEmpty())
            continue;
        const QStringView value =
            equals < 0 ? QStringView() : withoutQuotes(trimBlanks(line.mid(equals + 1)));
        return IniEntryView{section_, key, value.left(maximumValueLength)};
    }
    return std::nullopt;
}

IniFile::IniFile(const QString& path)
    : IniFile(fileDevice(path))
{
}

IniFile::IniFile(std::unique_ptr<QIODevice> file)
{
    IniReader reader(std::move(file));
    while (std::optional<IniEntry> entry = reader.next())
        entries_.push_back(std::move(*entry));
}

QString IniFile::value(const QString& section, const QString& key,
                       const QString& defaultValue) const
{
    return value(QStringView(section), QStringView(key), defaultValue);
}

QString IniFile::value(QStringView section, QStringView key, const QString& defaultValue) const
{
    for (const IniEntry& entry : entries_) {
        if (IniEntryView{entry.section, entry.key, entry.value}.is(section, key))
            return entry.value.isEmpty() ? defaultValue : entry.value;
    }
    return defaultValue;
}

QString LeerINI(const QString& file, const QString& section, const QString& key,
                const QString& defaultValue)
{
    return LeerINI(fileDevice(file), section, key, defaultValue);
}

QString LeerINI(std::unique_ptr<QIODevice> file, const QString& section, const QString& key,
                const QString& defaultValue)
{
    IniReader reader(std::move(file));
    while (const std::optional<IniEntryView> entry = reader.nextView()) {
        if (entry->is(section, key))
            return entry->value.isEmpty() ? defaultValue : entry->value.toString();
    }
    return defaultValue;
}

} // namespace zefrin
