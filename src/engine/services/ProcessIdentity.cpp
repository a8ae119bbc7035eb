#include "ProcessIdentity.h"

#include <QCoreApplication>
#include <QFile>

#if defined(Q_OS_UNIX) && !defined(Q_OS_LINUX)
#include <cerrno>
#include <signal.h>
#include <sys/types.h>
#endif

namespace zefrin {

namespace {

const QString pidKey = QStringLiteral("pid");
const QString startedKey = QStringLiteral("started");

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
    return {pid, QString::fromLatin1(boot + '/' + fields.at(startField))};
}
#endif

} // namespace

ProcessIdentity processIdentity(qint64 pid)
{
    if (pid <= 0)
        return {};
#if defined(Q_OS_LINUX)
    return linuxIdentity(pid);
#elif defined(Q_OS_UNIX)
    // No start time to be had: the number alone.
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM)
        return {pid, QString()};
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
    return process.isValid() && processIdentity(process.pid) == process;
}

QJsonObject processToJson(const ProcessIdentity& process)
{
    return {{pidKey, QString::number(process.pid)}, {startedKey, process.started}};
}

ProcessIdentity processFromJson(const QJsonObject& note)
{
    bool ok = false;
    const qint64 pid = note.value(pidKey).toString().toLongLong(&ok);
    if (!ok || pid <= 0)
        return {};
    return {pid, note.value(startedKey).toString()};
}

} // namespace zefrin
