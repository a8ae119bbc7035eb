#include "TitleRows.h"

#include "engine/catalogue/GameCatalogue.h"

#include <QListWidget>

namespace zefrin {

namespace {

constexpr int wholeTitleRole = Qt::UserRole;

} // namespace

void setTitleRows(QListWidget* list, const QStringList& titles)
{
    list->clear();
    for (const QString& title : titles) {
        if (title.size() <= longestTitleShown) {
            list->addItem(title);
            continue;
        }
        auto* row = new QListWidgetItem(shownTitle(title), list);
        row->setData(wholeTitleRole, title);
    }
}

QString rowTitle(const QListWidgetItem* row)
{
    const QVariant whole = row->data(wholeTitleRole);
    return whole.isValid() ? whole.toString() : row->text();
}

} // namespace zefrin
