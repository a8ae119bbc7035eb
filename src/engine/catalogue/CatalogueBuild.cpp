#include "CatalogueBuild.h"

#include "GeneratedFiles.h"
#include "engine/input/KeyNameTable.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/SystemServices.h"

namespace zefrin {

CatalogueBuild::CatalogueBuild(EmulatorRunner& runner, GameCatalogue& rows,
                               const QString& emulatorFolder, const QString& listRecordPath)
    : rows_(rows)
    , emulatorFolder_(emulatorFolder)
    , maker_(runner, emulatorFolder, listRecordPath)
{
    connect(&maker_, &GameListMaker::made, this, &CatalogueBuild::listMade);
}

void CatalogueBuild::start(Dialect dialect)
{
    dialect_ = dialect;
    rows_.clear();
    // The build goes on whatever these give: a table or script that cannot be written just
    // leaves less to show.
    if (!FileExists(keyNameTablePath(emulatorFolder_)))
        (void)CrearTablaTeclas(emulatorFolder_);
    (void)ensureGameListScript(emulatorFolder_);
    if (!FileExists(emulatorPath(emulatorFolder_, gameListFileName())) && maker_.start(dialect)) {
        emit listBeingMade();
        return; // listMade() goes on
    }
    readRows();
}

void CatalogueBuild::listMade()
{
    if (!FileExists(emulatorPath(emulatorFolder_, gameListFileName())))
        emit listNotMade(maker_.diskWasFull());
    readRows();
}

void CatalogueBuild::readRows()
{
    emit listReady();
    rows_.load(emulatorFolder_, dialect_);
    emit built();
}

} // namespace zefrin
