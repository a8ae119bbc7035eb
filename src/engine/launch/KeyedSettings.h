#pragma once
// The emulator's settings files of cfg/ kept out of the way of the user's defined keys for a
// game's run, and given back after it.
//
// The classic emulator lets a game's own settings file override the controller file: the
// whole file goes aside for the run (as GAME.bak), and after it the user's file is put back
// over what the emulator saved. Today's emulator keeps a game's DIP switches, counters and
// sliders in the same file as its input mappings (launch/InputMappings.h): only the mappings
// must yield. The file goes aside all the same (a program ended during the run must find the
// user's file whole), the run gets a copy without the mappings, and after the run what the
// emulator saved is kept with the user's own mappings put back.

#include "engine/services/FileIdentity.h"
#include "engine/services/SystemServices.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace zefrin {

struct AsideFile {
    QString settings; // its name in cfg/
    QString backup;   // the name the user's file waits under during the run
    FileIdentity identity;
    // Only its input mappings yield to the keys (today's emulator).
    bool mappingsOnly = false;
};

// How `settingsName` of `cfgFolder` is to go aside: under a name that no file has (a GAME.bak
// of the user's own stays as it is); nothing when there is no such file. A file whose
// mappings cannot be told apart (not well formed) goes aside whole.
std::optional<AsideFile> planAside(const QString& cfgFolder, const QString& settingsName,
                                   bool mappingsOnly);

// The files as a run record keeps them, and back; nothing when the record names a file
// outside cfg or no identity. A record of a single file that went aside whole, as earlier
// versions kept it, is read too.
QJsonObject asideNote(const QList<AsideFile>& files);
std::optional<QList<AsideFile>> asideFilesOf(const QJsonObject& note);

// Moves the file to its backup name, then writes the run's copy without the mappings in its
// place. False, with the reason, when a step failed: giveBack then undoes what was done.
bool setAside(const QString& cfgFolder, const AsideFile& file, QString* reason);

// Gives the user's file back once no run can write it any more: the backup in its place, or,
// when only the mappings yielded and the emulator saved the file, what it saved with the
// user's mappings. Nothing to do without the backup. Applying it twice does no harm: a program
// ended in between leaves the same to do.
[[nodiscard]] FileResult giveBack(const QString& cfgFolder, const AsideFile& file);

// "cfg/GAME.cfg" as the messages name the files.
QString describedFiles(const QList<AsideFile>& files);

} // namespace zefrin
