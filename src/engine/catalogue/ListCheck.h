#pragma once
// Whether a list the emulator wrote came out whole. The emulator ends with success even when
// its output was cut short: on a full disk its writes fail unseen. A list counts only when its
// last line is complete and every line is one of its kind where the dialect fixes one; one
// just made counts only when the disk still had room as the emulator ended too (diskIsFull,
// which the makers ask: a list kept from before is whole on a disk that has filled since).

#include "engine/services/Dialect.h"

#include <QByteArrayView>
#include <QString>

namespace zefrin {

// The game list (lista.txt): in today's dialect a heading ("Name:" ...) and then game lines,
// a name, blanks and the title in double quotes; the classic layout fixes no more than the
// last line end, since its titles may hold anything.
bool gameListIsWhole(const QString& path, Dialect dialect);

// A list of another kind: `lineIsWhole` tells of each line (without its LF; `first` for the
// first one) whether it is one of its kind.
using ListLineCheck = bool (*)(QByteArrayView line, bool first);
bool listIsWhole(const QString& path, ListLineCheck lineIsWhole);

// The message of a list that could not be made because the disk is full: `what` names the
// list and its file, the folder is where it was to be written.
QString listDiskFullText(const QString& what, const QString& emulatorFolder);

} // namespace zefrin
