#include "GameListMaker.h"

#include "GeneratedFiles.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/RunRecord.h"

namespace zefrin {

GameListMaker::GameListMaker(EmulatorRunner& runner, const QString& emulatorFolder,
                             const QString& recordPath)
    : runner_(runner)
    , emulatorFolder_(emulatorFolder)
    , recordPath_(recordPath)
{
}

bool GameListMaker::start()
{
    if (runner_.isBusy())
        return false;
    // The list is made whatever these give: a script that cannot be written or an emulator
    // that does not start just leave no list, which the caller sees.
    (void)ensureGameListScript(emulatorFolder_);
    (void)writeRunRecord(recordPath_, emulatorFolder_, {});
    if (!runner_.start(
            scriptCommand(emulatorFolder_, emulatorPath(emulatorFolder_, gameListScriptName())),
            this, &GameListMaker::runEnded))
        return false;
    // The emulator may outlive the program: a next start waits for this run to end.
    (void)writeRunRecord(recordPath_, emulatorFolder_, withRun({}, runner_.runIdentity()));
    return true;
}

void GameListMaker::runEnded(const ShellResult&)
{
    (void)clearRunRecord(recordPath_);
    emit made();
}

} // namespace zefrin
