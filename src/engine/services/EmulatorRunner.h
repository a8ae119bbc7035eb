#pragma once
// The one owner of every emulator run the program makes: the game list, a game, a check, a
// report. One run at a time: while one is in progress the runner is busy, and the windows
// refuse every command that would start another or touch the files a run uses. A run is
// asked for with the object and member to tell when it ends; nothing waits for it.

#include "ProcessIdentity.h"
#include "SystemServices.h"

#include <QObject>
#include <QProcess>
#include <QTimer>

namespace zefrin {

class EmulatorRunner : public QObject {
    Q_OBJECT

public:
    explicit EmulatorRunner(QObject* parent = nullptr);
    ~EmulatorRunner() override;

    // A run is in progress: from its start until the member that was to be told has been.
    bool isBusy() const { return busy_; }

    // Starts `command` and tells `receiver` through `ended` once it has ended, or could not
    // start (ShellResult::started false), always after this call has returned. False, with
    // nothing started and nobody to be told, while another run is in progress.
    template <typename Receiver>
    bool start(const CommandLine& command, Receiver* receiver,
               void (Receiver::*ended)(const ShellResult&))
    {
        if (!begin(command))
            return false;
        connect(this, &EmulatorRunner::finished, receiver, ended, Qt::SingleShotConnection);
        return true;
    }

    // A run an earlier copy of the program started and did not live to see end: the runner
    // is busy until that process has ended, and then tells `receiver` through `ended` (with
    // a result that started and says nothing more). False, with nobody to be told, while
    // another run is in progress.
    template <typename Receiver>
    bool await(const ProcessIdentity& run, Receiver* receiver,
               void (Receiver::*ended)(const ShellResult&))
    {
        if (!beginAwaiting(run))
            return false;
        connect(this, &EmulatorRunner::finished, receiver, ended, Qt::SingleShotConnection);
        return true;
    }

    // Ends the run in progress and every process it started (the user gave up on it): the one
    // to be told hears of it as of a crash. An awaited run is left alone, only the wait for it
    // ends, heard of the same way. Nothing while no run is in progress.
    void cancel();

    // The process of the run in progress, once it has started, with the run's mark; invalid
    // otherwise.
    ProcessIdentity runIdentity() const;
    // The run the next start() makes, by its mark alone, before it is made: a note written
    // before the start names it, so that no moment passes in which the run goes unnamed.
    ProcessIdentity nextRun();

    // The emulator every run starts, decided once at start (services/EmulatorPlace.h).
    void useEmulator(const QString& program) { emulator_ = program; }
    // That emulator; a folder's own `mame` while none has been decided.
    QString emulatorFor(const QString& emulatorFolder) const;

signals:
    void finished(const ShellResult& result);
    // Told at once, inside start(), the moment the run's process has been started: nothing
    // that follows the start has happened yet (kill drills end the program here).
    void runStarted();

private slots:
    void processFinished(int exitCode, QProcess::ExitStatus status);
    void processFailed(QProcess::ProcessError error);
    void deliver();
    void timeUp();
    void checkAwaited();

private:
    bool begin(const CommandLine& command);
    bool beginAwaiting(const ProcessIdentity& run);
    void end(const ShellResult& result);
    // Ends the run's process and every process it started.
    void endProcessGroup();

    QProcess process_;
    QTimer timeLimit_;
    bool busy_ = false;
    bool ending_ = false;
    ShellResult result_;
    // The earlier copy's run being awaited, looked at a few times a second: it is no child of
    // this process, so nothing tells when it ends.
    ProcessIdentity awaited_;
    QTimer awaitTimer_;
    QString emulator_;
    QString nextMark_;
    QString mark_; // of the run in progress
};

// The environment of a child: PATH with `pathFirst` in front.
QProcessEnvironment childEnvironment(const QStringList& pathFirst);

} // namespace zefrin
