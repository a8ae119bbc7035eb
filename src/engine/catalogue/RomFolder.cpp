#include "RomFolder.h"

#include <QDir>
#include <QDirIterator>

#include <algorithm>

namespace zefrin {

bool romNameLess(const QString& a, const QString& b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

QStringList listRomArchives(const QString& romsFolder)
{
    QStringList names;
    QDirIterator entries(romsFolder, QDir::Files | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QString name = entries.fileName();
        if (name.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
            names << name;
    }
    std::sort(names.begin(), names.end(), romNameLess);
    return names;
}

} // namespace zefrin
