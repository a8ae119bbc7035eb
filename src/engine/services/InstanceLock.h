#pragma once
// Tells whether another copy of the program runs for this user: the copies that share the run
// records share the lock. A lock left behind by a copy that crashed is taken over, so it never
// blocks the next start. A lock that cannot be made at all (its folder is full or read-only)
// is told apart from one another copy holds.

#include <QLockFile>
#include <QString>

namespace zefrin {

class InstanceLock {
public:
    explicit InstanceLock(const QString& lockPath = defaultLockPath());

    // True when this copy now holds the lock; false when another live copy holds it, or when
    // it could not be made (failed()).
    bool tryAcquire();
    // The last tryAcquire could not make the lock: no other copy holds it.
    bool failed() const { return !failure_.isEmpty(); }

    // What the user reads when the lock could not be made: the folder and why.
    QString failureTitle() const;
    QString failureText() const;

    static QString defaultLockPath();

private:
    QString lockPath_;
    QLockFile lock_;
    QString failure_; // why the lock could not be made; empty when it could
};

} // namespace zefrin
