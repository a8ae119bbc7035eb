#pragma once
// Where the emulator is: the emulator folder (its roms, cfg and ctrlr folders, its mame.ini
// and the files the program writes there) and the emulator executable every run starts.
// Decided once at start; the runner (EmulatorRunner::useEmulator) then starts that one.
//
// The classic set-up is the program copied into the emulator's folder. A program installed
// from a package is started from the desktop's menu instead: its folder is named on the
// command line, or was chosen once and remembered, and today's packaged emulator lives
// elsewhere on PATH (/usr/games/mame).

#include <QString>
#include <QStringList>

#include <optional>

class QSettings;

namespace zefrin {

struct EmulatorPlace {
    QString folder;  // absolute, without a trailing separator
    QString program; // the executable; it may be missing, which start-up then says
};

// Why a folder given, remembered or chosen cannot be the emulator folder.
enum class FolderProblem { None, Missing, NotAFolder, Unreadable, ShellCharacters };
FolderProblem folderProblem(const QString& folder);
// The message box for a folder with a problem.
QString folderProblemTitle();
QString folderProblemText(FolderProblem problem, const QString& folder);

enum class FolderSource {
    Argument,      // `zefrin FOLDER`
    ProgramFolder, // the program's own folder holds the emulator or a roms folder
    Remembered,    // the folder used last
    Ask,           // nothing decides: the user is asked
};

struct FolderDecision {
    FolderSource source = FolderSource::Ask;
    QString folder;                              // empty when the user is to be asked
    FolderProblem problem = FolderProblem::None; // of a folder argument
};

// What `zefrin -h` or `zefrin --help` prints instead of starting; nothing for any other
// command line.
std::optional<QString> commandLineHelp(const QStringList& arguments);

// Where distributions install the emulator: searched after PATH, which may lack them (root's
// PATH and some desktops' have no /usr/games).
QStringList distributionEmulatorFolders();

// The emulator folder, without asking anyone. `arguments` are the program's own, its name
// first. A remembered folder that can no longer be used is passed over. The program's own
// folder is the classic set-up's only when it is none of `systemFolders`: a program installed
// beside the packaged emulator (both in /usr/bin) has no emulator folder there.
FolderDecision
decideEmulatorFolder(const QStringList& arguments, const QString& programFolder,
                     const QSettings& settings,
                     const QStringList& systemFolders = distributionEmulatorFolders());

// The emulator a folder is used with: its own `mame`; in a folder other than the program's
// own one without it, the first `mame` on PATH, else in `systemFolders`. The folder's own one
// (missing) when there is none either, so that start-up says it is missing.
EmulatorPlace placeFor(const QString& folder, FolderSource source,
                       const QStringList& systemFolders = distributionEmulatorFolders());

// The message of a start without an emulator: it tells the user of a packaged system what to
// install.
QString emulatorMissingTitle();
QString emulatorMissingText(const QString& folder);

// Why the emulator `program`, which is there, cannot be run (a broken link, a folder, a file
// without the right to run); empty when it can. Every run would fail without saying why.
QString emulatorUnusableReason(const QString& program);
QString emulatorUnusableTitle();
QString emulatorUnusableText(const QString& program, const QString& reason);

// A folder from the command line or the chooser, once its emulator has been found, is the one
// used next time too. The classic set-up writes nothing of the kind.
void rememberEmulatorFolder(QSettings& settings, const EmulatorPlace& place, FolderSource source);

} // namespace zefrin
