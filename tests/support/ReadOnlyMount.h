#pragma once
// A read-only bind mount of a file or folder over itself, for as long as it is held: what a
// write-protected disk or a file the user cannot change does to the program (as root, which
// the test runs as, permission bits stop no write).

#include <QProcess>
#include <QString>

namespace zefrin::test {

struct ReadOnlyMount {
    explicit ReadOnlyMount(const QString& path)
        : path(path)
    {
        if (QProcess::execute("mount", {"--bind", path, path}) != 0)
            return;
        mounted = true;
        readOnly = QProcess::execute("mount", {"-o", "remount,bind,ro", path, path}) == 0;
    }
    ~ReadOnlyMount()
    {
        if (mounted && QProcess::execute("umount", {path}) != 0)
            QProcess::execute("umount", {"-l", path});
    }
    ReadOnlyMount(const ReadOnlyMount&) = delete;
    ReadOnlyMount& operator=(const ReadOnlyMount&) = delete;

    const QString path;
    bool mounted = false;
    bool readOnly = false;
};

} // namespace zefrin::test
