#include "CrcListMaker.h"

#include "engine/catalogue/GameList.h"
#include "engine/catalogue/GeneratedFiles.h"
#include "engine/catalogue/ListCheck.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/RunRecord.h"

#include <QFile>
#include <QFileInfo>

namespace zefrin {

namespace {

// How often the cancel is looked for and the progress shown while the emulator writes.
constexpr int pollMs = 100;
// The tail of the growing list in which its last whole line is looked for.
constexpr qint64 tailBytes = 4096;

} // namespace

CrcListMaker::CrcListMaker(EmulatorRunner& runner, const QString& emulatorFolder,
                           const QString& recordPath)
    : runner_(runner)
    , emulatorFolder_(emulatorFolder)
    , listPath_(emulatorPath(emulatorFolder, crcListFileName()))
    , recordPath_(recordPath)
{
    poll_.setInterval(pollMs);
    connect(&poll_, &QTimer::timeout, this, &CrcListMaker::poll);
}

void CrcListMaker::start(const QStringList& gameLines)
{
    gameLines_ = gameLines;
    made_ = false;
    cancelled_ = false;
    QMetaObject::invokeMethod(this, &CrcListMaker::begin, Qt::QueuedConnection);
}

void CrcListMaker::cancel()
{
    cancelled_ = true;
}

void CrcListMaker::begin()
{
    // Cancelled while the game list was made: no minute-long run for nothing.
    if (cancelled_) {
        finish(CrcListEnd::Cancelled);
        return;
    }
    const RecordReading reading = readRunRecordFor(recordPath_, emulatorFolder_);
    switch (reading.state) {
    case RecordState::Absent:
        if (FileExists(listPath_))
            readList();
        else
            make();
        return;
    case RecordState::Ours:
        // The list was cut short; the emulator that was writing it may still be.
        if (const ProcessIdentity run = recordedRun(reading.note); isRunning(run)) {
            if (!runner_.await(run, this, &CrcListMaker::earlierRunEnded)) {
                finish(CrcListEnd::Unavailable);
                return;
            }
            // It may take a minute, or hang: the user sees what is awaited and may cancel.
            awaited_ = run;
            prepareProgress();
            poll_.start();
            poll();
            return;
        }
        break;
    case RecordState::Replaced:
    case RecordState::Corrupt:
        // Not this folder's note, or none that can be read: kept aside, never applied. The
        // list is made anew all the same, which is all applying it would do.
        (void)setRunRecordAside(
            recordPath_,
            QStringLiteral("la lista de CRC (listacrc.txt) que M.A.M.E estaba escribiendo"),
            recordNotApplicableReason(reading, true, emulatorFolder_, false));
        break;
    }
    make();
}

void CrcListMaker::earlierRunEnded(const ShellResult&)
{
    poll_.stop();
    awaited_ = {};
    // A cancel while waiting ends here, before any run of this copy's own.
    if (cancelled_) {
        finish(CrcListEnd::Cancelled);
        return;
    }
    make();
}

void CrcListMaker::prepareProgress()
{
    if (lineOfSet_.isEmpty())
        for (int i = 0; i < gameLines_.size(); ++i)
            lineOfSet_.insert(gameLineName(gameLines_.at(i), Dialect::Today).toString(), i + 1);
    shown_ = 0;
}

void CrcListMaker::make()
{
    // Without the note a kill could leave a cut list that stood for whole: no list then.
    // It names the run before it starts: a program ended the moment after leaves a note of a
    // run that a next making waits for.
    if (!writeRunRecord(recordPath_, emulatorFolder_, withRun({}, runner_.nextRun()))) {
        finish(CrcListEnd::Unavailable);
        return;
    }
    CommandLine command =
        emulatorCommand(emulatorFolder_, listCrcArguments(), runner_.emulatorFor(emulatorFolder_));
    command.outputFile = listPath_;
    // The list is written anew, never through a link planted under its name.
    const bool planted = QFileInfo(listPath_).isSymLink();
    if ((planted && !QFile::remove(listPath_)) ||
        !runner_.start(command, this, &CrcListMaker::runEnded)) {
        (void)clearRunRecord(recordPath_);
        finish(CrcListEnd::Unavailable);
        return;
    }
    // The emulator may outlive the program: a next making waits for this run to end.
    (void)writeRunRecord(recordPath_, emulatorFolder_, withRun({}, runner_.runIdentity()));
    prepareProgress();
    poll_.start();
}

void CrcListMaker::poll()
{
    if (cancelled_) {
        poll_.stop();
        runner_.cancel();
        return;
    }
    if (awaited_.isValid()) {
        // Shown at once and as the earlier run gets on.
        if (const int line = reached(); line > shown_ || !shownAwaited_) {
            shown_ = line;
            shownAwaited_ = true;
            emit earlierRunAwaited(awaited_.pid, line);
        }
        return;
    }
    if (const int line = reached(); line > shown_) {
        shown_ = line;
        emit progressed(line);
    }
}

int CrcListMaker::reached() const
{
    QFile list(listPath_);
    if (!list.open(QIODevice::ReadOnly))
        return 0;
    const qint64 size = list.size();
    if (size <= 0 || !list.seek(std::max<qint64>(0, size - tailBytes)))
        return 0;
    const QByteArray tail = list.read(tailBytes);
    const qsizetype end = tail.lastIndexOf('\n');
    if (end < 0)
        return 0;
    const qsizetype begin = tail.lastIndexOf('\n', end - 1) + 1;
    const std::optional<QByteArrayView> set =
        crcLineSet(QByteArrayView(tail).sliced(begin, end - begin));
    return set ? lineOfSet_.value(QString::fromLatin1(*set), 0) : 0;
}

void CrcListMaker::runEnded(const ShellResult& result)
{
    poll_.stop();
    const bool succeeded = result.started && !result.crashed && result.exitCode == 0;
    const bool written = succeeded && QFileInfo(listPath_).size() > 0;
    // The emulator ends with success even when a full disk cut its list short, or let it
    // write nothing at all.
    const bool whole = written && crcListIsWhole(listPath_) && !diskIsFull(listPath_);
    const bool diskFull = succeeded && !whole && diskIsFull(listPath_);
    const bool cut = (written && !whole) || diskFull;
    if (!whole)
        (void)removeIfExists(listPath_);
    (void)clearRunRecord(recordPath_);
    if (cancelled_) {
        finish(CrcListEnd::Cancelled);
        return;
    }
    made_ = true;
    if (whole)
        readList();
    else
        finish(cut ? CrcListEnd::Cut : CrcListEnd::Unavailable, nullptr, diskFull);
}

void CrcListMaker::readList()
{
    // A list kept from before may have been cut short by a full disk: it is made anew.
    std::optional<CrcIndex> index =
        made_ || crcListIsWhole(listPath_) ? readCrcList(listPath_) : std::nullopt;
    if (index && !index->isEmpty()) {
        finish(CrcListEnd::Ready, std::make_shared<const CrcIndex>(std::move(*index)));
        return;
    }
    // A list that gives nothing is asked for once more; then the search goes without.
    if (made_)
        finish(CrcListEnd::Unavailable);
    else
        make();
}

void CrcListMaker::finish(CrcListEnd end, std::shared_ptr<const CrcIndex> index, bool diskFull)
{
    poll_.stop();
    awaited_ = {};
    shownAwaited_ = false;
    gameLines_.clear();
    lineOfSet_.clear();
    emit ended({end, std::move(index), diskFull});
}

QString crcListCutText(const QString& emulatorFolder, bool diskFull)
{
    const QString what = QStringLiteral("la lista de CRC (listacrc.txt)");
    if (diskFull)
        return listDiskFullText(what, emulatorFolder);
    return QStringLiteral("No se ha podido crear %1 en la carpeta %2: M.A.M.E la ha dejado "
                          "incompleta y se ha borrado. Vuelve a intentar la búsqueda.")
        .arg(what, emulatorFolder);
}

} // namespace zefrin
