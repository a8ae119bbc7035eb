#include "CompatibilitySearch.h"

#include "GameLines.h"
#include "catalogue/RomFolder.h"

namespace zefrin {

SearchResult searchCompatibleGame(const ArchiveChecker& checker, const QStringList& gameLines,
                                  SearchView& view)
{
    SearchResult result;
    int counter = 1;
    for (const QString& line : gameLines) {
        view.showCounter(counter);
        if (const QString selected = view.selectedArchive(); !selected.isEmpty())
            result.archive = selected;
        result.candidate = candidateArchiveName(line);
        if (isPassableArchiveName(result.candidate) && !result.archive.isEmpty()) {
            const CheckOutcome outcome =
                checker.CheckArchiveAsGame(result.archive, result.candidate);
            if (outcome == CheckOutcome::Good) {
                result.end = SearchEnd::Found;
                result.title = gameLineTitle(line);
                return result;
            }
            if (stopsSearch(outcome)) {
                result.end = SearchEnd::Stopped;
                result.failure = outcome;
                return result;
            }
        }
        if (!view.searchRunning()) {
            result.end = SearchEnd::Cancelled;
            return result;
        }
        ++counter;
    }
    result.end = SearchEnd::Exhausted;
    return result;
}

} // namespace zefrin
