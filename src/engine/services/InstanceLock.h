#pragma once
// Tells whether another copy of the program runs for this user: the copies that share the run
// records share the lock. A lock left behind by a copy that crashed is taken over, so it never
// blocks the next start.

#include <QLockFile>
#include <QString>

namespace zefrin {

class InstanceLock {
public:
    explicit InstanceLock(const QString& lockPath = defaultLockPath());

    // True when this copy now holds the lock; false when another live copy holds it.
    bool tryAcquire();

    static QString defaultLockPath();

private:
    QLockFile lock_;
};

} // namespace zefrin
