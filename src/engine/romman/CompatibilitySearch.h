#pragma once
// The compatibility search: the selected archive checked as each game of the emulator's list
// in turn (one emulator run per game), until one passes, the user cancels or the list ends.
// It keeps its own state; the window only selects, cancels and shows what it is told.
// With today's emulator's CRC list (CrcList.h) only the candidates are checked, in the same
// order: the games that have a ROM of the CRC-32 of a file of the archive. A game none of whose
// ROM files is in the archive (one that needs no ROM file among them) is never proposed.

#include "ArchiveCheck.h"
#include "CrcList.h"
#include "CrcListMaker.h"
#include "engine/catalogue/GameListMaker.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

namespace zefrin {

// The progress bar's figures for check number `counter` of a list of `entries` titles. The
// list and the file may disagree (more game lines than titles, no titles at all): the value
// then stays within the range instead of leaving it.
struct ProgressFigures {
    int minimum = 1;
    int maximum = 1;
    int value = 1;
};
ProgressFigures progressFigures(int counter, int entries);

enum class SearchEnd {
    Found,        // `title` is the first game as which the archive passed
    AlreadyThere, // it passed first as `title`, whose archive (`candidate`) is in roms already
    Cancelled,    // stopped by the user after a check
    Exhausted,    // no game passed
    Stopped,      // a check could not be done as it must (see `failure`)
    Unreadable,   // with the CRC list: `archive` is not a zip whose files can be read
    NoGameList,   // the emulator's game list could not be made (`diskFull`: on a full disk)
    CrcListCut    // the emulator cut its CRC list short (`diskFull`: on a full disk)
};

struct SearchResult {
    SearchEnd end = SearchEnd::Exhausted;
    QString title;
    CheckOutcome failure = CheckOutcome::NotGood;
    QString archive;   // of the last check
    QString candidate; // of the last check
    bool diskFull = false;
};

// A whole search, as the user asks for it: the game list written anew, the CRC list read or
// made where the emulator lists CRCs (CrcListMaker.h), then the checks over the game lines of
// lista.txt (heading dropped), in file order. The archive checked is the one selected last
// (select()), so a new selection is taken up by the next check; with no selection the previous
// archive goes on. Game lines that name no set, or one whose archive name cannot be handed on
// (catalogue/RomFolder.h), are counted but not checked. A cancel is noticed once the step in
// hand has ended: the check, the game list, or the CRC list's next look (which ends its run).
class CompatibilitySearch : public QObject {
    Q_OBJECT

public:
    CompatibilitySearch(ArchiveChecker& checker, GameListMaker& listMaker, EmulatorRunner& runner,
                        const QString& emulatorFolder, const QString& crcRecordPath);

    // Starts a whole search for `archive`; `ended` follows once it is over.
    void start(const QString& archive);
    // The checks alone over `gameLines`; with `crcs` only the candidates of the archive are
    // checked. `ended` follows, always after this call has returned.
    void check(const QStringList& gameLines, std::shared_ptr<const CrcIndex> crcs = nullptr);
    // The archive the user has selected now; empty for none.
    void select(const QString& archive);
    // The user has confirmed a cancel.
    void cancel();

signals:
    // The game list has been written anew (or could not be): the checks are counted next.
    void gameListMade();
    // The CRC list is being made: the emulator has got to game line `reached`.
    void crcListProgressed(int reached);
    // The search waits for the emulator an earlier copy of the program left writing the CRC
    // list (process `pid`), which has got to game line `reached` (0: not known).
    void earlierRunAwaited(qint64 pid, int reached);
    // The CRC list has been read, made or given up.
    void crcListEnded();
    // Check number `counter` (1 for the first game line) is about to be made.
    void counted(int counter);
    void ended(const SearchResult& result);

private slots:
    void listMade();
    void crcListDone(const CrcListResult& list);
    void checked(CheckOutcome outcome);
    void next();

private:
    void beginChecks(const QStringList& gameLines, std::shared_ptr<const CrcIndex> crcs);
    // The verdict on the line in hand; true when the search goes on.
    bool carryOn(CheckOutcome outcome);
    void finish(SearchEnd end);
    // The archive selected now; with no selection the previous one goes on.
    QString currentArchive() const;
    // With the CRC list: whether the game of the line in hand may hold result_.archive;
    // nothing when the archive cannot be read.
    std::optional<bool> isCandidate(const QString& gameLine);

    ArchiveChecker& checker_;
    GameListMaker& listMaker_;
    CrcListMaker crcList_;
    QString emulatorFolder_;
    QString selected_;
    bool cancelled_ = false;
    QStringList lines_;
    qsizetype line_ = 0;
    SearchResult result_;
    std::shared_ptr<const CrcIndex> crcs_;
    // The archive the candidates are of, and its candidate sets; nothing when unreadable.
    QString candidatesOf_;
    std::optional<QSet<QString>> candidates_;
};

} // namespace zefrin
