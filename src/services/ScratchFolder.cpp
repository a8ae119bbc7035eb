#include "ScratchFolder.h"

#include <QDir>

namespace zefrin {

ScratchFolder::ScratchFolder()
    : folder_(QDir::tempPath() + QStringLiteral("/zefrin-XXXXXX"))
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
