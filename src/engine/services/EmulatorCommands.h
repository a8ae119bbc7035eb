#pragma once
// The exchanges with the emulator: the program writes a small command script, runs it with
// the emulator folder as working folder and reads the file the output was redirected to.
// Scripts run through /bin/sh; every name put into a script line is quoted, so no archive or
// folder name can run a command of its own.

#include "Dialect.h"
#include "SystemServices.h"

#include <QString>
#include <QStringList>

namespace zefrin {

// A word quoted for the script's command interpreter: the text arrives verbatim as one
// argument, whatever characters it holds.
QString shellQuote(const QString& word);

// Script lines for each exchange, in the emulator's dialect. `set` is an archive name without
// its extension. Today's packaged emulator looks for its files in the user's home and the
// system's folders unless told: its lines name the emulator folder's own roms, and a game's
// run its mame.ini, cfg and ctrlr folders too.
QString listGamesLine(); // game list into lista.txt
// The redirection of a line's standard output and error, in the order written, into `file`
// (already quoted when it needs to be): a game's log and the reports' answers.
QString bothStreamsInto(const QString& file);
// The check of a set into 1.p: "-verifysets", or today "-verifyroms".
QString verifySetLine(const QString& set, Dialect dialect);
// Today's check of a set in another ROM folder than the emulator folder's own roms.
QString verifySetLineIn(const QString& set, const QString& romFolder);
QString listRomsLine(const QString& set); // "-listroms" into 1.p
// Today's list of one set's ROMs ("-listcrc SET", one line a ROM, nothing for a set without
// ROM files) into 2.p.
QString setCrcsLine(const QString& set);
// Answers about an archive of the roms folder, 1.p on: the archive's files are identified by
// its path, the game it is named after by its set name. Today's emulator has no "-isknown":
// three answers instead of four.
QStringList archiveDetailLines(const QString& archiveFileName, Dialect dialect);
// A game's run. Today's run looks for controller files in `controllerFolders`
// (EmulatorSettings.h) and, when `firstRomFolder` is given, for archives there before the
// folder's roms.
QStringList playScriptLines(const QString& emulatorFolder, const QString& set, bool withoutSound,
                            const QString& logPath, Dialect dialect,
                            const QString& controllerFolders = QStringLiteral("ctrlr"),
                            const QString& firstRomFolder = QString());

// Today's emulator lists the CRC-32 of every ROM of every set ("-listcrc"); the classic one
// has no such command.
bool listsRomCrcs(Dialect dialect);
QStringList listCrcArguments();

// Writes a script (8-bit text, CR LF lines), replacing any earlier one.
[[nodiscard]] bool writeScript(const QString& path, const QStringList& lines);

// A script run with the emulator folder as working folder and the emulator first on PATH.
// "mame" in it is `emulator` (EmulatorRunner::emulatorFor), the folder's own one when empty.
CommandLine scriptCommand(const QString& emulatorFolder, const QString& scriptPath,
                          const QString& emulator = QString());

// The emulator itself with the given arguments, in the emulator folder.
CommandLine emulatorCommand(const QString& emulatorFolder, const QStringList& arguments,
                            const QString& emulator = QString());

// The emulator's file name in its folder.
QString emulatorExecutableName();

} // namespace zefrin
