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

} // namespace

std::optional<EmulatorPlace> startPlace(const QStringList& arguments, const QString& programFolder,
                                        QSettings& settings, Dialogs& dialogs)
{
    FolderDecision decision = decideEmulatorFolder(arguments, programFolder, settings);
    if (decision.source == FolderSource::Ask) {
        decision.folder = dialogs.chooseFolder(
            nullptr, QStringLiteral("Elige la carpeta del M.A.M.E (la que tiene la carpeta roms)"),
            chooserStart());
        if (decision.folder.isEmpty())
            return std::nullopt;
        decision.problem = folderProblem(decision.folder);
    }
    if (decision.problem != FolderProblem::None) {
        dialogs.message(nullptr, Dialogs::Icon::Critical, folderProblemTitle(),
                        folderProblemText(decision.problem, decision.folder));
        return std::nullopt;
    }
    const EmulatorPlace place = placeFor(QDir::cleanPath(decision.folder), decision.source);
    rememberEmulatorFolder(settings, place, decision.source);
    return place;
}

} // namespace zefrin
