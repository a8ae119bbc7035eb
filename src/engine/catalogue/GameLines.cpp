#include "GameLines.h"

#include <QCollator>

#include <algorithm>
#include <numeric>
#include <vector>

namespace zefrin {

namespace {

constexpr qsizetype nameColumns = 10;
constexpr qsizetype titleStart = 11; // column 12, counted from 0
constexpr qsizetype shortestTitledLine = 12;

QStringView titleField(QStringView gameLine)
{
    if (gameLine.size() < shortestTitledLine)
        return {};
    return gameLine.mid(titleStart, gameLine.size() - shortestTitledLine);
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

QStringList gameLinesOf(const QStringList& listLines)
{
    return listLines.mid(1);
}

QString candidateArchiveName(QStringView gameLine)
{
    const QStringView name = gameLine.left(nameColumns).trimmed();
    return name.isEmpty() ? QString() : name.toString() + QStringLiteral(".zip");
}

QString gameLineTitle(QStringView gameLine)
{
    return titleField(gameLine).trimmed().toString();
}

QStringList managerTitles(const QStringList& gameLines, const QLocale& locale)
{
    QStringList titles;
    titles.reserve(gameLines.size());
    for (const QString& line : gameLines) {
        if (line.size() >= shortestTitledLine)
            titles << titleField(line).toString();
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

ProgressFigures progressFigures(int counter, int entries)
{
    ProgressFigures figures;
    if (entries < 1) {
        // No titles: an empty bar with a range Qt can draw.
        figures.minimum = 0;
        figures.maximum = 1;
        figures.value = 0;
        return figures;
    }
    figures.maximum = entries;
    figures.value = std::clamp(counter, figures.minimum, figures.maximum);
    return figures;
}

} // namespace zefrin
