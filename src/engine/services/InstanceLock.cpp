#include "InstanceLock.h"

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
    // The per-user runtime folder: a lock in the shared temporary folder could be planted
    // by another user to keep this one from starting.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/zefrin.lock");
}

} // namespace zefrin
