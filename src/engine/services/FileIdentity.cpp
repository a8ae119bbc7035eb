#include "FileIdentity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace zefrin {

namespace {

const QString deviceKey = QStringLiteral("device");
const QString inodeKey = QStringLiteral("inode");
const QString sizeKey = QStringLiteral("size");
const QString modifiedKey = QStringLiteral("modified");
const QString volumeKey = QStringLiteral("volume");

std::optional<FileIdentity> identityOf(const QString& path, bool followLinks)
{
    if (path.isEmpty())
        return std::nullopt;
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if ((followLinks ? ::stat(name.constData(), &info) : ::lstat(name.constData(), &info)) != 0)
        return std::nullopt;
    return FileIdentity{QString::number(info.st_dev), QString::number(info.st_ino),
                        qint64(info.st_size),
                        qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                        fileSystemUuid(quint64(info.st_dev))};
#else
    // No index node to be had: the path, size and time stand in.
    const QFileInfo info(path);
    if (!(followLinks ? info.exists() : info.exists() || info.isSymLink()))
        return std::nullopt;
    return FileIdentity{QString(), info.absoluteFilePath(), info.size(),
                        info.lastModified().toMSecsSinceEpoch() * 1000000};
#endif
}

} // namespace

QString fileSystemUuid(quint64 device, const QString& byUuidFolder)
{
#ifdef Q_OS_UNIX
    const QDir links(byUuidFolder);
    for (const QString& uuid : links.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        struct stat node {};
        if (::stat(QFile::encodeName(links.filePath(uuid)).constData(), &node) == 0 &&
            S_ISBLK(node.st_mode) && quint64(node.st_rdev) == device)
            return uuid;
    }
#else
    (void)device;
    (void)byUuidFolder;
#endif
    return {};
}

std::optional<FileIdentity> fileIdentity(const QString& path)
{
    return identityOf(path, false);
}

std::optional<FileIdentity> folderIdentity(const QString& path)
{
    return identityOf(path, true);
}

QJsonObject identityToJson(const FileIdentity& identity)
{
    QJsonObject note{{deviceKey, identity.device},
                     {inodeKey, identity.inode},
                     {sizeKey, QString::number(identity.size)},
                     {modifiedKey, QString::number(identity.modifiedNs)}};
    if (!identity.volume.isEmpty())
        note.insert(volumeKey, identity.volume);
    return note;
}

std::optional<FileIdentity> identityFromJson(const QJsonObject& note)
{
    bool sizeOk = false;
    bool timeOk = false;
    FileIdentity identity{note.value(deviceKey).toString(), note.value(inodeKey).toString(),
                          note.value(sizeKey).toString().toLongLong(&sizeOk),
                          note.value(modifiedKey).toString().toLongLong(&timeOk),
                          note.value(volumeKey).toString()};
    if (identity.inode.isEmpty() || !sizeOk || !timeOk)
        return std::nullopt;
    return identity;
}

} // namespace zefrin
