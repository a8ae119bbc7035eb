#pragma once
// A main window over an emulator folder with the stand-in emulator and good archives of the
// games it knows, its list showing those games: ready to launch them as a user would.

#include "app/frmCargador.h"
#include "fixture/Collection.h"
#include "support/EmulatorFolder.h"

#include <QString>

namespace zefrin::test {

class LaunchRig {
public:
    explicit LaunchRig(const QString& subfolder = QStringLiteral("MAME 0.70"));

    // A game of the stand-in; its good archive is named `archive` (the short name + ".zip"
    // when empty) and its row shows `title`.
    void addGame(const QString& shortName, const QString& title, const QString& archive = {});
    // A behaviour of the stand-in (fixture/Directives.h), for every game or for one.
    void addDirective(const char* key, const QString& value, const QString& game = {});
    // Writes the data file and the archives, and shows one row per game in the order added.
    void install();

    // Turns the defined keys on as the user does: a controller file saved, the box ticked.
    void tickDefinedKeys();
    // A row the user double-clicks, as a mouse double click on it.
    void doubleClickRow(int row);
    void selectRow(int row);
    // A file's content, or a marker when it does not exist.
    QByteArray fileOrNothing(const QString& relative) const;

    EmulatorFolder folder;
    Program program;
    frmCargador window;
    fixture::Collection collection;

private:
    QStringList archives_;
};

// Makes a file or folder immutable (chattr +i) while the guard lives: as root, permission
// bits stop no write.
class Immutable {
public:
    explicit Immutable(const QString& path);
    ~Immutable();
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;

    // False where the file system has no such attribute; the test is then skipped.
    bool active() const { return active_; }

private:
    QString path_;
    bool active_ = false;
};

} // namespace zefrin::test
