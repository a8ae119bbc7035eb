#include "EmulatorRunner.h"

#include "EmulatorCommands.h"

#include <QDir>

#ifdef Q_OS_UNIX
#include <csignal>

#include <unistd.h>
#endif

namespace zefrin {

namespace {

#ifdef Q_OS_UNIX
void startOwnProcessGroup()
{
    ::setpgid(0, 0);
}
#endif

constexpr int awaitPollMs = 250;

} // namespace

EmulatorRunner::EmulatorRunner(QObject* parent)
    : QObject(parent)
{
    process_.setStandardInputFile(QProcess::nullDevice());
    // Hidden: nothing the child prints reaches a terminal; the scripts redirect what matters.
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(QProcess::nullDevice());
    connect(&process_, &QProcess::finished, this, &EmulatorRunner::processFinished);
    connect(&process_, &QProcess::errorOccurred, this, &EmulatorRunner::processFailed);
#ifdef Q_OS_UNIX
    // A group of its own: the script's shell and the emulator it starts can then be ended
    // together.
    process_.setChildProcessModifier(startOwnProcessGroup);
#endif
    timeLimit_.setSingleShot(true);
    connect(&timeLimit_, &QTimer::timeout, this, &EmulatorRunner::timeUp);
    awaitTimer_.setInterval(awaitPollMs);
    connect(&awaitTimer_, &QTimer::timeout, this, &EmulatorRunner::checkAwaited);
}

EmulatorRunner::~EmulatorRunner()
{
    // Only a program torn down in the middle of a run gets here with one: the emulator is
    // not left behind without anyone to read its answers.
    disconnect(&process_, nullptr, this, nullptr);
    if (process_.state() != QProcess::NotRunning) {
        endProcessGroup();
        process_.waitForFinished(-1);
    }
}

bool EmulatorRunner::begin(const CommandLine& command)
{
    if (busy_)
        return false;
    busy_ = true;
    ending_ = false;
    result_ = {};
    mark_ = nextMark_.isEmpty() ? newRunMark() : nextMark_;
    nextMark_.clear();
    if (!command.error.isEmpty()) {
        end({false, command.error, -1, false});
        return true;
    }
    process_.setProgram(command.program);
    process_.setArguments(command.arguments);
    process_.setWorkingDirectory(command.workingFolder);
    QProcessEnvironment environment = childEnvironment(command.pathFirst);
    environment.insert(runMarkVariable(), mark_);
    process_.setProcessEnvironment(environment);
    process_.setStandardOutputFile(command.outputFile.isEmpty() ? QProcess::nullDevice()
                                                                : command.outputFile);
    if (command.timeLimitMs > 0)
        timeLimit_.start(command.timeLimitMs);
    process_.start();
    emit runStarted();
    return true;
}

bool EmulatorRunner::beginAwaiting(const ProcessIdentity& run)
{
    if (busy_)
        return false;
    busy_ = true;
    ending_ = false;
    result_ = {};
    awaited_ = run;
    awaitTimer_.start();
    checkAwaited();
    return true;
}

void EmulatorRunner::checkAwaited()
{
    if (isRunning(awaited_))
        return;
    awaitTimer_.stop();
    awaited_ = {};
    end({true, QString(), -1, false});
}

ProcessIdentity EmulatorRunner::runIdentity() const
{
    if (process_.state() == QProcess::NotRunning)
        return {};
    ProcessIdentity run = processIdentity(process_.processId());
    run.mark = mark_;
    return run;
}

ProcessIdentity EmulatorRunner::nextRun()
{
    if (nextMark_.isEmpty())
        nextMark_ = newRunMark();
    return {0, QString(), nextMark_};
}

QString EmulatorRunner::emulatorFor(const QString& emulatorFolder) const
{
    return emulator_.isEmpty() ? emulatorPath(emulatorFolder, emulatorExecutableName()) : emulator_;
}

void EmulatorRunner::processFinished(int exitCode, QProcess::ExitStatus status)
{
    end({true, QString(), exitCode, status == QProcess::CrashExit});
}

void EmulatorRunner::processFailed(QProcess::ProcessError error)
{
    // Every other error ends in `finished` as well.
    if (error == QProcess::FailedToStart)
        end({false, process_.errorString(), -1, false});
}

void EmulatorRunner::cancel()
{
    if (process_.state() != QProcess::NotRunning)
        endProcessGroup();
    // An earlier copy's run is not this copy's to end: only the wait for it is given up.
    if (awaitTimer_.isActive()) {
        awaitTimer_.stop();
        awaited_ = {};
        end({true, QString(), -1, true});
    }
}

void EmulatorRunner::timeUp()
{
    // Ends in `finished`, as crashed.
    endProcessGroup();
}

void EmulatorRunner::endProcessGroup()
{
#ifdef Q_OS_UNIX
    if (const qint64 pid = process_.processId(); pid > 0)
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
#endif
    process_.kill();
}

void EmulatorRunner::end(const ShellResult& result)
{
    if (!busy_ || ending_)
        return;
    timeLimit_.stop();
    ending_ = true;
    result_ = result;
    // Told from the event loop, never from inside start() or the process's own signal: the
    // one told may start the next run at once.
    QMetaObject::invokeMethod(this, &EmulatorRunner::deliver, Qt::QueuedConnection);
}

void EmulatorRunner::deliver()
{
    busy_ = false;
    ending_ = false;
    emit finished(result_);
}

QProcessEnvironment childEnvironment(const QStringList& pathFirst)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (pathFirst.isEmpty())
        return env;
    QStringList path = pathFirst;
    const QString inherited = env.value(QStringLiteral("PATH"));
    if (!inherited.isEmpty())
        path << inherited;
    env.insert(QStringLiteral("PATH"), path.join(QDir::listSeparator()));
    return env;
}

} // namespace zefrin
