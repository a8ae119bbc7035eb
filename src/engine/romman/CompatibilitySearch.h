#pragma once
// The compatibility search: the selected archive checked as each game of the emulator's list
// in turn (one emulator run per game), until one passes, the user cancels or the list ends.
// With today's emulator's CRC list (CrcList.h) only the candidates are checked, in the same
// order: the games that have a ROM of the CRC-32 of a file of the archive. A game none of whose
// ROM files is in the archive (one that needs no ROM file among them) is never proposed.

#include "ArchiveCheck.h"
#include "CrcList.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

namespace zefrin {

// What the search needs from the window around it. Called between checks; the window's
// events flow during each emulator run, so its answers may change from one call to the next.
class SearchView {
public:
    virtual ~SearchView() = default;
    // Before check number `counter` (1 for the first game line).
    virtual void showCounter(int counter) = 0;
    // The archive selected at this moment; empty when none is.
    virtual QString selectedArchive() const = 0;
    // False once the user has confirmed a cancel.
    virtual bool searchRunning() const = 0;
    // While the CRC list is being made: the emulator has got to game line `reached`.
    virtual void showListProgress(int reached) { (void)reached; }
    // While the search waits for the emulator an earlier copy of the program left writing the
    // list (process `pid`), which has got to game line `reached` (0: not known).
    virtual void showEarlierRun(qint64 pid, int reached)
    {
        (void)pid;
        (void)reached;
    }
};

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
    Unreadable    // with the CRC list: `archive` is not a zip whose files can be read
};

struct SearchResult {
    SearchEnd end = SearchEnd::Exhausted;
    QString title;
    CheckOutcome failure = CheckOutcome::NotGood;
    QString archive;   // of the last check
    QString candidate; // of the last check
};

// Runs the search over the game lines of lista.txt (heading already dropped), in file order.
// The archive is read from the view before every check, so a new selection is taken up by the
// next one; with no selection the previous archive goes on. Game lines that name no set, or
// one whose archive name cannot be handed on (catalogue/RomFolder.h), are counted but not
// checked.
class CompatibilitySearch : public QObject {
    Q_OBJECT

public:
    CompatibilitySearch(ArchiveChecker& checker, SearchView& view);

    // Starts the search; `ended` follows, always after this call has returned. With `crcs`
    // only the candidates of the archive are checked.
    void start(const QStringList& gameLines, std::shared_ptr<const CrcIndex> crcs = nullptr);

signals:
    void ended(const SearchResult& result);

private slots:
    void checked(CheckOutcome outcome);
    void next();

private:
    // The verdict on the line in hand; true when the search goes on.
    bool carryOn(CheckOutcome outcome);
    void finish(SearchEnd end);
    // The archive selected now; with no selection the previous one goes on.
    QString currentArchive() const;
    // With the CRC list: whether the game of the line in hand may hold result_.archive;
    // nothing when the archive cannot be read.
    std::optional<bool> isCandidate(const QString& gameLine);

    ArchiveChecker& checker_;
    SearchView& view_;
    QStringList lines_;
    qsizetype line_ = 0;
    SearchResult result_;
    std::shared_ptr<const CrcIndex> crcs_;
    // The archive the candidates are of, and its candidate sets; nothing when unreadable.
    QString candidatesOf_;
    std::optional<QSet<QString>> candidates_;
};

} // namespace zefrin
