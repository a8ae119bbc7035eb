#pragma once
// The two controller files the emulator reads the user's keys from, both in its ctrlr folder
// and both 8-bit text with CR LF line ends:
//   ctrlr/Zefrin/default.ini   the older line format, one line per assigned control:
//                              the port name filled to 24 columns, the key code in quotes;
//   ctrlr/Zefrin.cfg           the XML configuration format (mameconfig version 10) with the
//                              same entries as <port>/<newseq> elements, tab-indented.
// The emulator finds them through the option "ctrlr Zefrin" of mame.ini.

#include "KeyNameTable.h"
#include "engine/input/KeyTable.h"
#include "engine/services/Dialect.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace zefrin {

// EmulatorFolder + "/ctrlr/Zefrin/default.ini" and EmulatorFolder + "/ctrlr/Zefrin.cfg".
QString controllerEntryPath(const QString& emulatorFolder);
QString controllerXmlPath(const QString& emulatorFolder);

// The emulator key code of key `label`: the key-name table's, or for the two keys the default
// table has no line for, "B.May" (42) and "<" (56), the emulator's names of Caps Lock and of
// the extra key of European keyboards. "" when there is none. Each function of this file that
// takes the emulator folder reads the key-name table once for the call (labels 0 to 102, see
// KeyNames); the overloads that take a KeyNames read nothing.
QString keyCodeOfLabel(const KeyNames& names, int label);
QString keyCodeOfLabel(const QString& emulatorFolder, int label);
// The key code as the dialect's emulator spells it: today's calls the numeric pad's keys
// KEYCODE_nPAD where the classic one (and the key-name table it was made for) says
// KEYCODE_n_PAD. Any other name, one the user wrote in the table included, stays as it is.
QString spelledFor(const QString& keyCode, Dialect dialect);

// The reverse of keyCodeOfLabel: the label whose key code is `keyCode`, or 0.
int labelOfKeyCode(const KeyNames& names, const QString& keyCode);
int labelOfKeyCode(const QString& emulatorFolder, const QString& keyCode);

struct ControllerEntry {
    QString port;    // COIN1, START2, P3_JOYSTICK_UP, ...
    QString keyCode; // KEYCODE_...
};

// The assigned cells of `table` (above 0), players 1 to 4 and controls 0 to 15 in order,
// named through the key-name table. A cell whose control or key has no name there is left
// out: the emulator keeps its own key for it rather than meet an empty name.
std::vector<ControllerEntry> controllerEntries(const KeyNames& names, const KeyTable& table,
                                               Dialect dialect);
std::vector<ControllerEntry> controllerEntries(const QString& emulatorFolder, const KeyTable& table,
                                               Dialect dialect);

QStringList controllerEntryLines(const std::vector<ControllerEntry>& entries);
QStringList controllerXmlLines(const std::vector<ControllerEntry>& entries);

// Writes both files, creating ctrlr/Zefrin when missing (the ctrlr folder itself belongs to
// the emulator and must exist). Each file is written whole or not at all; false on the first
// failure, leaving a file already written in place.
[[nodiscard]] bool writeControllerFiles(const QString& emulatorFolder, const KeyTable& table,
                                        Dialect dialect);

// The table an entry file describes, every other cell -1 (also for a missing file). Comments
// ("#" first) are passed over, and so is every line that cannot be placed: a player outside
// 1 to 4, a port name the key-name table does not give, a value not in double quotes. A key
// code the table does not know (in either dialect's spelling) leaves 0 in its cell; a later line
// for a cell wins. The file is read line by line.
KeyTable readControllerEntries(const QString& emulatorFolder, const QString& path);
// The same with the table and the entries from elsewhere than the folder's files.
KeyTable readControllerEntries(const KeyNames& names, std::unique_ptr<QIODevice> entries);

} // namespace zefrin
