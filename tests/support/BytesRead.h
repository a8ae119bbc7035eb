#pragma once
// How much a test's own process has read, to check that a reader stops where it should or
// reads a file once.

#include <QByteArray>
#include <QFile>

namespace zefrin::test {

// The bytes this process has read so far (Linux: rchar of /proc/self/io), -1 when unknown.
inline qint64 bytesReadSoFar()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = io.readAll(); // read before counting, so not in the next answer
    return text.mid(text.indexOf("rchar:") + 6).split('\n').first().trimmed().toLongLong();
}

} // namespace zefrin::test
