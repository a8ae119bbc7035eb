#include "InstanceLock.h"

#include "ProcessIdentity.h"
#include "RunRecord.h"
#include "SystemServices.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QSysInfo>

namespace zefrin {

namespace {

// Why a lock file cannot be made in its folder, in the user's words.
QString lockFailureReason(const QString& lockPath)
{
    const QFileInfo folder(QFileInfo(lockPath).absolutePath());
    if (folder.exists() && !folder.isDir())
        return QStringLiteral("en su lugar hay un archivo con ese nombre");
    if (!folder.isDir())
        return QStringLiteral("la carpeta no existe y no se puede crear");
    if (QStorageInfo(folder.absoluteFilePath()).isReadOnly())
        return QStringLiteral("la carpeta es de sólo lectura");
    if (diskIsFull(lockPath))
        return QStringLiteral("el disco está lleno");
    if (!folder.isWritable())
        return QStringLiteral("no tienes permiso para escribir en ella");
    return QStringLiteral("el sistema no lo ha permitido");
}

// The lock names a process of this host that no longer runs: a copy that ended by force,
// whose lock could not be taken over (a read-only folder keeps it). No copy holds it.
bool heldByNoCopy(const QLockFile& lock)
{
    qint64 pid = 0;
    QString host;
    QString application;
    return lock.getLockInfo(&pid, &host, &application) && host == QSysInfo::machineHostName() &&
           !processIdentity(pid).isValid();
}

} // namespace

InstanceLock::InstanceLock(const QString& lockPath)
    : lockPath_(lockPath)
    , lock_(lockPath)
{
    // Age alone never makes a lock stale: only a holder that no longer runs does.
    lock_.setStaleLockTime(0);
}

bool InstanceLock::tryAcquire()
{
    failure_.clear();
    if (lock_.isLocked() || lock_.tryLock(0))
        return true;
    if (lock_.error() != QLockFile::LockFailedError || heldByNoCopy(lock_))
        failure_ = lockFailureReason(lockPath_);
    return false;
}

QString InstanceLock::failureTitle() const
{
    return QStringLiteral("Zefrin! no puede abrirse.");
}

QString InstanceLock::failureText() const
{
    return QStringLiteral("Zefrin! no puede crear su archivo de bloqueo (%1) en la carpeta %2: "
                          "%3. Con ese archivo evita abrirse dos veces, y en esa carpeta guarda "
                          "las notas con las que deshace lo que quede a medias si se cierra de "
                          "golpe. Libera espacio en el disco o corrige la carpeta, y vuelve a "
                          "abrir Zefrin!.")
        .arg(QFileInfo(lockPath_).fileName(),
             QDir::toNativeSeparators(QFileInfo(lockPath_).absolutePath()), failure_);
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
