#include "SystemServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <utility>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

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

namespace {

#ifdef Q_OS_UNIX
// A second name for the file, then the first one gone: link() never follows or replaces
// whatever holds the new name, a dangling link included.
bool linkThenUnlink(const QByteArray& from, const QByteArray& to)
{
    if (::link(from.constData(), to.constData()) != 0)
        return false;
    if (::unlink(from.constData()) == 0)
        return true;
    (void)::unlink(to.constData());
    return false;
}

bool renameNoReplace(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#ifdef Q_OS_LINUX
    const int done =
        ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE);
    if (done == 0)
        return true;
    // Only a file system that does not know the no-replace rename gets the link and unlink.
    if (errno != EINVAL && errno != ENOSYS)
        return false;
#endif
    return linkThenUnlink(source, target);
}
#else
// Windows moves a file within one folder without replacing the target or copying, once the
// check has found the new name free.
bool renameNoReplace(const QString& from, const QString& to)
{
    return !FileExists(to) && QFile::rename(from, to);
}
#endif

} // namespace

bool RenameInFolder(const QString& oldName, const QString& newName, const QString& folder)
{
    const QString from = folder + QLatin1Char('/') + oldName;
    const QString to = folder + QLatin1Char('/') + newName;
    if (!FileExists(from))
        return false;
    // Not QFile::rename: it tests the new name by following links, so a link whose target is
    // gone passes for a free name, and when the system's rename is refused it copies the bytes
    // to wherever that link points.
    return renameNoReplace(from, to);
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

QString freeFileName(const QString& folder, const QString& base, const QString& extension)
{
    QString name = base + extension;
    for (int n = 2; FileExists(folder + QLatin1Char('/') + name); ++n)
        name = base + QStringLiteral(" (%1)").arg(n) + extension;
    return name;
}

bool diskIsFull(const QString& path)
{
    const QStorageInfo disk(QFileInfo(path).absolutePath());
    return disk.isValid() && disk.bytesAvailable() <= 0;
}

CommandLine::CommandLine(QString program, QStringList arguments)
    : program(std::move(program))
    , arguments(std::move(arguments))
{
}

CommandLine CommandLine::failed(QString workingFolder, QString reason)
{
    CommandLine command;
    command.workingFolder = std::move(workingFolder);
    command.error = std::move(reason);
    return command;
}

QByteArray takeAnswer(const ShellResult& result, const QString& path, qint64 most)
{
    QFile answer(path);
    const QByteArray bytes = result.started && !result.crashed && answer.open(QIODevice::ReadOnly)
                                 ? answer.read(most)
                                 : QByteArray();
    answer.close();
    (void)removeIfExists(path);
    return bytes;
}

bool removeIfExists(const QString& path)
{
    if (!FileExists(path))
        return true;
    return QFile::remove(path) || QDir().rmdir(path);
}

} // namespace zefrin
