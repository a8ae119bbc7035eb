#pragma once
// Made-up emulator folders for the benchmarks: a game list in the emulator's layout and a roms
// folder of empty archives, most of them known to the list.

#include "engine/services/Dialect.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace zefrin::bench {

class SyntheticFolder {
public:
    // `games` lines in lista.txt, in the dialect's layout; `archives` files in roms,
    // `knownShare` of them listed games.
    SyntheticFolder(int games, int archives, double knownShare, Dialect dialect);

    bool isValid() const { return valid_; }
    QString path() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
    bool valid_ = false;
};

// The short name of game `index`: up to 8 letters and digits, unique per index.
QString syntheticShortName(int index);

} // namespace zefrin::bench
