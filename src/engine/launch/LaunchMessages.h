#pragma once
// What the launch and the load log say to the user.

#include "GameLaunch.h"

#include <QString>

#include <optional>

namespace zefrin {

struct MessageText {
    QString title;
    QString text;
};

// The refusal of a row whose archive the emulator does not know.
MessageText unrecognisedArchiveMessage();

// The refusal of an archive whose name cannot be handed to the emulator
// (catalogue/RomFolder.h).
MessageText notPassableArchiveMessage(const QString& archive);

// A failure of a launch: the fixed settings-folder message once the game's settings file was
// being moved aside, else a message naming what failed.
MessageText launchFailureMessage(const LaunchResult& result);

// A run of today's emulator that did not play (it ended with an exit status other than 0, or
// a signal ended it): the reason in Spanish, the emulator's last lines and the offer of the
// whole log. Nothing for a run that ended normally.
std::optional<MessageText> failedRunMessage(const LaunchResult& result);
// The status line after such a run.
QString failedRunStatus();

// Said after a failure when the game's own settings could not be put back.
MessageText strandedBackupMessage(const QString& backupPath, const QString& settingsPath);

// The load log: the last launched title and what the emulator printed (launch/LaunchLog.h),
// or that there is nothing to show.
MessageText launchLogMessage(const QString& lastTitle, const QByteArray& lastLog);
// What stands above the emulator's lines: the title the log is of.
QString launchLogHeading(const QString& lastTitle);

// True when the text (8-bit, as the log keeps it), wrapped at `columns` characters, takes at
// most `rows` lines: it then fits in a message box; a longer one goes to a scrolling viewer.
bool fitsInMessageBox(const QByteArray& text, int rows, int columns);
// The same for the log with its heading above it.
bool logFitsInMessageBox(const QString& heading, const QByteArray& log, int rows, int columns);

} // namespace zefrin
