#include "CompatibilitySearch.h"

#include "ZipCrcs.h"
#include "engine/catalogue/GameList.h"
#include "engine/catalogue/RomFolder.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/SystemServices.h"

#include <algorithm>
#include <utility>

namespace zefrin {

CompatibilitySearch::CompatibilitySearch(ArchiveChecker& checker, GameListMaker& listMaker,
                                         EmulatorRunner& runner, const QString& emulatorFolder,
                                         const QString& crcRecordPath)
    : checker_(checker)
    , listMaker_(listMaker)
    , crcList_(runner, emulatorFolder, crcRecordPath)
    , emulatorFolder_(emulatorFolder)
{
    connect(&crcList_, &CrcListMaker::progressed, this, &CompatibilitySearch::crcListProgressed);
    connect(&crcList_, &CrcListMaker::earlierRunAwaited, this,
            &CompatibilitySearch::earlierRunAwaited);
    connect(&crcList_, &CrcListMaker::ended, this, &CompatibilitySearch::crcListDone);
}

void CompatibilitySearch::start(const QString& archive)
{
    selected_ = archive;
    cancelled_ = false;
    result_ = {};
    // The game list is written anew first (all.bat written first when missing); when the
    // emulator cannot be asked now, the list there is read at once.
    connect(&listMaker_, &GameListMaker::made, this, &CompatibilitySearch::listMade,
            Qt::SingleShotConnection);
    if (listMaker_.start(checker_.dialect()))
        return;
    disconnect(&listMaker_, &GameListMaker::made, this, &CompatibilitySearch::listMade);
    listMade();
}

void CompatibilitySearch::listMade()
{
    emit gameListMade();
    // Without the game list there is no game to check the archive against.
    const std::optional<QStringList> lines = readGameLines(emulatorFolder_);
    if (!lines) {
        result_.diskFull = listMaker_.diskWasFull();
        finish(SearchEnd::NoGameList);
        return;
    }
    if (!listsRomCrcs(checker_.dialect())) {
        beginChecks(*lines, nullptr);
        return;
    }
    lines_ = *lines;
    crcList_.start(lines_);
    // A cancel while the game list was made: no minute-long run for nothing.
    if (cancelled_)
        crcList_.cancel();
}

void CompatibilitySearch::crcListDone(const CrcListResult& list)
{
    emit crcListEnded();
    if (list.end == CrcListEnd::Cancelled) {
        finish(SearchEnd::Cancelled);
        return;
    }
    // Without the whole list the search would go through every game, for hours, on a disk
    // where the checks cannot write either.
    if (list.end == CrcListEnd::Cut) {
        result_.diskFull = list.diskFull;
        finish(SearchEnd::CrcListCut);
        return;
    }
    beginChecks(std::exchange(lines_, {}), list.index);
}

void CompatibilitySearch::check(const QStringList& gameLines, std::shared_ptr<const CrcIndex> crcs)
{
    cancelled_ = false;
    result_ = {};
    beginChecks(gameLines, std::move(crcs));
}

void CompatibilitySearch::select(const QString& archive)
{
    selected_ = archive;
}

void CompatibilitySearch::cancel()
{
    cancelled_ = true;
    crcList_.cancel();
}

void CompatibilitySearch::beginChecks(const QStringList& gameLines,
                                      std::shared_ptr<const CrcIndex> crcs)
{
    lines_ = gameLines;
    line_ = 0;
    crcs_ = std::move(crcs);
    candidatesOf_.clear();
    candidates_.reset();
    // The checker serves other commands too: only its verdicts during the search are ours.
    connect(&checker_, &ArchiveChecker::checked, this, &CompatibilitySearch::checked);
    QMetaObject::invokeMethod(this, &CompatibilitySearch::next, Qt::QueuedConnection);
}

// Checks line after line until one needs the emulator; its verdict comes back in checked().
void CompatibilitySearch::next()
{
    while (line_ < lines_.size()) {
        const QString& line = lines_.at(line_);
        if (crcs_) {
            // The archive is read before the counter: only a candidate's check is counted.
            result_.archive = currentArchive();
            const std::optional<bool> candidate = isCandidate(line);
            if (!candidate) {
                finish(SearchEnd::Unreadable);
                return;
            }
            if (!*candidate) {
                ++line_;
                continue;
            }
        }
        emit counted(static_cast<int>(line_) + 1);
        if (!crcs_)
            result_.archive = currentArchive();
        result_.candidate = candidateArchiveName(line, checker_.dialect());
        if (!isPassableArchiveName(result_.candidate) || result_.archive.isEmpty()) {
            if (!carryOn(CheckOutcome::NotGood))
                return;
            continue;
        }
        const std::optional<CheckOutcome> outcome =
            checker_.CheckArchiveAsGame(result_.archive, result_.candidate, crcs_ != nullptr);
        if (!outcome)
            return;
        if (!carryOn(*outcome))
            return;
    }
    finish(SearchEnd::Exhausted);
}

QString CompatibilitySearch::currentArchive() const
{
    return selected_.isEmpty() ? result_.archive : selected_;
}

std::optional<bool> CompatibilitySearch::isCandidate(const QString& gameLine)
{
    if (result_.archive.isEmpty())
        return false;
    const QString path = checker_.romsFolder() + QLatin1Char('/') + result_.archive;
    if (result_.archive != candidatesOf_) {
        candidatesOf_ = result_.archive;
        candidates_.reset();
        if (const std::optional<QList<quint32>> files = zipFileCrcs(path))
            candidates_ = crcs_->setsHolding(*files);
    }
    if (!candidates_) {
        // An archive that is gone is no unreadable one: the check says what became of it.
        if (!FileExists(path)) {
            candidatesOf_.clear();
            return true;
        }
        return std::nullopt;
    }
    return candidates_->contains(gameLineName(gameLine, checker_.dialect()).toString());
}

void CompatibilitySearch::checked(CheckOutcome outcome)
{
    if (carryOn(outcome))
        next();
}

bool CompatibilitySearch::carryOn(CheckOutcome outcome)
{
    if (outcome == CheckOutcome::Good || outcome == CheckOutcome::GoodBeside) {
        result_.title = announcedTitle(lines_.at(line_), checker_.dialect());
        finish(outcome == CheckOutcome::Good ? SearchEnd::Found : SearchEnd::AlreadyThere);
        return false;
    }
    if (stopsSearch(outcome)) {
        result_.failure = outcome;
        finish(SearchEnd::Stopped);
        return false;
    }
    if (cancelled_) {
        finish(SearchEnd::Cancelled);
        return false;
    }
    ++line_;
    return true;
}

void CompatibilitySearch::finish(SearchEnd end)
{
    result_.end = end;
    lines_.clear();
    crcs_.reset();
    candidates_.reset();
    candidatesOf_.clear();
    disconnect(&checker_, &ArchiveChecker::checked, this, &CompatibilitySearch::checked);
    emit ended(result_);
}

ProgressFigures progressFigures(int counter, int entries)
{
    ProgressFigures figures;
    if (entries < 1) {
        // No titles: an empty bar with a range Qt can draw.
        figures.minimum = 0;
        figures.maximum = 1;
        figures.value = 0;
        return figures;
    }
    figures.maximum = entries;
    figures.value = std::clamp(counter, figures.minimum, figures.maximum);
    return figures;
}

} // namespace zefrin
