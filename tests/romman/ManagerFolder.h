#pragma once
// Emulator folders for the ROM manager tests: the stand-in emulator with a made-up game
// collection, archives written good, bad or foreign under any name, and the pending-rename
// record kept in a temporary folder of its own.

#include "fixture/Collection.h"
#include "support/EmulatorFolder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace zefrin::test {

namespace fx = zefrin::fixture;

// Galaga Espacial (galaga), Come Cocos (pacman), Donkey Kong (dkong), Tetrix (tetrix): each
// with files of its own.
fx::Collection managerCollection(std::vector<fx::Directive> directives = {});

class ManagerFolder {
public:
    explicit ManagerFolder(fx::Collection collection = managerCollection(),
                           const QString& subfolder = QStringLiteral("MAME 0.70"));

    EmulatorFolder folder;
    fx::Collection collection;

    QString path() const { return folder.path(); }
    QString romPath(const QString& name) const;
    QString recordPath() const;

    // Archives in roms, named `name`: every file of `game`, a wrong one, or none of any game.
    void goodArchive(const std::string& game, const QString& name);
    void badArchive(const std::string& game, const QString& name);
    void foreignArchive(const QString& name);
    QByteArray romBytes(const QString& name) const;

    // The names in roms, sorted.
    QStringList romsListing() const;

    // A shell script in the stand-in's place, for emulators that answer oddly.
    void replaceEmulator(const QByteArray& script);

    // The stand-in's runs so far, one argument list (TAB separated) a line.
    QStringList emulatorCalls() const;
    void forgetEmulatorCalls();

private:
    QTemporaryDir recordFolder_;
};

// `chattr +i` for the life of the object: on this file system a root process can still write
// where permission bits say no, but not into an immutable file or folder.
class Immutable {
public:
    explicit Immutable(const QString& path);
    ~Immutable();
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;

    bool applied() const { return applied_; }

private:
    QString path_;
    bool applied_ = false;
};

} // namespace zefrin::test
