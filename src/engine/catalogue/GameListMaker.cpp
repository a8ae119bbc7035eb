#include "GameListMaker.h"

#include "GeneratedFiles.h"
#include "ListCheck.h"
#include "ListOrigin.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/RunRecord.h"
#include "engine/services/SystemServices.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace zefrin {

namespace {

std::optional<QByteArray> fileDigest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!hash.addData(&file))
        return std::nullopt;
    return hash.result();
}

} // namespace

GameListMaker::GameListMaker(EmulatorRunner& runner, const QString& emulatorFolder,
                             const QString& recordPath)
    : runner_(runner)
    , emulatorFolder_(emulatorFolder)
    , recordPath_(recordPath)
{
}

bool GameListMaker::start(Dialect dialect)
{
    if (runner_.isBusy())
        return false;
    dialect_ = dialect;
    diskFull_ = false;
    // The list is made whatever these give: a script that cannot be written or an emulator
    // that does not start just leave no list, which the caller sees.
    (void)ensureGameListScript(emulatorFolder_);
    const QString list = emulatorPath(emulatorFolder_, gameListFileName());
    // The list is written anew, never through a link planted under its name.
    if (QFileInfo(list).isSymLink() && !QFile::remove(list))
        return false;
    previousList_ = fileDigest(list);
    maker_ = emulatorIdentity(runner_.emulatorFor(emulatorFolder_));
    // Named before it starts: a program ended the moment after leaves a note of a run that a
    // next start waits for.
    (void)writeRunRecord(recordPath_, emulatorFolder_, withRun({}, runner_.nextRun()));
    if (!runner_.start(scriptCommand(emulatorFolder_,
                                     emulatorPath(emulatorFolder_, gameListScriptName()),
                                     runner_.emulatorFor(emulatorFolder_)),
                       this, &GameListMaker::runEnded))
        return false;
    // The emulator may outlive the program: a next start waits for this run to end.
    (void)writeRunRecord(recordPath_, emulatorFolder_, withRun({}, runner_.runIdentity()));
    return true;
}

void GameListMaker::runEnded(const ShellResult& result)
{
    // The redirection creates the list before the emulator starts: an emulator that could
    // not run (the shell says so with 126 or 127), or that died, leaves an empty or partial
    // list, which would stand for good. A list the emulator did not write, or not whole, is
    // not kept.
    const QString list = emulatorPath(emulatorFolder_, gameListFileName());
    const bool written = result.started && !result.crashed && result.exitCode < 126 &&
                         gameListIsWhole(list, dialect_) && !diskIsFull(list);
    if (!written) {
        diskFull_ = diskIsFull(list);
        (void)removeIfExists(list);
    }
    if (!written || !previousList_ || fileDigest(list) != previousList_)
        (void)removeIfExists(emulatorPath(emulatorFolder_, crcListFileName()));
    // Without the note a next start takes the list for its emulator's, as it always did. The
    // emulator as it was started: one replaced since (an upgrade during the run) has the list
    // made again at the next start.
    if (written)
        (void)noteListOrigin(listOriginPath(recordPath_), emulatorFolder_, maker_);
    else
        forgetListOrigin(listOriginPath(recordPath_));
    (void)clearRunRecord(recordPath_);
    emit made();
}

} // namespace zefrin
