#include "SyntheticFolder.h"

#include "engine/input/KeyNameTable.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/TextFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <numeric>
#include <vector>

namespace zefrin::bench {

namespace {

// Titles as the emulator's list has them: a few words, a maker, and sets that share a title.
QString syntheticTitle(QRandomGenerator& random, int index)
{
    static const QStringList words{"Super",  "Pac",    "Street", "Fighter", "Dragon", "Space",
                                   "Galaxy", "Ninja",  "Turbo",  "Mega",    "Star",   "Force",
                                   "Kung",   "Fu",     "Master", "Double",  "Metal",  "Slug",
                                   "Final",  "Puzzle", "Bubble", "Bobble",  "Raiden", "Tetris"};
    static const QStringList makers{"Namco", "Capcom", "Konami", "Sega", "Taito", "SNK", "Irem"};
    QString title;
    const int count = 1 + random.bounded(3);
    for (int k = 0; k < count; ++k)
        title += words.at(random.bounded(words.size())) + QLatin1Char(' ');
    title += QString::number(index % 97);
    title += QStringLiteral(" (") + makers.at(random.bounded(makers.size()));
    if (random.bounded(4) == 0)
        title += QStringLiteral(", set ") + QString::number(1 + random.bounded(3));
    return title + QLatin1Char(')');
}

bool writeEmptyFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

} // namespace

QString syntheticShortName(int index)
{
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    QString name;
    for (int value = index + 1; value > 0; value /= int(letters.size()))
        name += letters.at(value % letters.size());
    return QStringLiteral("g") + name;
}

SyntheticFolder::SyntheticFolder(int games, int archives, double knownShare, Dialect dialect)
{
    if (!folder_.isValid())
        return;
    QRandomGenerator random(1234u);
    // Today's emulator fills names to 17 and puts a blank before the title.
    const bool today = dialect == Dialect::Today;
    QStringList lines{today ? QStringLiteral("Name:             Description:")
                            : QStringLiteral("Name:     Description:")};
    for (int game = 0; game < games; ++game)
        lines << (today ? QStringLiteral("%1 \"%2\"") : QStringLiteral("%1\"%2\""))
                     .arg(syntheticShortName(game), today ? -17 : -10)
                     .arg(syntheticTitle(random, game));
    if (!writeTextLines(folder_.filePath(QStringLiteral("lista.txt")), lines))
        return;
    if (!writeScript(folder_.filePath(QStringLiteral("all.bat")), {listGamesLine()}) ||
        !CrearTablaTeclas(folder_.path()))
        return;

    const QString roms = folder_.filePath(QStringLiteral("roms"));
    if (!QDir().mkpath(roms))
        return;
    std::vector<int> picks(static_cast<std::size_t>(games));
    std::iota(picks.begin(), picks.end(), 0);
    std::shuffle(picks.begin(), picks.end(), random);
    const int known = std::min(games, int(archives * knownShare));
    for (int k = 0; k < archives; ++k) {
        const QString name = k < known ? syntheticShortName(picks[k]) + QStringLiteral(".zip")
                                       : QStringLiteral("unknown%1.zip").arg(k);
        if (!writeEmptyFile(roms + QLatin1Char('/') + name))
            return;
    }
    valid_ = true;
}

} // namespace zefrin::bench
