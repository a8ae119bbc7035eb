#include "GameCatalogue.h"

#include "CatalogueOrder.h"
#include "GameList.h"
#include "RomFolder.h"
#include "engine/services/SystemServices.h"

namespace zefrin {

namespace {

QList<CatalogueRow> catalogueRows(const QStringList& archives, const GameList& gameList)
{
    if (!gameList.isReadable())
        return {};
    QStringList titles;
    QList<bool> known;
    titles.reserve(archives.size());
    known.reserve(archives.size());
    for (const QString& archive : archives) {
        // An archive whose name cannot be handed to the emulator is none of its games.
        const std::optional<QString> title =
            isPassableArchiveName(archive) ? gameList.titleForArchive(archive) : std::nullopt;
        titles << title.value_or(unknownArchiveTitle(archive));
        known << title.has_value();
    }
    QList<CatalogueRow> rows;
    rows.reserve(archives.size());
    for (const int archive : gameListOrder(titles, known))
        rows << CatalogueRow{titles.at(archive), archives.at(archive), known.at(archive)};
    return rows;
}

} // namespace

QString shownTitle(const QString& title)
{
    return title.size() <= longestTitleShown ? title
                                             : title.left(longestTitleShown) + QChar(0x2026);
}

void GameCatalogue::load(const QString& emulatorFolder, Dialect dialect)
{
    const QStringList archives =
        listRomArchives(emulatorPath(emulatorFolder, QStringLiteral("roms")));
    // Read once: the file cannot change during the build, so each archive gets the answer a
    // lookup of its own would give.
    setRows(catalogueRows(archives, GameList(emulatorFolder, dialect, archives)));
}

void GameCatalogue::clear()
{
    setRows({});
}

void GameCatalogue::setRows(QList<CatalogueRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int GameCatalogue::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant GameCatalogue::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const CatalogueRow& row = rows_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return shownTitle(row.title);
    case TitleRole:
        return row.title;
    case ArchiveRole:
        return row.archive;
    case KnownRole:
        return row.known;
    default:
        return {};
    }
}

} // namespace zefrin
