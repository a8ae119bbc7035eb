#pragma once
// Notes the program keeps about a change it has made in an emulator folder and must undo:
// each is written before the change and removed once the change is undone, so a note still
// there at start-up tells of a run that was ended in between, and of what to put back.
//
// Notes live outside the emulator folder (the user's data folder, one small file per kind and
// emulator folder): a read-only or shared installation must not stop them, and the emulator
// folder's own listing must not show them. They are JSON, so any file name survives the trip.

#include "ProcessIdentity.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace zefrin {

// The records of one emulator folder. An empty path keeps no record.
struct RunRecords {
    QString pendingRename;  // an archive a ROM check has given another game's name
    QString gameSettings;   // a game's settings moved aside for a run
    QString controllerLine; // the user's controller line of mame.ini, replaced by the switch
    QString gameList;       // the game list the emulator is writing

    // Where they are kept for an emulator folder: the per-user data location, each named
    // after its kind and a digest of the folder's path.
    static RunRecords forFolder(const QString& emulatorFolder);
};

// Writes the note, replacing an older one; the file appears complete or not at all. The note
// names the emulator folder it belongs to.
[[nodiscard]] bool writeRunRecord(const QString& recordPath, const QString& emulatorFolder,
                                  QJsonObject note);

// The note, or nothing when there is none or it is not a readable note.
std::optional<QJsonObject> readRunRecord(const QString& recordPath);

// The note, when there is a readable one about that emulator folder.
std::optional<QJsonObject> readRunRecordFor(const QString& recordPath,
                                            const QString& emulatorFolder);

// Removes the note; true when none is left. An empty path keeps no note and always succeeds.
bool clearRunRecord(const QString& recordPath);

// The emulator run during which a note was kept. The emulator may outlive the program that
// started it, and writes its files when it ends: what the note tells to put back waits until
// that run has ended.
QJsonObject withRun(QJsonObject note, const ProcessIdentity& run);
// The run a note names; invalid when it names none.
ProcessIdentity recordedRun(const QJsonObject& note);

} // namespace zefrin
