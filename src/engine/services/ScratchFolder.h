#pragma once
// A private folder for the program's temporary files: made once per run with owner-only
// access and removed with everything in it when the program ends. Fixed file names in a
// shared temporary folder would let another user plant links there.

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
    // one: those of this user holding nothing but the program's own files. Only for a copy
    // that knows no other runs for this user.
    void removeLeftovers() const;

private:
    QTemporaryDir folder_;
};

} // namespace zefrin
