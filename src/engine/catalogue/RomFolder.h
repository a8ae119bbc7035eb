#pragma once
// The ROM archives of the emulator's roms folder, as the game list shows them.

#include <QString>
#include <QStringList>

namespace zefrin {

// The names (with extension) of the files in the folder that match "*.zip", the extension in
// any letter case, sorted by romNameLess. Folders and links to folders are not archives, even
// when so named; hidden (dot) files are left out as the Windows file list leaves out hidden
// ones. A missing or unreadable folder gives no names.
QStringList listRomArchives(const QString& romsFolder);

// The order of the file list: without regard to letter case first, as Windows lists names,
// and by code units between names that differ only in case (possible on this file system), so
// the order never depends on how the folder happens to store its entries.
bool romNameLess(const QString& a, const QString& b);

} // namespace zefrin
