#pragma once
// Which emulator made the game list. A list names the games and titles of the emulator that
// wrote it: after that emulator changed (the distribution upgraded it, the folder's own one
// was replaced) the list is another emulator's, to be made again. The emulator is told by its
// executable as it was then: the path with its links resolved, its size and its last change.
// The note is kept in a folder of its own beside the game list's run record (RunRecord.h);
// it names the emulator folder as those records do.

#include <QJsonObject>
#include <QString>

namespace zefrin {

// Where the note of a folder's game list is kept, from the path of that list's run record;
// empty (no note kept) for an empty one.
QString listOriginPath(const QString& gameListRecordPath);

// The executable `program` as it is now; empty when there is none. Taken when a list is
// started: an emulator replaced while it writes has not made the list in its new form.
QJsonObject emulatorIdentity(const QString& program);

// Notes the emulator of `identity` as the maker of the folder's game list. False when the note
// could not be written.
bool noteListOrigin(const QString& originPath, const QString& emulatorFolder,
                    const QJsonObject& identity);
// Forgets the maker (the list is gone).
void forgetListOrigin(const QString& originPath);

enum class ListOrigin {
    Unknown, // no note of this folder's list (made before notes were kept, or none readable)
    Same,    // made by `program` as it is now
    Other,   // made by another emulator, or by this one before it changed
};
ListOrigin listOrigin(const QString& originPath, const QString& emulatorFolder,
                      const QString& program);

} // namespace zefrin
