#pragma once
// The ROM manager's messages for what its commands could not do, and the start-up's message
// about an archive a check had left under another name.

#include "engine/romman/ArchiveCheck.h"
#include "engine/romman/PendingRename.h"
#include "engine/romman/RomReports.h"

#include <QString>

class QWidget;

namespace zefrin {

class Dialogs;
class Desktop;

// Why a check could not be done; for the outcomes that stop a search.
void showCheckFailure(Dialogs& dialogs, QWidget* parent, CheckOutcome outcome,
                      const QString& archive, const QString& candidate, const QString& recordPath);

// The game list gave no archive for the selected game.
void showUnknownGameArchive(Dialogs& dialogs, QWidget* parent);

// An archive's name, or a game's, that cannot be handed to the emulator: nothing was done.
void showNameNotPassable(Dialogs& dialogs, QWidget* parent, const QString& name);

// Files of the user's under the exchange files' names, which the command would write over:
// nothing was done.
void showUsersExchangeFiles(Dialogs& dialogs, QWidget* parent, const QStringList& names);

// A compare with a game whose archive is in roms.
void showCompareNameTaken(Dialogs& dialogs, QWidget* parent);

// The selected game has no ROM file, so no archive is its own: for the compare, and for the
// update, which renamed nothing.
void showNoRomFiles(Dialogs& dialogs, QWidget* parent, bool update);

// An update whose archive passed the check but could not be renamed.
void showUpdateRenameFailed(Dialogs& dialogs, QWidget* parent, const QString& archive,
                            const QString& newName);

// A report that could not be written, or not shown.
void showReportNotWritten(Dialogs& dialogs, QWidget* parent, const QString& error);
void showReportNotOpened(Dialogs& dialogs, QWidget* parent, const QString& path);
// Opens a report in the text editor, saying first when the emulator could not be asked.
void presentReport(Dialogs& dialogs, Desktop& desktop, QWidget* parent, const ReportResult& report);

// What the start-up did with a pending rename; nothing for the outcomes the user need not
// know about.
void showRecovery(Dialogs& dialogs, QWidget* parent, const Recovery& recovery);

} // namespace zefrin
