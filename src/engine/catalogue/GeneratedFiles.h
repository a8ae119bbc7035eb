#pragma once
// The files the program generates in the emulator folder the first time it runs there: the
// game-list script, the game list the emulator writes through it, and the key-name table.
// A read-only (CD) installation must already hold all three.

#include "engine/services/RunRecord.h"

#include <QString>

#include <optional>

namespace zefrin {

QString gameListScriptName(); // all.bat
QString gameListFileName();   // lista.txt
// Today's emulator's list of every ROM's CRC-32 ("-listcrc"), kept beside lista.txt for the
// compatibility search and made again when lista.txt changes.
QString crcListFileName(); // listacrc.txt

// True when all three generated files are in the folder.
bool generatedFilesPresent(const QString& emulatorFolder);

// The message that ends a start from a CD that lacks them.
QString cdWithoutGeneratedFilesTitle();
QString cdWithoutGeneratedFilesText();

// The message of a game list that could not be made: the folder cannot be written, or the
// emulator did not run.
QString gameListNotCreatedText(const QString& emulatorFolder);
// The same, or the full disk's message when the disk was full.
QString gameListNotMadeText(const QString& emulatorFolder, bool diskFull);

// Writes the game-list script when it is missing. False when it cannot be written.
bool ensureGameListScript(const QString& emulatorFolder);

// A game list the emulator was still writing when the program was ended by force is
// incomplete (GameListMaker keeps a run record meanwhile): a next start that finds the record
// removes the list to have it made again, once the emulator that was writing it has ended.
// From a read-only installation (a CD) nothing was written: a record there is stale and only
// set aside.
struct ListRecovery {
    enum class Outcome {
        Nothing,  // no record
        Dropped,  // the list is gone, to be made again
        Waiting,  // the emulator is still writing it: nothing is touched until it has ended
        Failed,   // it could not be removed; the record is kept for the next start
        SetAside, // the record cannot be applied (see RunRecord.h): nothing is touched
    };
    Outcome outcome = Outcome::Nothing;
    ProcessIdentity run; // the run still going
    std::optional<RecordSetAside> setAside;
};
ListRecovery dropInterruptedGameList(const QString& recordPath, const QString& emulatorFolder,
                                     bool readOnly = false);

} // namespace zefrin
