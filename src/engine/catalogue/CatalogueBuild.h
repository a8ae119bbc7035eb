#pragma once
// The main list built anew: the key-name table and the game-list script made when they are
// missing, lista.txt made by the emulator when it is missing (GameListMaker.h), then the rows
// read (GameCatalogue.h). The start-up's list and catalogue steps and the main window's
// rebuilds go through it; the window shows what it tells.

#include "GameCatalogue.h"
#include "GameListMaker.h"
#include "engine/services/Dialect.h"

#include <QObject>
#include <QString>

namespace zefrin {

class CatalogueBuild : public QObject {
    Q_OBJECT

public:
    CatalogueBuild(EmulatorRunner& runner, GameCatalogue& rows, const QString& emulatorFolder,
                   const QString& listRecordPath);

    // Empties the rows and builds them in `dialect`: listReady and built follow, at once when
    // no list is to be made (or none can be, the runner being busy: the rows are then those of
    // no list).
    void start(Dialect dialect);

signals:
    // The emulator writes lista.txt.
    void listBeingMade();
    // It ended without one (a full disk cut it short, and it was removed).
    void listNotMade(bool diskWasFull);
    // lista.txt is there, or will not be: the rows are read next.
    void listReady();
    void built();

private:
    void listMade();
    void readRows();

    GameCatalogue& rows_;
    QString emulatorFolder_;
    GameListMaker maker_;
    Dialect dialect_ = Dialect::Classic;
};

} // namespace zefrin
