#pragma once
// Notes the program keeps about a change it has made in an emulator folder and must undo:
// each is written before the change and removed once the change is undone, so a note still
// there at start-up tells of a run that was ended in between, and of what to put back.
//
// Notes live outside the emulator folder (the user's data folder, one small file per kind and
// emulator folder): a read-only or shared installation must not stop them, and the emulator
// folder's own listing must not show them. They are JSON, so any file name survives the trip.
//
// A note follows its folder, not only the folder's path: it keeps the folder's identity, and
// a folder renamed or moved since finds its notes under its old name. A note whose path now
// holds another folder, or that cannot be read, or that names a file changed since, is never
// applied: it is set aside in the records folder under a name no start reads again, and the
// user is told once.

#include "FileIdentity.h"
#include "ProcessIdentity.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace zefrin {

// The records of one emulator folder. An empty path keeps no record.
struct RunRecords {
    QString pendingRename;  // an archive a ROM check has given another game's name
    QString gameSettings;   // a game's settings moved aside for a run
    QString controllerLine; // the user's controller line of mame.ini, replaced by the switch
    QString gameList;       // the game list the emulator is writing
    QString inputSettings;  // the emulator's input settings, parked while the keys are in use
    QString crcList;        // the list of every ROM's CRC the emulator is writing
    QString iniRewrite;     // the new mame.ini written beside it, before it takes its place
    QString exchangeFiles;  // the exchanges' temporary files that were the user's (ExchangeFiles.h)

    // Where they are kept for an emulator folder: in `recordsFolder`, each named after its
    // kind and a digest of the folder's path.
    static RunRecords forFolder(const QString& emulatorFolder,
                                const QString& recordsFolder = defaultFolder());
    // The per-user data location.
    static QString defaultFolder();

    QStringList all() const;
};

// Writes the note, replacing an older one; the file appears complete or not at all. The note
// names the emulator folder it belongs to, by path and identity.
[[nodiscard]] bool writeRunRecord(const QString& recordPath, const QString& emulatorFolder,
                                  QJsonObject note);

enum class RecordState {
    Absent,   // no note, or one about another folder at another path
    Ours,     // a note about this folder
    Replaced, // a note about the folder that had this path before: it has been moved or replaced
    Corrupt,  // not a note this program can read
};

struct RecordReading {
    RecordState state = RecordState::Absent;
    QJsonObject note; // as written, for Ours and Replaced
};

// The note at `recordPath`, as it stands for `emulatorFolder`.
RecordReading readRunRecordFor(const QString& recordPath, const QString& emulatorFolder);

// Removes the note; true when none is left. An empty path keeps no note and always succeeds.
bool clearRunRecord(const QString& recordPath);

// The emulator run during which a note was kept. The emulator may outlive the program that
// started it, and writes its files when it ends: what the note tells to put back waits until
// that run has ended.
QJsonObject withRun(QJsonObject note, const ProcessIdentity& run);
// The run a note names; invalid when it names none.
ProcessIdentity recordedRun(const QJsonObject& note);

// Removes what a program ended while it wrote a note left of it (the note appears complete or
// not at all; the unfinished copy beside it is of no use). Only for the copy that holds the
// instance lock: no other one writes notes meanwhile.
void removeUnfinishedRunRecords(const RunRecords& records);

// Notes of this folder kept under another path's name (the folder was renamed or moved since
// they were written) take this folder's names, when those are free.
void adoptRunRecords(const RunRecords& records, const QString& emulatorFolder);

// The notes of the kind of `recordPath` kept under other folder paths' names, and a note as
// written, whatever folder it names (nothing when it cannot be read), with that folder.
QStringList otherFoldersRunRecords(const QString& recordPath);
std::optional<QJsonObject> readRunRecord(const QString& recordPath);
QString recordedFolder(const QJsonObject& note);

// A note the start-up did not apply: what it was keeping, why it was not applied, and where
// it is kept now (empty when it could not be moved).
struct RecordSetAside {
    QString what;
    QString why;
    QString keptAt;
};

// Moves the note under a set-aside name beside it, for the user to see.
RecordSetAside setRunRecordAside(const QString& recordPath, const QString& what,
                                 const QString& why);

// Why a note is not applied, before anything it names is looked at: it is about the folder
// that had this path before, it cannot be read (`readable`: its own fields make sense), or the
// folder is read-only (a CD), where nothing can have been changed. Empty when it may be.
QString recordNotApplicableReason(const RecordReading& reading, bool readable,
                                  const QString& emulatorFolder, bool readOnly);
// Why a note is not applied: the folder it names is gone, and this one, which holds what it
// names, may be that folder or not.
QString recordFolderUncertainReason(const QString& notedFolder, const QString& emulatorFolder);
// Why a note is not applied: the file it names has changed since.
QString recordFileChangedReason(const QString& path);

// What the user reads about a note set aside.
QString recordSetAsideTitle();
QString recordSetAsideText(const RecordSetAside& setAside);

} // namespace zefrin
