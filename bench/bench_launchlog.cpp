// How the load log copes with a huge emulator output: the time to read it after the game ends,
// to index its lines for the viewer and to draw a screenful, and the memory it peaks at
// against the output's size. Each case runs in a child process of its own, so its peak is its
// own.

#include "engine/launch/LaunchLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace zefrin;

namespace {

// Peak and current resident memory of this process, in MiB.
double statusMiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toDouble() / 1024;
    return -1;
}

// `megabytes` of output in lines of `lineLength` characters (LF ends, as the emulator
// writes them), written a piece at a time.
bool writeOutput(const QString& path, qint64 megabytes, qint64 lineLength)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray line(lineLength, 'x');
    line.append('\n');
    QByteArray piece;
    while (piece.size() < (1 << 20))
        piece += line;
    for (qint64 written = 0; written < megabytes << 20; written += piece.size())
        if (file.write(piece) != piece.size())
            return false;
    return true;
}

int runCase(qint64 megabytes, qint64 lineLength)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("log.txt"));
    if (!writeOutput(path, megabytes, lineLength))
        return 1;
    const double before = statusMiB("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    QString error;
    const std::optional<QByteArray> log = readLaunchLog(path, &error);
    const double readMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    const LogLines lines(log.value_or(QByteArray()));
    const double indexMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    qsizetype shown = 0;
    for (qsizetype row = 0; row < 60 && row < lines.count(); ++row)
        shown += lines.line(row).size();
    const double drawMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const double output = static_cast<double>(QFile(path).size()) / (1 << 20);
    const double peak = statusMiB("VmHWM:") - before;
    std::printf("%6.0f MiB output, lines of %7lld: read %7.1f ms, index %6.1f ms, "
                "a screenful %5.1f ms; peak %7.1f MiB above the start = %.2f x the output "
                "(%lld lines, %lld characters shown)\n",
                output, static_cast<long long>(lineLength), readMs, indexMs, drawMs, peak,
                peak / output, static_cast<long long>(lines.count()),
                static_cast<long long>(shown));
    return log ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3)
        return runCase(arguments.at(1).toLongLong(), arguments.at(2).toLongLong());
    // Megabytes of output, characters per line.
    const QList<QPair<int, int>> cases{{300, 80}, {500, 80}, {10, 10 << 20}};
    int status = 0;
    for (const auto& [megabytes, lineLength] : cases) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QString::number(megabytes), QString::number(lineLength)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            status = 1;
    }
    return status;
}
