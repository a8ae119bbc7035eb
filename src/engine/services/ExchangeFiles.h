#pragma once
// The temporary files of the emulator command exchanges in the emulator folder (1.p to 4.p,
// abrir.bat, all.bat) go when the program closes, but only those it made: a file of one of
// those names that was there when the program started is the user's, and stays, changed or
// not. What was there is noted in a run record (RunRecord.h) at start, and the note
// is removed once the program's own files are gone: a note still there at the next start
// tells of a copy ended by force, whose own files (those it did not note) go then.

#include <QStringList>

namespace zefrin {

QStringList exchangeFileNames();

// The exchange files there now that the note names as the user's, unchanged: those a command
// must not write over.
QStringList usersExchangeFiles(const QString& recordPath, const QString& emulatorFolder);

// At start: removes what a copy ended by force left of its own, then notes the files of those
// names that are there as the user's. Nothing from a read-only folder.
void settleExchangeFiles(const QString& recordPath, const QString& emulatorFolder);

// At close: removes the files the program made; the names of those that could not be removed
// (the note then stays, for the next start to remove them).
QStringList removeOwnExchangeFiles(const QString& recordPath, const QString& emulatorFolder);

} // namespace zefrin
