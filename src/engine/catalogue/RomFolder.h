#pragma once
// The ROM archives of the emulator's roms folder, as the game list shows them, and whether the
// program can hand an archive's name on.

#include <QString>
#include <QStringList>

namespace zefrin {

// The names (with extension) of the files in the folder that match "*.zip", the extension in
// any letter case, sorted by romNameLess. Folders and links to folders are not archives, even
// when so named. Hidden (dot) files are archives too, and so are names in bytes the system's
// encoding does not carry (Latin-1 names from old discs): these come with U+FFFD in place of
// each such byte, listed and shown, but no path built from them reaches the file. A missing or
// unreadable folder gives no names.
QStringList listRomArchives(const QString& romsFolder);

// The order of the file list: without regard to letter case first, as Windows lists names,
// and by code units between names that differ only in case (possible on this file system), so
// the order never depends on how the folder happens to store its entries.
bool romNameLess(const QString& a, const QString& b);

// True when an archive's name (with extension) can be handed on as it is: to the file system
// as a name of roms, and through a command script to the emulator, which must read its set
// name (the name without extension) as a set and get that very name. False for a name
//   - holding U+FFFD: it may stand for bytes the encoding does not carry (see above), and a
//     name that really holds that character cannot be told apart;
//   - whose set begins with "-": the emulator would read it as an option ("-cc" writes a new
//     mame.ini);
//   - whose set is empty (".zip"), that is "..", or holds a folder separator or a NUL;
//   - holding CR LF: a script line keeps no line end inside a word.
// The launch, the checks and the reports refuse such a name with a message; nothing runs.
bool isPassableArchiveName(const QString& name);

// Why a name is not passable, as the messages say it.
QString notPassableReasons();

} // namespace zefrin
