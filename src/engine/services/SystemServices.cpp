#include "SystemServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace zefrin {

QString emulatorPath(const QString& emulatorFolder, const QString& relative)
{
    return emulatorFolder + QLatin1Char('/') + relative;
}

bool FileExists(const QString& path)
{
    // exists() follows links; a dangling link is still a directory entry.
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool RenameInFolder(const QString& oldName, const QString& newName, const QString& folder)
{
    const QString from = folder + QLatin1Char('/') + oldName;
    const QString to = folder + QLatin1Char('/') + newName;
    // QFile::rename never replaces an existing target.
    if (!FileExists(from))
        return false;
    return QFile::rename(from, to);
}

QString StripExtension(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? fileName : fileName.left(dot);
}

bool IsCdDrive(const QString& path)
{
    const QStorageInfo storage(path);
    if (!storage.isValid())
        return false;
    const QByteArray type = storage.fileSystemType().toLower();
    return type == "iso9660" || type == "udf";
}

FileResult ReplaceFile(const QString& source, const QString& destination)
{
    if (!FileExists(source))
        return {};
    if (FileExists(destination)) {
        QFile old(destination);
        if (!old.remove())
            return {false, old.errorString()};
    }
    QFile file(source);
    if (!file.rename(destination))
        return {false, file.errorString()};
    return {};
}

bool removeIfExists(const QString& path)
{
    if (!FileExists(path))
        return true;
    return QFile::remove(path) || QDir().rmdir(path);
}

} // namespace zefrin
