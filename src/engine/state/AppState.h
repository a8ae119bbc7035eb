#pragma once
// The program-wide state: one object, owned by main() and handed to every window.

#include "engine/catalogue/GameCatalogue.h"
#include "engine/input/KeyTable.h"
#include "engine/services/Dialect.h"
#include "engine/services/EmulatorRunner.h"
#include "engine/services/RunRecord.h"
#include "engine/services/ScratchFolder.h"
#include "engine/version/InstalledVersion.h"

#include <QString>

namespace zefrin {

struct AppState {
    QString emulatorFolder; // no trailing separator
    bool CdMode = false;
    InstalledVersion EmulatorVersion;
    // Decided with the version at start-up (version/Dialect.h).
    Dialect dialect = Dialect::Classic;
    // Where a game's run of today's emulator looks for controller files, decided at start-up
    // (services/EmulatorSettings.h): "ctrlr" alone until then.
    QString controllerFolders = QStringLiteral("ctrlr");
    // Whether the version allows the keys to be defined (VersionRules.h), decided with it.
    bool keysAvailable = true;
    QString LastLaunchTitle;
    QByteArray LastLaunchLog; // launch/LaunchLog.h
    KeyTable TablaTeclas = emptyKeyTable();
    QString LineaAnterior;
    ScratchFolder scratch;
    // Where changes to undo are noted should the program be ended before it undoes them.
    RunRecords records;
    // Every emulator run goes through it; it is busy while one is in progress.
    EmulatorRunner emulator;
    // The main window's game list: its rows, built from the roms folder and lista.txt.
    GameCatalogue catalogue;
};

} // namespace zefrin
