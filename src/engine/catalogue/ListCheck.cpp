#include "ListCheck.h"

#include <QFile>

namespace zefrin {

namespace {

constexpr qint64 chunkBytes = 1 << 16;

QByteArrayView withoutCr(QByteArrayView line)
{
    return line.endsWith('\r') ? line.chopped(1) : line;
}

bool anyLine(QByteArrayView, bool)
{
    return true;
}

// Name:             Description:
// pong              "Pong (Rev E) [TTL]"
bool todayGameLine(QByteArrayView line, bool first)
{
    line = withoutCr(line);
    if (first)
        return line.startsWith("Name:");
    const qsizetype blank = line.indexOf(' ');
    if (blank <= 0 || line.first(blank).contains('"'))
        return false;
    qsizetype title = blank;
    while (title < line.size() && line.at(title) == ' ')
        ++title;
    return line.size() - title >= 2 && line.at(title) == '"' && line.back() == '"';
}

// Every line of the file passes `check`, and the last one is ended. An empty file is no list.
bool everyLineWhole(const QString& path, ListLineCheck check)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0)
        return false;
    QByteArray pending;
    bool first = true;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(chunkBytes);
        if (chunk.isEmpty())
            return false;
        pending += chunk;
        qsizetype begin = 0;
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n', begin)) {
            if (!check(QByteArrayView(pending).sliced(begin, end - begin), first))
                return false;
            first = false;
            begin = end + 1;
        }
        pending.remove(0, begin);
    }
    return pending.isEmpty();
}

} // namespace

bool gameListIsWhole(const QString& path, Dialect dialect)
{
    return everyLineWhole(path, dialect == Dialect::Today ? todayGameLine : anyLine);
}

bool listIsWhole(const QString& path, ListLineCheck lineIsWhole)
{
    return everyLineWhole(path, lineIsWhole);
}

QString listDiskFullText(const QString& what, const QString& emulatorFolder)
{
    return QStringLiteral("No se ha podido crear %1 en la carpeta %2: el disco está lleno. La "
                          "lista que M.A.M.E ha dejado a medias se ha borrado; libera espacio en "
                          "el disco y vuelve a intentarlo.")
        .arg(what, emulatorFolder);
}

} // namespace zefrin
