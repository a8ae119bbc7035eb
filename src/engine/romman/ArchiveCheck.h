#pragma once
// CheckArchiveAsGame: whether an archive of the roms folder passes the emulator's
// verification as another game. The emulator finds a set's archive by its file name, so the
// archive is given the game's archive name for the time of one "-verifysets" run and its own
// name back afterwards. Search, compare and update all rest on it.

#include "engine/services/Dialect.h"
#include "engine/services/EmulatorRunner.h"

#include <QIODevice>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace zefrin {

enum class CheckOutcome {
    Good,           // the emulator called the set good
    NotGood,        // it did not (bad, not found, no answer at all), or the archive holds
                    // none of the set's files
    NoRomFiles,     // the game has no ROM file: no archive is its own, whatever the verdict
    NameTaken,      // a file of the game's archive name is already there: nothing was done
    GoodBeside,     // that name is taken, but the archive passed beside the game's own one
    NotPassable,    // the archive's or the game's name cannot be handed on: nothing was done
    ArchiveMissing, // the archive is not in roms (deleted or moved): nothing was done
    RenameRefused,  // the rename was refused (read-only folder, locked file): nothing was done
    RecordFailed,   // the pending-rename record could not be written: nothing was done
    EmulatorNotRun, // the command script could not be written or started; name given back
    DiskFull,       // the emulator folder's disk is full: the answer was lost; name given back
    NotRestored     // the archive could not get its own name back: it keeps the game's name
};

// True for the outcomes after which a search cannot go on usefully.
bool stopsSearch(CheckOutcome outcome);

// The verdict in the first line of the emulator's "-verifysets" answer: with blanks trimmed,
// exactly "romset " + SET + " is good" in any letter case, whatever the user's locale.
bool isGoodVerifyLine(const QString& firstLine, const QString& set);

// The first line of a text file, without its line end; empty when the file is missing.
QString firstLineOf(const QString& path);
QString firstLineOf(std::unique_ptr<QIODevice> answer);

// Today's verdict: somewhere in the answer (after the lines on files that are wrong), a line
// "romset SET is good", "romset SET [PARENT] is good" or "romset SET is best available" (all
// the files that exist are right; some were never dumped) passes; "is bad" and "not found"
// do not. Letter case as in isGoodVerifyLine.
bool isPassingVerifyAnswer(const QStringList& answerLines, const QString& set);
// The lines of the answer file, as many as a verdict can be among.
QStringList answerLinesOf(const QString& path);
QStringList answerLinesOf(std::unique_ptr<QIODevice> answer);

class ArchiveChecker : public QObject {
    Q_OBJECT

public:
    // recordPath: where the pending-rename record is kept; empty keeps none. scratchFolder:
    // the program's private folder, where today's check of an archive whose game's name is
    // taken is made; empty makes none.
    ArchiveChecker(EmulatorRunner& runner, const QString& emulatorFolder, const QString& recordPath,
                   Dialect dialect, const QString& scratchFolder = QString());

    QString romsFolder() const { return romsFolder_; }
    Dialect dialect() const { return dialect_; }

    // Gives `archive` the name `candidate` (both file names in roms, with extension), asks the
    // emulator to verify the candidate's set and gives the archive its own name back. An
    // archive already called `candidate` is verified as it is. Both names must be passable
    // (catalogue/RomFolder.h). An outcome reached without the emulator comes back at once;
    // otherwise nothing comes back and `checked` follows.
    //
    // Today's emulator calls a set "best available" when every file it finds is right, so a
    // set without ROM files passes whatever archive stands under its name: its verdict counts
    // only when the archive holds a file of the CRC-32 of one of the set's ROMs, which the
    // emulator lists ("-listcrc SET") after a passing verdict. `sharesFile`: the caller knows
    // already that it does (from the CRC list of every set).
    //
    // When a file of the game's archive name is already in roms, nothing is renamed: today's
    // emulator is pointed at a folder of the scratch folder holding only a link of that name
    // to the archive (GoodBeside when it passes). A clone whose parent's files are not in the
    // archive cannot pass there.
    std::optional<CheckOutcome> CheckArchiveAsGame(const QString& archive, const QString& candidate,
                                                   bool sharesFile = false);

signals:
    void checked(CheckOutcome outcome);

private slots:
    void verifyEnded(const ShellResult& shell);

private:
    std::optional<CheckOutcome> startVerify();
    std::optional<CheckOutcome> startBeside();
    void removeBeside();
    CheckOutcome renameBack(CheckOutcome verdict);
    CheckOutcome whyRenameFailed() const;
    // Today's passing verdict on the check in hand, held against the set's ROM files.
    CheckOutcome heldFiles() const;
    // True when the answer the verdict rests on (the verdict's own, or after a passing one the
    // set's files) is empty on a full disk.
    bool lostToFullDisk(bool passed) const;
    QString inRoms(const QString& name) const;

    EmulatorRunner& runner_;
    QString emulatorFolder_;
    Dialect dialect_;
    QString romsFolder_;
    QString recordPath_;
    QString scriptPath_;
    QString answerPath_;
    QString filesPath_;
    QString besideFolder_;
    // The check in progress.
    QString archive_;
    QString candidate_;
    bool renamed_ = false;
    bool sharesFile_ = false;
    bool beside_ = false;
};

} // namespace zefrin
