#include "ScratchFolder.h"

#include "ProcessIdentity.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>

namespace zefrin {

namespace {

// The system's temporary folder, or /tmp when TMPDIR names one that is not there.
QString temporaryFolder()
{
    const QString configured = QDir::tempPath();
    return (QFileInfo::exists(configured) ? configured : QDir::rootPath() + QStringLiteral("tmp")) +
           QLatin1Char('/');
}

const QString folderPrefix = QStringLiteral("zefrin-");
const QString markerName = QStringLiteral(".zefrin-copia.json");

// The files a run keeps in its scratch folder: the play script, the emulator's output, and
// the reports, one folder each.
bool isScratchEntry(const QString& relative, bool folder)
{
    static const QRegularExpression reportFolder(QStringLiteral("^informe-[0-9]+$"));
    static const QRegularExpression report(QStringLiteral("^informe-[0-9]+/comparacion\\.log$"));
    // The emulator's settings files, written there by "-cc", and its settings as it prints them.
    static const QRegularExpression settings(QStringLiteral("^ajustes/[a-z]+\\.ini$"));
    if (folder)
        return reportFolder.match(relative).hasMatch() || relative == QStringLiteral("ajustes");
    return relative == QStringLiteral("mame.bat") || relative == QStringLiteral("log.txt") ||
           relative == QStringLiteral("ajustes.txt") || relative == markerName ||
           report.match(relative).hasMatch() || settings.match(relative).hasMatch();
}

bool holdsOnlyScratchFiles(const QString& path)
{
    const QDir root(path);
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isSymLink() || !isScratchEntry(root.relativeFilePath(entry), info.isDir()))
            return false;
    }
    return true;
}

// The copy of the program that made the folder, as its marker tells; invalid when there is no
// readable marker.
ProcessIdentity maker(const QString& folder)
{
    QFile marker(folder + QLatin1Char('/') + markerName);
    if (!marker.open(QIODevice::ReadOnly))
        return {};
    return processFromJson(QJsonDocument::fromJson(marker.readAll()).object());
}

bool isLeftover(const QFileInfo& candidate)
{
    const ProcessIdentity madeBy = maker(candidate.filePath());
    return madeBy.isValid() && !isRunning(madeBy) && holdsOnlyScratchFiles(candidate.filePath());
}

} // namespace

ScratchFolder::ScratchFolder()
    : folder_(temporaryFolder() + folderPrefix + QStringLiteral("XXXXXX"))
{
    if (!folder_.isValid())
        return;
    // Without its marker the folder is only never taken for a leftover: no harm.
    QFile marker(filePath(markerName));
    if (marker.open(QIODevice::WriteOnly))
        (void)marker.write(QJsonDocument(processToJson(ownProcessIdentity())).toJson());
}

void ScratchFolder::removeLeftovers() const
{
    if (!isValid())
        return;
    const QFileInfo own(path());
    const QDir parent = own.dir();
    const QFileInfoList candidates = parent.entryInfoList(
        {folderPrefix + QStringLiteral("??????")}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& candidate : candidates) {
        if (candidate.fileName() == own.fileName() || candidate.ownerId() != own.ownerId() ||
            !isLeftover(candidate))
            continue;
        (void)QDir(candidate.filePath()).removeRecursively();
    }
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
