#pragma once
// Has the emulator write lista.txt through the game-list script (all.bat, written first when
// it is missing). A run record (services/RunRecord.h) is kept while the emulator writes: a
// list cut short by the program's end is never taken for a whole one. The CRC list beside it
// (GeneratedFiles.h) belongs to the list it was made with: a list that comes out different
// from the one before, or not at all, takes it away. A list the emulator cut short (a full disk
// lets it end with success all the same) is not kept either (ListCheck.h). The emulator that
// made a list is noted (ListOrigin.h).

#include "engine/services/Dialect.h"
#include "engine/services/EmulatorRunner.h"

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>

#include <optional>

namespace zefrin {

class GameListMaker : public QObject {
    Q_OBJECT

public:
    GameListMaker(EmulatorRunner& runner, const QString& emulatorFolder, const QString& recordPath);

    // Starts the emulator; `made` follows once it has ended, whatever it did. The list is
    // checked in `dialect`. False, with nothing started, while another run is in progress.
    bool start(Dialect dialect);

    // The last list made was cut short by a full disk, and removed.
    bool diskWasFull() const { return diskFull_; }

signals:
    void made();

private slots:
    void runEnded(const ShellResult& result);

private:
    EmulatorRunner& runner_;
    QString emulatorFolder_;
    QString recordPath_;
    // The digest of the list before this run; nothing when there was none.
    std::optional<QByteArray> previousList_;
    // The emulator as it was when this run started.
    QJsonObject maker_;
    Dialect dialect_ = Dialect::Classic;
    bool diskFull_ = false;
};

} // namespace zefrin
