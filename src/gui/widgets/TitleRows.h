#pragma once
// List rows that show game titles. A row shows a bounded beginning of its title (shownTitle);
// the whole title stays with the row for whatever reads it.

#include <QString>
#include <QStringList>

class QListWidget;
class QListWidgetItem;

namespace zefrin {

// Replaces the list's rows by one per title, in the given order.
void setTitleRows(QListWidget* list, const QStringList& titles);

// The whole title of a row.
QString rowTitle(const QListWidgetItem* row);

} // namespace zefrin
