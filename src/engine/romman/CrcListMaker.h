#pragma once
// The CRC list (catalogue/GeneratedFiles.h) for a compatibility search: read when a whole one
// is there, otherwise asked of the emulator first ("-listcrc", about a minute for today's full
// list). A run record (services/RunRecord.h) is kept while the emulator writes it: a list cut
// short by a cancel, a kill or the emulator's own failure is never taken for a whole one. A
// note left by an earlier copy of the program means such a list, which is made again (once
// the emulator that was writing it has ended; the wait is shown, and a cancel ends it).

#include "CrcList.h"
#include "engine/services/EmulatorRunner.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace zefrin {

enum class CrcListEnd {
    Ready,       // `index` holds the list
    Unavailable, // the emulator gave no list: the search goes through every game
    Cancelled,   // the user cancelled while the emulator was making it
    Cut          // the emulator ended well but its list was cut short: removed, no search
};

struct CrcListResult {
    CrcListEnd end = CrcListEnd::Unavailable;
    std::shared_ptr<const CrcIndex> index;
    bool diskFull = false; // a Cut list met a full disk
};

// What the user is told of a Cut list.
QString crcListCutText(const QString& emulatorFolder, bool diskFull);

class CrcListMaker : public QObject {
    Q_OBJECT

public:
    CrcListMaker(EmulatorRunner& runner, const QString& emulatorFolder, const QString& recordPath);

    // `gameLines` (of lista.txt, heading dropped) measure the progress of a making: the
    // emulator lists the sets in about their order. `ended` follows, always after this call
    // has returned.
    void start(const QStringList& gameLines);
    // The user has cancelled: a making or a wait in progress ends at the next look, within a
    // tenth of a second, and one not begun yet is not begun.
    void cancel();

signals:
    // While the list is being made: the emulator has got to game line `reached`.
    void progressed(int reached);
    // While the maker waits for the emulator an earlier copy of the program left writing the
    // list (process `pid`), which has got to game line `reached` (0: not known).
    void earlierRunAwaited(qint64 pid, int reached);
    void ended(const CrcListResult& result);

private slots:
    void begin();
    void earlierRunEnded(const ShellResult& result);
    void runEnded(const ShellResult& result);
    void poll();
    void readList();

private:
    void make();
    // The game lines' numbers by set, for the progress of a making.
    void prepareProgress();
    void finish(CrcListEnd end, std::shared_ptr<const CrcIndex> index = nullptr,
                bool diskFull = false);
    // The number of the game line of the set the emulator has got to; 0 when not known.
    int reached() const;

    EmulatorRunner& runner_;
    QString emulatorFolder_;
    QString listPath_;
    QString recordPath_;
    QStringList gameLines_;
    QHash<QString, int> lineOfSet_;
    QTimer poll_;
    int shown_ = 0;
    bool made_ = false;
    bool cancelled_ = false;
    // The earlier copy's run being waited for; invalid when none is.
    ProcessIdentity awaited_;
    bool shownAwaited_ = false;
};

} // namespace zefrin
