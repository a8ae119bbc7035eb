#include "GameList.h"

#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"

#include <QCollator>
#include <QSet>

#include <algorithm>
#include <numeric>
#include <vector>

namespace zefrin {

namespace {

constexpr qsizetype nameColumns = 10;
// The title starts at column 12; the line's last character closes it.
constexpr qsizetype titleStart = 11;
constexpr qsizetype shortestTitledLine = 12;

// Only spaces fill the name column; other blanks would be part of the name.
QStringView trimSpaces(QStringView text)
{
    const QChar* start = text.begin();
    const QChar* end = text.end();
    while (start < end && *start == QLatin1Char(' '))
        ++start;
    while (end > start && end[-1] == QLatin1Char(' '))
        --end;
    return QStringView(start, end);
}

// `name` + ".zip", made in one step.
QString archiveNamed(QStringView name)
{
    QString archive;
    archive.reserve(name.size() + 4);
    archive.append(name).append(QLatin1String(".zip"));
    return archive;
}

QString archiveOfLine(QStringView line, Dialect dialect)
{
    return archiveNamed(gameLineName(line, dialect));
}

bool isAscii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

char16_t asciiUpper(QChar c)
{
    const char16_t code = c.unicode();
    return code >= 'a' && code <= 'z' ? char16_t(code - ('a' - 'A')) : code;
}

// The ASCII upper case of ASCII `text` put in `out`, in the room it has when no one shares it.
void asciiUpperInto(QStringView text, QString& out)
{
    out.resize(text.size());
    QChar* next = out.data();
    for (const QChar c : text)
        *next++ = QChar(asciiUpper(c));
}

bool isAsciiUpperOf(QChar c, QChar upper)
{
    return asciiUpper(c) == upper.unicode();
}

// Collated without regard to letter case, then by character codes.
struct TitleOrder {
    const QStringList& titles;
    const std::vector<QCollatorSortKey>& keys;

    bool operator()(qsizetype a, qsizetype b) const
    {
        const int collated =
            keys[static_cast<std::size_t>(a)].compare(keys[static_cast<std::size_t>(b)]);
        return collated != 0 ? collated < 0 : titles.at(a) < titles.at(b);
    }
};

} // namespace

QString gameListPath(const QString& emulatorFolder)
{
    return emulatorPath(emulatorFolder, QStringLiteral("lista.txt"));
}

std::optional<QStringList> readGameLines(const QString& emulatorFolder)
{
    std::optional<QStringList> lines = readTextLines(gameListPath(emulatorFolder));
    if (lines && !lines->isEmpty())
        lines->removeFirst();
    return lines;
}

QStringView gameLineName(QStringView gameLine, Dialect dialect)
{
    if (dialect == Dialect::Classic)
        return trimSpaces(gameLine.left(nameColumns));
    const QStringView rest = trimSpaces(gameLine);
    const QChar* end = rest.begin();
    while (end < rest.end() && *end != QLatin1Char(' ') && *end != QLatin1Char('"'))
        ++end;
    return QStringView(rest.begin(), end);
}

bool hasTitle(QStringView gameLine, Dialect dialect)
{
    if (dialect == Dialect::Classic)
        return gameLine.size() >= shortestTitledLine;
    const qsizetype first = gameLine.indexOf(QLatin1Char('"'));
    return first >= 0 && gameLine.lastIndexOf(QLatin1Char('"')) > first;
}

QStringView gameLineTitle(QStringView gameLine, Dialect dialect)
{
    if (!hasTitle(gameLine, dialect))
        return {};
    if (dialect == Dialect::Classic)
        return gameLine.mid(titleStart, gameLine.size() - shortestTitledLine);
    const qsizetype first = gameLine.indexOf(QLatin1Char('"'));
    return gameLine.mid(first + 1, gameLine.lastIndexOf(QLatin1Char('"')) - first - 1);
}

QString candidateArchiveName(QStringView gameLine, Dialect dialect)
{
    const QStringView name = gameLineName(gameLine, dialect);
    return name.isEmpty() ? QString() : archiveNamed(name);
}

QString announcedTitle(QStringView gameLine, Dialect dialect)
{
    return gameLineTitle(gameLine, dialect).trimmed().toString();
}

QStringList managerTitles(const QStringList& gameLines, Dialect dialect, const QLocale& locale)
{
    QStringList titles;
    titles.reserve(gameLines.size());
    for (const QString& line : gameLines) {
        if (hasTitle(line, dialect))
            titles << gameLineTitle(line, dialect).toString();
    }
    // Sort keys once per title: comparing through the collator each time costs far more on a
    // list of tens of thousands of games.
    // Qt collates the C locale by character codes, capitals first, where a list box sorts
    // without regard to case; such a program collates as plain English instead.
    QCollator collator(locale.language() == QLocale::C
                           ? QLocale(QLocale::English, QLocale::UnitedStates)
                           : locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(static_cast<std::size_t>(titles.size()));
    for (const QString& title : std::as_const(titles))
        keys.push_back(collator.sortKey(title));
    std::vector<qsizetype> order(static_cast<std::size_t>(titles.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), TitleOrder{titles, keys});
    QStringList sorted;
    sorted.reserve(titles.size());
    for (const qsizetype index : order)
        sorted << titles.at(index);
    return sorted;
}

QString unknownArchiveTitle(const QString& archiveName)
{
    return QStringLiteral("ROM desconocida(") + archiveName + QLatin1Char(')');
}

LocaleUpper::LocaleUpper()
{
    switch (locale_.language()) {
    case QLocale::Turkish:
    case QLocale::Azerbaijani:
    case QLocale::Lithuanian:
    case QLocale::Greek:
        plainAscii_ = false;
        break;
    default:
        plainAscii_ = true;
    }
}

QString LocaleUpper::operator()(QStringView text) const
{
    if (!plainAscii_)
        return locale_.toUpper(text.toString());
    if (!isAscii(text))
        return text.toString().toUpper();
    QString result;
    asciiUpperInto(text, result);
    return result;
}

void LocaleUpper::upperInto(QStringView text, QString& out) const
{
    if (!plainAscii_ || !isAscii(text)) {
        out = (*this)(text);
        return;
    }
    asciiUpperInto(text, out);
}

bool LocaleUpper::isUpperOf(QStringView text, QStringView upper) const
{
    if (!plainAscii_ || !isAscii(text))
        return (*this)(text) == upper;
    return text.size() == upper.size() &&
           std::equal(text.begin(), text.end(), upper.begin(), isAsciiUpperOf);
}

GameLineReader::GameLineReader(const QString& emulatorFolder)
    : GameLineReader(fileDevice(gameListPath(emulatorFolder)))
{
}

GameLineReader::GameLineReader(std::unique_ptr<QIODevice> list)
    : lines_(std::move(list))
{
    if (lines_.isOpen())
        (void)lines_.nextView(); // the heading
}

std::optional<QStringView> GameLineReader::nextView()
{
    return lines_.nextView();
}

std::optional<QString> TitleForArchive(const QString& emulatorFolder, const QString& archiveName,
                                       Dialect dialect)
{
    return TitleForArchive(fileDevice(gameListPath(emulatorFolder)), archiveName, dialect);
}

std::optional<QString> TitleForArchive(std::unique_ptr<QIODevice> list, const QString& archiveName,
                                       Dialect dialect)
{
    GameLineReader lines(std::move(list));
    if (!lines.isOpen())
        return std::nullopt;
    const LocaleUpper upper;
    const QString base = upper(StripExtension(archiveName));
    while (const std::optional<QStringView> line = lines.nextView()) {
        if (hasTitle(*line, dialect) && upper.isUpperOf(gameLineName(*line, dialect), base))
            return gameLineTitle(*line, dialect).toString();
    }
    return std::nullopt;
}

std::optional<QString> ArchiveForTitle(const QString& emulatorFolder, const QString& title,
                                       Dialect dialect)
{
    return ArchiveForTitle(fileDevice(gameListPath(emulatorFolder)), title, dialect);
}

std::optional<QString> ArchiveForTitle(std::unique_ptr<QIODevice> list, const QString& title,
                                       Dialect dialect)
{
    GameLineReader lines(std::move(list));
    if (!lines.isOpen())
        return std::nullopt;
    const LocaleUpper upper;
    const QString wanted = upper(title);
    while (const std::optional<QStringView> line = lines.nextView()) {
        if (hasTitle(*line, dialect) && upper.isUpperOf(gameLineTitle(*line, dialect), wanted))
            return archiveOfLine(*line, dialect);
    }
    return std::nullopt;
}

GameList::GameList(const QString& emulatorFolder, Dialect dialect,
                   const std::optional<QStringList>& archives)
    : emulatorFolder_(emulatorFolder)
    , dialect_(dialect)
{
    read(archives);
}

GameList::GameList(const QByteArray& list, Dialect dialect,
                   const std::optional<QStringList>& archives)
    : listBytes_(list)
    , dialect_(dialect)
{
    read(archives);
}

std::unique_ptr<QIODevice> GameList::listDevice() const
{
    return listBytes_ ? memoryDevice(*listBytes_) : fileDevice(gameListPath(emulatorFolder_));
}

void GameList::read(const std::optional<QStringList>& archives)
{
    QSet<QString> wanted;
    for (const QString& archive : archives.value_or(QStringList()))
        wanted.insert(upper_(StripExtension(archive)));
    // Read a line at a time, keeping of each name only its first title: a list of any size,
    // garbage included, is never in memory whole.
    GameLineReader lines(listDevice());
    if (!lines.isOpen())
        return;
    readable_ = true;
    QString name;
    while (const std::optional<QStringView> line = lines.nextView()) {
        if (!hasTitle(*line, dialect_))
            continue;
        upper_.upperInto(gameLineName(*line, dialect_), name);
        if ((!archives || wanted.contains(name)) && !titleOfName_.contains(name))
            titleOfName_.insert(name, gameLineTitle(*line, dialect_).toString());
    }
}

std::optional<QString> GameList::titleForArchive(const QString& archiveName) const
{
    if (!readable_)
        return std::nullopt;
    const auto found = titleOfName_.constFind(upper_(StripExtension(archiveName)));
    if (found == titleOfName_.constEnd())
        return std::nullopt;
    return found.value();
}

std::optional<QString> GameList::archiveForTitle(const QString& title)
{
    if (!readable_)
        return std::nullopt;
    if (!titlesIndexed_) {
        // The file cannot have changed since the names were read: a second pass gives the
        // titles the first one would have.
        GameLineReader lines(listDevice());
        QString key;
        while (const std::optional<QStringView> line = lines.nextView()) {
            if (!hasTitle(*line, dialect_))
                continue;
            upper_.upperInto(gameLineTitle(*line, dialect_), key);
            if (!archiveOfTitle_.contains(key))
                archiveOfTitle_.insert(key, archiveOfLine(*line, dialect_));
        }
        titlesIndexed_ = true;
    }
    const auto found = archiveOfTitle_.constFind(upper_(title));
    if (found == archiveOfTitle_.constEnd())
        return std::nullopt;
    return found.value();
}

} // namespace zefrin
