#pragma once
// The main window's game list as data: one row per archive of the roms folder, titled through
// lista.txt and in the order of CatalogueOrder.h. The window shows it through a list view; a
// launch and the archive's tool tip read a row's archive and whether the game list knows it
// from the row itself, never from its title.

#include "engine/services/Dialect.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringList>

namespace zefrin {

struct CatalogueRow {
    QString title;      // the whole title: lista.txt's, or unknownArchiveTitle's
    QString archive;    // the file name in roms, extension included
    bool known = false; // lista.txt has a game of the archive's name, and the name is passable
};

// The most characters a row shows: a list lays a row's whole text out at every repaint, and a
// title of megabytes would freeze the window.
constexpr qsizetype longestTitleShown = 1000;
// A title as a row shows it: a longer one cut to its beginning and an ellipsis.
QString shownTitle(const QString& title);

class GameCatalogue : public QAbstractListModel {
    Q_OBJECT

public:
    // Qt::DisplayRole gives the title shown (shownTitle).
    enum Role {
        TitleRole = Qt::UserRole, // QString: the whole title
        ArchiveRole,              // QString
        KnownRole,                // bool
    };

    using QAbstractListModel::QAbstractListModel;

    // The rows anew from the emulator folder's roms folder and lista.txt, read in `dialect`:
    // one per archive, in display order. The folder's order (romNameLess) decides among equal
    // titles and among unknown archives. An unreadable list gives no rows at all.
    void load(const QString& emulatorFolder, Dialect dialect);
    void clear();

    const QList<CatalogueRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void setRows(QList<CatalogueRow> rows);

    QList<CatalogueRow> rows_;
};

} // namespace zefrin
