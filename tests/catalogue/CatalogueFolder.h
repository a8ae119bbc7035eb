#pragma once
// Emulator folders for the catalogue tests: game lists in the emulator's layout, archives in
// roms, and a scripted emulator that answers the game-list command from a file.

#include "support/EmulatorFolder.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace zefrin::test {

using Game = QPair<QString, QString>; // short name, title

// "mame -listfull" output: a heading line, then each game's short name padded to 10 columns
// and its title in double quotes; CR LF line ends.
QByteArray gameListText(const QList<Game>& games);

// An emulator whose "-listfull" prints the heading and then listfull.txt of its folder (game
// lines as gameListText writes them), after waiting the seconds written in delay.txt, if any.
// Each run adds a line to runs.log.
void installListingEmulator(EmulatorFolder& folder, const QList<Game>& games);
void setListedGames(EmulatorFolder& folder, const QList<Game>& games);
int emulatorRuns(const EmulatorFolder& folder);

// Empty files in roms.
void addArchives(EmulatorFolder& folder, const QStringList& names);

} // namespace zefrin::test
