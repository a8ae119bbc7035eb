#pragma once
// A private folder for the program's temporary files: made once per run with owner-only
// access and removed with everything in it when the program ends. Fixed file names in a
// shared temporary folder would let another user plant links there. The folder holds a marker
// naming the copy of the program that made it (process and start time): only a folder with a
// marker whose copy is gone is ever taken for a leftover.

#include <QString>
#include <QTemporaryDir>

namespace zefrin {

class ScratchFolder {
public:
    ScratchFolder();

    bool isValid() const;
    QString path() const;
    QString filePath(const QString& name) const;

    // The play script and the file the emulator's output is redirected to.
    QString playScriptPath() const;
    QString logPath() const;

    // Removes the scratch folders that copies of the program ended by force left beside this
    // one: those of this user whose marker names a copy that no longer runs, holding nothing
    // but the program's own files. Whatever the lock says: a copy started with another
    // environment may run beside this one, and its folder is marked as running.
    void removeLeftovers() const;

private:
    QTemporaryDir folder_;
};

} // namespace zefrin
