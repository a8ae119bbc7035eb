#pragma once
// Has the emulator write lista.txt through the game-list script (all.bat, written first when
// it is missing). A run record (services/RunRecord.h) is kept while the emulator writes: a
// list cut short by the program's end is never taken for a whole one.

#include "engine/services/EmulatorRunner.h"

#include <QObject>
#include <QString>

namespace zefrin {

class GameListMaker : public QObject {
    Q_OBJECT

public:
    GameListMaker(EmulatorRunner& runner, const QString& emulatorFolder, const QString& recordPath);

    // Starts the emulator; `made` follows once it has ended, whatever it did. False, with
    // nothing started, while another run is in progress.
    bool start();

signals:
    void made();

private slots:
    void runEnded(const ShellResult& result);

private:
    EmulatorRunner& runner_;
    QString emulatorFolder_;
    QString recordPath_;
};

} // namespace zefrin
