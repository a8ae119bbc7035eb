#include "GameList.h"

#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"

namespace zefrin {

namespace {

constexpr qsizetype nameColumns = 10;
// The title starts at column 12; the line's last character closes it.
constexpr qsizetype titleStart = 11;
constexpr qsizetype shortestTitledLine = 12;

QString gameListPath(const QString& emulatorFolder)
{
    return emulatorPath(emulatorFolder, QStringLiteral("lista.txt"));
}

// Only spaces fill the name column; other blanks would be part of the name.
QStringView trimSpaces(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) == QLatin1Char(' '))
        ++start;
    while (end > start && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

QStringView nameField(QStringView line)
{
    return trimSpaces(line.left(nameColumns));
}

bool hasTitle(QStringView line)
{
    return line.size() >= shortestTitledLine;
}

// Only for lines that have one.
QStringView titleField(QStringView line)
{
    return line.mid(titleStart, line.size() - shortestTitledLine);
}

QString archiveOfLine(QStringView line)
{
    return nameField(line).toString() + QStringLiteral(".zip");
}

bool isAscii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QString unknownArchiveTitle(const QString& archiveName)
{
    return QStringLiteral("ROM desconocida(") + archiveName + QLatin1Char(')');
}

LocaleUpper::LocaleUpper()
{
    const QString lower = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    plainAscii_ = locale_.toUpper(lower) == lower.toUpper();
}

QString LocaleUpper::operator()(QStringView text) const
{
    if (!plainAscii_ || !isAscii(text))
        return locale_.toUpper(text.toString());
    QString result(text.size(), Qt::Uninitialized);
    QChar* out = result.data();
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        *out++ = QChar(code >= 'a' && code <= 'z' ? char16_t(code - ('a' - 'A')) : code);
    }
    return result;
}

std::optional<QString> TitleForArchive(const QString& emulatorFolder, const QString& archiveName)
{
    const std::optional<QStringList> lines = readTextLines(gameListPath(emulatorFolder));
    if (!lines)
        return std::nullopt;
    const LocaleUpper upper;
    const QString base = upper(StripExtension(archiveName));
    for (const QString& line : *lines) {
        if (upper(nameField(line)) == base && hasTitle(line))
            return titleField(line).toString();
    }
    return unknownArchiveTitle(archiveName);
}

std::optional<QString> ArchiveForTitle(const QString& emulatorFolder, const QString& title)
{
    const std::optional<QStringList> lines = readTextLines(gameListPath(emulatorFolder));
    if (!lines)
        return std::nullopt;
    const LocaleUpper upper;
    const QString wanted = upper(title);
    for (const QString& line : *lines) {
        if (hasTitle(line) && upper(titleField(line)) == wanted)
            return archiveOfLine(line);
    }
    return QStringLiteral("ERROR");
}

GameList::GameList(const QString& emulatorFolder)
{
    std::optional<QStringList> lines = readTextLines(gameListPath(emulatorFolder));
    if (!lines)
        return;
    readable_ = true;
    lines_ = std::move(*lines);
    // From the end, so the first line of a name is the one that stays.
    lineOfName_.reserve(lines_.size());
    for (qsizetype i = lines_.size() - 1; i >= 0; --i) {
        const QString& line = lines_.at(i);
        if (hasTitle(line))
            lineOfName_.insert(upper_(nameField(line)), i);
    }
}

std::optional<QString> GameList::titleForArchive(const QString& archiveName) const
{
    if (!readable_)
        return std::nullopt;
    const auto found = lineOfName_.constFind(upper_(StripExtension(archiveName)));
    if (found == lineOfName_.constEnd())
        return unknownArchiveTitle(archiveName);
    return titleField(lines_.at(found.value())).toString();
}

std::optional<QString> GameList::archiveForTitle(const QString& title)
{
    if (!readable_)
        return std::nullopt;
    if (!titlesIndexed_) {
        lineOfTitle_.reserve(lines_.size());
        for (qsizetype i = lines_.size() - 1; i >= 0; --i) {
            const QString& line = lines_.at(i);
            if (hasTitle(line))
                lineOfTitle_.insert(upper_(titleField(line)), i);
        }
        titlesIndexed_ = true;
    }
    const auto found = lineOfTitle_.constFind(upper_(title));
    if (found == lineOfTitle_.constEnd())
        return QStringLiteral("ERROR");
    return archiveOfLine(lines_.at(found.value()));
}

} // namespace zefrin
