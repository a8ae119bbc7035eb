#pragma once
// What tells a file or folder apart from another that later takes its path: the device and
// index node it lives on, and for a file its size and last change. A note that outlives the
// program keeps it, so that what it names is touched only while it is still the same.

#include <QJsonObject>
#include <QString>

#include <optional>

namespace zefrin {

struct FileIdentity {
    QString device;
    QString inode;
    qint64 size = 0;
    qint64 modifiedNs = 0; // nanoseconds since the epoch

    // The same folder: a folder's size and time change with what it holds.
    bool sameFolder(const FileIdentity& other) const
    {
        return device == other.device && inode == other.inode;
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

// As a note keeps it, and back: nothing when the note holds none.
QJsonObject identityToJson(const FileIdentity& identity);
std::optional<FileIdentity> identityFromJson(const QJsonObject& note);

} // namespace zefrin
