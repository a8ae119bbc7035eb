#include "InstanceLock.h"

#include "RunRecord.h"

#include <QDir>
#include <QStandardPaths>

namespace zefrin {

InstanceLock::InstanceLock(const QString& lockPath)
    : lock_(lockPath)
{
    // Age alone never makes a lock stale: only a holder that no longer runs does.
    lock_.setStaleLockTime(0);
}

bool InstanceLock::tryAcquire()
{
    return lock_.isLocked() || lock_.tryLock(0);
}

QString InstanceLock::defaultLockPath()
{
    // Beside the run records, in the user's own data folder: every copy that would read or
    // write those notes finds the same lock, whatever runtime or temporary folder its
    // environment names; and a lock in a shared folder could be planted by another user to
    // keep this one from starting. Only where that folder cannot be made does the runtime
    // folder stand in.
    QString folder = RunRecords::defaultFolder();
    if (!QDir().mkpath(folder))
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/zefrin.lock");
}

} // namespace zefrin
