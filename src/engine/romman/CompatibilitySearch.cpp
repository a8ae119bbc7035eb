#include "CompatibilitySearch.h"

#include "ZipCrcs.h"
#include "engine/catalogue/GameList.h"
#include "engine/catalogue/RomFolder.h"
#include "engine/services/SystemServices.h"

#include <algorithm>

namespace zefrin {

CompatibilitySearch::CompatibilitySearch(ArchiveChecker& checker, SearchView& view)
    : checker_(checker)
    , view_(view)
{
}

void CompatibilitySearch::start(const QStringList& gameLines, std::shared_ptr<const CrcIndex> crcs)
{
    lines_ = gameLines;
    line_ = 0;
    result_ = {};
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
        view_.showCounter(static_cast<int>(line_) + 1);
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
    const QString selected = view_.selectedArchive();
    return selected.isEmpty() ? result_.archive : selected;
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
    if (!view_.searchRunning()) {
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
