#include "ProcessIdentity.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QUuid>

#if defined(Q_OS_UNIX) && !defined(Q_OS_LINUX)
#include <cerrno>
#include <signal.h>
#include <sys/types.h>
#endif

namespace zefrin {

namespace {

const QString pidKey = QStringLiteral("pid");
const QString startedKey = QStringLiteral("started");
const QString markKey = QStringLiteral("mark");

#ifdef Q_OS_LINUX
QByteArray readProcFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

// /proc/PID/stat: "PID (NAME) STATE PPID ...", field 22 the start in clock ticks since boot.
// The name may hold blanks and brackets: the fields are counted after its last ")".
ProcessIdentity linuxIdentity(qint64 pid)
{
    const QByteArray stat = readProcFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype nameEnd = stat.lastIndexOf(')');
    if (nameEnd < 0)
        return {};
    const QList<QByteArray> fields = stat.mid(nameEnd + 1).simplified().split(' ');
    constexpr int stateField = 0;  // field 3
    constexpr int startField = 19; // field 22
    if (fields.size() <= startField || fields.at(stateField) == "Z" || fields.at(stateField) == "X")
        return {};
    // Start ticks begin anew with every boot.
    static const QByteArray boot = readProcFile(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    return {pid, QString::fromLatin1(boot + '/' + fields.at(startField)), QString()};
}

// A process whose environment holds the run's mark: the script's shell or the emulator it
// started. A process that has ended but was not yet reaped shows an empty environment.
bool markedProcessRuns(const QString& mark)
{
    const QByteArray entry = runMarkVariable().toLatin1() + '=' + mark.toLatin1() + '\0';
    const QStringList entries =
        QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& process : entries) {
        if (process.toLongLong() <= 0)
            continue;
        QFile environment(QStringLiteral("/proc/") + process + QStringLiteral("/environ"));
        if (!environment.open(QIODevice::ReadOnly))
            continue;
        const QByteArray variables = environment.readAll();
        if (variables.startsWith(entry) || variables.contains('\0' + entry))
            return true;
    }
    return false;
}
#endif

} // namespace

QString runMarkVariable()
{
    return QStringLiteral("ZEFRIN_RUN");
}

QString newRunMark()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

ProcessIdentity processIdentity(qint64 pid)
{
    if (pid <= 0)
        return {};
#if defined(Q_OS_LINUX)
    return linuxIdentity(pid);
#elif defined(Q_OS_UNIX)
    // No start time to be had: the number alone.
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM)
        return {pid, QString(), QString()};
    return {};
#else
    return {};
#endif
}

ProcessIdentity ownProcessIdentity()
{
    return processIdentity(QCoreApplication::applicationPid());
}

bool isRunning(const ProcessIdentity& process)
{
    if (process.pid > 0) {
        const ProcessIdentity now = processIdentity(process.pid);
        if (now.pid == process.pid && now.started == process.started)
            return true;
    }
#ifdef Q_OS_LINUX
    return !process.mark.isEmpty() && markedProcessRuns(process.mark);
#else
    return false;
#endif
}

QJsonObject processToJson(const ProcessIdentity& process)
{
    QJsonObject note{{pidKey, QString::number(process.pid)}, {startedKey, process.started}};
    if (!process.mark.isEmpty())
        note.insert(markKey, process.mark);
    return note;
}

ProcessIdentity processFromJson(const QJsonObject& note)
{
    bool ok = false;
    const qint64 pid = note.value(pidKey).toString().toLongLong(&ok);
    const QString mark = note.value(markKey).toString();
    if ((!ok || pid <= 0) && mark.isEmpty())
        return {};
    return {ok && pid > 0 ? pid : 0, note.value(startedKey).toString(), mark};
}

} // namespace zefrin
