#pragma once
// The exchanges with the emulator: the program writes a small command script, runs it with
// the emulator folder as working folder and reads the file the output was redirected to.
// Scripts run through /bin/sh; every name put into a script line is quoted, so no archive or
// folder name can run a command of its own.

#include "SystemServices.h"

#include <QString>
#include <QStringList>

namespace zefrin {

// A word quoted for the script's command interpreter: the text arrives verbatim as one
// argument, whatever characters it holds.
QString shellQuote(const QString& word);

// Script lines for each exchange. `set` is an archive name without its extension.
QString listGamesLine();                   // game list into lista.txt
QString verifySetLine(const QString& set); // "-verifysets" into 1.p
QString listRomsLine(const QString& set);  // "-listroms" into 1.p
// Four answers about an archive of the roms folder, 1.p to 4.p: the archive's files are
// identified by its path, the game it is named after by its set name.
QStringList archiveDetailLines(const QString& archiveFileName);
QStringList playScriptLines(const QString& emulatorFolder, const QString& set, bool withoutSound,
                            const QString& logPath);

// Writes a script (8-bit text, CR LF lines), replacing any earlier one.
[[nodiscard]] bool writeScript(const QString& path, const QStringList& lines);

// A script run with the emulator folder as working folder and the emulator first on PATH.
CommandLine scriptCommand(const QString& emulatorFolder, const QString& scriptPath);

// The emulator itself with the given arguments, in the emulator folder.
CommandLine emulatorCommand(const QString& emulatorFolder, const QStringList& arguments);

// The emulator's file name in its folder.
QString emulatorExecutableName();

} // namespace zefrin
