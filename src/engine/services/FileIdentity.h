#pragma once
// What tells a file or folder apart from another that later takes its path: the file system
// and index node it lives on, and for a file its size and last change. A note that outlives the
// program keeps it, so that what it names is touched only while it is still the same.
//
// The file system is known by its device number, which a removable disk plugged back may not
// get again, and where the system tells it by its UUID, which it keeps wherever it is mounted.

#include <QJsonObject>
#include <QString>

#include <optional>

namespace zefrin {

struct FileIdentity {
    QString device;
    QString inode;
    qint64 size = 0;
    qint64 modifiedNs = 0; // nanoseconds since the epoch
    QString volume;        // the file system's UUID; empty where it is not known

    // The same folder: a folder's size and time change with what it holds. The UUID decides
    // when both sides know it, the device number otherwise.
    bool sameFolder(const FileIdentity& other) const
    {
        const bool sameFileSystem = !volume.isEmpty() && !other.volume.isEmpty()
                                        ? volume == other.volume
                                        : device == other.device;
        return sameFileSystem && inode == other.inode;
    }
    // The same file, unchanged since.
    bool operator==(const FileIdentity& other) const
    {
        return sameFolder(other) && size == other.size && modifiedNs == other.modifiedNs;
    }
};

// The identity of the entry at `path` (a link is taken for itself, not for its target, but for
// a folder, whose path may pass through links); nothing when there is none.
std::optional<FileIdentity> fileIdentity(const QString& path);
std::optional<FileIdentity> folderIdentity(const QString& path);

// The UUID of the file system on device `device`: the name of the link in `byUuidFolder`
// whose block device it is; empty when none is.
QString fileSystemUuid(quint64 device,
                       const QString& byUuidFolder = QStringLiteral("/dev/disk/by-uuid"));

// As a note keeps it, and back: nothing when the note holds none.
QJsonObject identityToJson(const FileIdentity& identity);
std::optional<FileIdentity> identityFromJson(const QJsonObject& note);

} // namespace zefrin
