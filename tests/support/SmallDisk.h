#pragma once
// A small file system in memory mounted over a folder for as long as it is held: a disk that
// fills up under the program (as root, which the test runs as; a test without the right to
// mount skips).

#include <QProcess>
#include <QString>

namespace zefrin::test {

struct SmallDisk {
    SmallDisk(const QString& path, int kilobytes)
        : path(path)
    {
        mounted = QProcess::execute("mount",
                                    {"-t", "tmpfs", "-o", QStringLiteral("size=%1k").arg(kilobytes),
                                     "tmpfs", path}) == 0;
    }
    ~SmallDisk()
    {
        if (mounted && QProcess::execute("umount", {path}) != 0)
            QProcess::execute("umount", {"-l", path});
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    const QString path;
    bool mounted = false;
};

} // namespace zefrin::test
