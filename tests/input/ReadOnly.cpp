#include "ReadOnly.h"

#include <QProcess>

namespace zefrin::test {

namespace {

bool chattr(const QString& flag, const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("chattr"), {flag, path});
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

ReadOnly::ReadOnly(const QString& path)
    : path_(path)
    , locked_(chattr(QStringLiteral("+i"), path))
{
}

ReadOnly::~ReadOnly()
{
    if (locked_)
        chattr(QStringLiteral("-i"), path_);
}

} // namespace zefrin::test
