#pragma once
// The emulator's settings file mame.ini as the program meets it: made by the emulator itself
// ("-cc") when the folder has none, and the controller folders a game's run names.
//
// Today's emulator writes every settings file it has (mame.ini, ui.ini, plugin.ini) into its
// working folder, over any that are there: it is run in a folder of the program's own, and
// only mame.ini is taken into the emulator folder.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zefrin {

// The folder, inside the program's scratch folder, that "-cc" runs in.
QString settingsWorkFolderName();

enum class SettingsPlacement {
    Placed,       // mame.ini is now in the emulator folder
    AlreadyThere, // one appeared there meanwhile: it stays, the new one goes
    NotMade,      // the emulator wrote none
    Failed        // it could not be copied in; nothing was left behind
};

// Puts the mame.ini the emulator wrote in `workFolder` into the emulator folder, never over
// one that is there, then removes `workFolder` with whatever else the emulator wrote.
SettingsPlacement placeMadeSettings(const QString& workFolder, const QString& emulatorFolder);

// The value of the "ctrlrpath" line of the emulator's settings as "-showconfig" prints them
// or mame.ini holds them (a value in double quotes is taken without them; of several lines,
// the last, as the emulator takes it); empty when there is none.
QString controllerPathOf(const QStringList& settingsLines);
// The same of a mame.ini, read line by line.
QString controllerPathIn(const QString& iniPath);

// Where a game's run looks for controller files: the folder's own ctrlr folder (the program's
// files), then every folder of the lists given (the folder's mame.ini's own, the emulator's:
// "a;b"), each once, in that order, as one ';'-separated list.
QString controllerFolders(const QStringList& paths);

} // namespace zefrin
