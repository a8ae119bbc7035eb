#include "RomFolder.h"

#include "engine/services/SystemServices.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#endif

namespace zefrin {

namespace {

bool isZipName(const QString& name)
{
    return name.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive);
}

// The files of the folder named "*.zip", links to files included, hidden ones too, unsorted.
QStringList zipFileNames(const QString& folder)
{
    QStringList names;
#ifdef Q_OS_UNIX
    // Qt's own iterator passes over names that are no valid UTF-8; readdir gives every one.
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(QFile::encodeName(folder).constData()),
                                                  ::closedir);
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const QString name = QFile::decodeName(entry->d_name);
        if (!isZipName(name))
            continue;
        // The folder entry says what it is, but for a link (to a file counts) or a file
        // system that does not say: then the file itself is asked.
        struct stat info {};
        if (entry->d_type == DT_REG ||
            ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) &&
             ::fstatat(::dirfd(dir.get()), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode)))
            names << name;
    }
#else
    QDirIterator entries(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        if (isZipName(entries.fileName()))
            names << entries.fileName();
    }
#endif
    return names;
}

} // namespace

bool romNameLess(const QString& a, const QString& b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

QStringList listRomArchives(const QString& romsFolder)
{
    QStringList names = zipFileNames(romsFolder);
    std::sort(names.begin(), names.end(), romNameLess);
    return names;
}

bool isPassableArchiveName(const QString& name)
{
    const QString set = StripExtension(name);
    return !set.isEmpty() && !set.startsWith(QLatin1Char('-')) && name != QLatin1String("..") &&
           !name.contains(QChar::ReplacementCharacter) && !name.contains(QLatin1Char('/')) &&
           !name.contains(QDir::separator()) && !name.contains(QChar::Null) &&
           !name.contains(QLatin1String("\r\n"));
}

QString notPassableReasons()
{
    return QStringLiteral("empieza por un guion, no tiene nada antes de la extensión, lleva un "
                          "salto de línea o tiene letras que el sistema no sabe leer (como las "
                          "de discos antiguos, escritas en otra codificación)");
}

} // namespace zefrin
