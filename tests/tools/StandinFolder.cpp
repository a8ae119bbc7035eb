#include "StandinFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

QList<QByteArray> StandinResult::lines() const
{
    QList<QByteArray> all = out.split('\n');
    if (!all.isEmpty() && all.last().isEmpty())
        all.removeLast();
    return all;
}

StandinFolder::StandinFolder(const zefrin::fixture::Collection& collection)
{
    m_valid = m_dir.isValid() && QFile::copy(QStringLiteral(ZEFRIN_STANDIN_PATH), path("mame")) &&
              QDir(m_dir.path()).mkdir("roms") &&
              zefrin::fixture::writeDataFile(collection, fsPath("standin.dat"));
}

QString StandinFolder::path(const QString& relative) const
{
    return relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative);
}

std::filesystem::path StandinFolder::fsPath(const QString& relative) const
{
    return std::filesystem::path(path(relative).toStdString());
}

QByteArray StandinFolder::read(const QString& relative) const
{
    QFile file(path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool StandinFolder::write(const QString& relative, const QByteArray& bytes) const
{
    QFile file(path(relative));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

StandinResult StandinFolder::run(const QStringList& arguments, const QString& program) const
{
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.setProgram(program.isEmpty() ? path("mame") : program);
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer timer;
    timer.start();
    process.start();
    StandinResult result;
    if (!process.waitForFinished(60000))
        return result;
    result.elapsedMs = timer.elapsed();
    result.out = process.readAllStandardOutput();
    result.exitCode = process.exitCode();
    result.exitStatus = process.exitStatus();
    return result;
}
