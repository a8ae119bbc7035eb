#pragma once
// File, process and drive services: every contact the program has with the file system
// and with child processes goes through here.

#include <QString>
#include <QStringList>

namespace zefrin {

// EmulatorFolder + "/" + relative: the one place paths into the emulator folder are built.
QString emulatorPath(const QString& emulatorFolder, const QString& relative);

// True when the path names any directory entry: a file, a folder or a link.
bool FileExists(const QString& path);

// Renames folder/oldName to folder/newName. Never replaces an existing target (any directory
// entry, a link whose target is gone included) and never copies; returns false when the
// rename was refused (target exists, source missing, no permission).
[[nodiscard]] bool RenameInFolder(const QString& oldName, const QString& newName,
                                  const QString& folder);

// The text before the last "."; a name without any "." comes back unchanged.
QString StripExtension(const QString& fileName);

// One child process to run (services/EmulatorRunner.h runs it).
struct CommandLine {
    // The program and its arguments; every other field is set by name, so that a value can
    // never land in the wrong one.
    CommandLine() = default;
    CommandLine(QString program, QStringList arguments);
    // A command that could not even be put together: it ends at once as not started.
    static CommandLine failed(QString workingFolder, QString reason);

    QString program;
    QStringList arguments;
    QString workingFolder;
    // Folders put in front of PATH for the child, so a bare "mame" in a script resolves to
    // the emulator of the working folder, as the Windows command interpreter would do.
    QStringList pathFirst;
    // Set when the command could not even be put together (its script is unreadable): the
    // run then ends at once as not started, with this reason.
    QString error;
    // Where the child's standard output goes; nowhere when empty.
    QString outputFile;
    // A run still going after this many milliseconds is ended (as crashed); 0: no limit.
    int timeLimitMs = 0;
};

struct ShellResult {
    bool started = false;
    QString error; // why the command could not be started, when it was not
    int exitCode = -1;
    bool crashed = false;
};

// What a run that has ended wrote into its answer file `path`, at most `most` bytes (nothing
// when it did not start or crashed); the file is removed either way.
QByteArray takeAnswer(const ShellResult& result, const QString& path, qint64 most);

// True when the folder lies on an optical disc (a read-only CD or DVD installation).
bool IsCdDrive(const QString& path);

// Puts source in destination's place, deleting an existing destination first. Does nothing
// when the source does not exist. Returns false, with the reason, when a step failed; the
// destination may then already be gone, as with the emulator's own tools.
struct FileResult {
    bool ok = true;
    QString error;
};
[[nodiscard]] FileResult ReplaceFile(const QString& source, const QString& destination);

// `base` + `extension` when nothing in `folder` has that name, else the first free one of
// `base` + " (2)" + `extension`, " (3)" and so on: a name to set a file aside under without
// replacing anything.
QString freeFileName(const QString& folder, const QString& base, const QString& extension);

// The disk that holds the file or folder `path` names has no room left for the user.
bool diskIsFull(const QString& path);

// Deletes a file when it exists; true when it is gone afterwards.
[[nodiscard]] bool removeIfExists(const QString& path);

} // namespace zefrin
