#include "ScratchFolder.h"

#include <QDir>
#include <QFileInfo>

namespace zefrin {

namespace {

// The system's temporary folder, or /tmp when TMPDIR names one that is not there.
QString temporaryFolder()
{
    const QString configured = QDir::tempPath();
    return QFileInfo::exists(configured) ? configured : QDir::rootPath() + QStringLiteral("tmp");
}

} // namespace

ScratchFolder::ScratchFolder()
    : folder_(temporaryFolder() + QStringLiteral("/zefrin-XXXXXX"))
{
}

bool ScratchFolder::isValid() const
{
    return folder_.isValid();
}

QString ScratchFolder::path() const
{
    return folder_.path();
}

QString ScratchFolder::filePath(const QString& name) const
{
    return folder_.filePath(name);
}

QString ScratchFolder::playScriptPath() const
{
    return filePath(QStringLiteral("mame.bat"));
}

QString ScratchFolder::logPath() const
{
    return filePath(QStringLiteral("log.txt"));
}

} // namespace zefrin
