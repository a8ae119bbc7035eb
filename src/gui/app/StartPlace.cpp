#include "StartPlace.h"

#include "gui/widgets/Seams.h"

#include <QDir>
#include <QFileInfo>

namespace zefrin {

namespace {

// Today's packaged emulator looks for ROMs in ~/mame/roms: the chooser opens there when the
// user has that folder.
QString chooserStart()
{
    const QString usual = QDir::homePath() + QStringLiteral("/mame");
    return QFileInfo(usual).isDir() ? usual : QDir::homePath();
}

void sayProblem(Dialogs& dialogs, FolderProblem problem, const QString& folder)
{
    dialogs.message(nullptr, Dialogs::Icon::Critical, folderProblemTitle(),
                    folderProblemText(problem, folder));
}

// The chooser, again after each folder that cannot be used; empty when cancelled.
QString askFolder(Dialogs& dialogs)
{
    for (;;) {
        const QString chosen = dialogs.chooseFolder(
            nullptr, QStringLiteral("Elige la carpeta del M.A.M.E (la que tiene la carpeta roms)"),
            chooserStart());
        if (chosen.isEmpty())
            return chosen;
        const FolderProblem problem = folderProblem(chosen);
        if (problem == FolderProblem::None)
            return QDir::cleanPath(chosen);
        sayProblem(dialogs, problem, chosen);
    }
}

} // namespace

std::optional<EmulatorPlace> startPlace(const QStringList& arguments, const QString& programFolder,
                                        QSettings& settings, Dialogs& dialogs,
                                        const QStringList& systemFolders)
{
    FolderDecision decision =
        decideEmulatorFolder(arguments, programFolder, settings, systemFolders);
    if (decision.problem != FolderProblem::None) {
        sayProblem(dialogs, decision.problem, decision.folder);
        return std::nullopt;
    }
    if (decision.source == FolderSource::Ask)
        decision.folder = askFolder(dialogs);
    if (decision.folder.isEmpty())
        return std::nullopt;
    const EmulatorPlace place = placeFor(decision.folder, decision.source, systemFolders);
    rememberEmulatorFolder(settings, place, decision.source);
    return place;
}

} // namespace zefrin
