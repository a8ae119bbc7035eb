#include "IniFile.h"

namespace zefrin {

namespace {

// The profile functions return what fits in a buffer of 255 characters with its terminator.
constexpr qsizetype maximumValueLength = 254;

bool isBlank(QChar c)
{
    // Most characters are past the space: one comparison tells them.
    return c.unicode() <= u' ' && (c == QLatin1Char(' ') || c == QLatin1Char('\t') ||
                                   c == QLatin1Char('\v') || c == QLatin1Char('\f'));
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

// Section and key names match without regard to letter case.
bool sameName(QStringView name, QStringView asked)
{
    return name.compare(asked, Qt::CaseInsensitive) == 0;
}

} // namespace

bool IniEntryView::is(QStringView sectionName, QStringView keyName) const
{
    return sameName(section, sectionName) && sameName(key, keyName);
}

IniReader::IniReader(const QString& path)
    : lines_(path)
{
}

IniReader::IniReader(std::unique_ptr<QIODevice> file)
    : lines_(std::move(file))
{
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
    while (const std::optional<IniEntryView> entry = reader.nextView()) {
        if (sections_.isEmpty() || sections_.constLast() != entry->section)
            sections_ << entry->section.toString();
        const qsizetype key = text_.size();
        text_ += entry->key;
        text_ += entry->value;
        entries_.push_back({sections_.size() - 1, key, entry->key.size(), entry->value.size()});
    }
}

QString IniFile::value(const QString& section, const QString& key,
                       const QString& defaultValue) const
{
    return value(QStringView(section), QStringView(key), defaultValue);
}

QString IniFile::value(QStringView section, QStringView key, const QString& defaultValue) const
{
    // Entries of one section follow each other: its name is compared once for them all.
    const QStringView text(text_);
    qsizetype checkedSection = -1;
    bool inSection = false;
    for (const Entry& entry : entries_) {
        if (entry.section != checkedSection) {
            checkedSection = entry.section;
            inSection = sameName(sections_.at(checkedSection), section);
        }
        if (!inSection || !sameName(text.sliced(entry.key, entry.keySize), key))
            continue;
        const QStringView value = text.sliced(entry.key + entry.keySize, entry.valueSize);
        return value.isEmpty() ? defaultValue : value.toString();
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
