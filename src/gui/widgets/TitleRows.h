#pragma once
// List rows that show game titles. A row shows a bounded beginning of its title, for a list
// lays a row's whole text out at every repaint and a title of megabytes would freeze the
// window; the whole title stays with the row for whatever reads it.

#include <QString>
#include <QStringList>

class QListWidget;
class QListWidgetItem;

namespace zefrin {

// Replaces the list's rows by one per title, in the given order.
void setTitleRows(QListWidget* list, const QStringList& titles);

// The whole title of a row.
QString rowTitle(const QListWidgetItem* row);

// The most characters a row shows.
constexpr qsizetype longestTitleShown = 1000;

} // namespace zefrin
