#include "EmulatorSettings.h"

#include "SystemServices.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace zefrin {

namespace {

const QString settingsName = QStringLiteral("mame.ini");

} // namespace

QString settingsWorkFolderName()
{
    return QStringLiteral("ajustes");
}

SettingsPlacement placeMadeSettings(const QString& workFolder, const QString& emulatorFolder)
{
    const QString made = QDir(workFolder).filePath(settingsName);
    const QString target = emulatorPath(emulatorFolder, settingsName);
    SettingsPlacement placement = SettingsPlacement::NotMade;
    if (FileExists(target))
        placement = SettingsPlacement::AlreadyThere;
    // QFile::copy writes a temporary file beside the target and renames it into place without
    // replacing: a mame.ini that appears meanwhile is kept, and no half file is ever seen.
    else if (QFileInfo(made).isFile())
        placement = QFile::copy(made, target) ? SettingsPlacement::Placed
                    : FileExists(target)      ? SettingsPlacement::AlreadyThere
                                              : SettingsPlacement::Failed;
    (void)QDir(workFolder).removeRecursively();
    return placement;
}

namespace {

// The value of a "ctrlrpath" line, without the double quotes around it; nothing for another
// line.
std::optional<QString> controllerPathOfLine(QStringView line)
{
    const QLatin1StringView name("ctrlrpath");
    const QStringView trimmed = line.trimmed();
    if (!trimmed.startsWith(name) || trimmed.size() == name.size() ||
        !trimmed.at(name.size()).isSpace())
        return std::nullopt;
    QStringView value = trimmed.mid(name.size()).trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2);
    return value.toString();
}

} // namespace

// Of several lines, the emulator takes the last.
QString controllerPathOf(const QStringList& settingsLines)
{
    QString path;
    for (const QString& line : settingsLines)
        if (const std::optional<QString> value = controllerPathOfLine(line))
            path = *value;
    return path;
}

QString controllerPathIn(const QString& iniPath)
{
    QString path;
    TextLineReader lines(iniPath);
    while (const std::optional<QStringView> line = lines.nextView())
        if (const std::optional<QString> value = controllerPathOfLine(*line))
            path = *value;
    return path;
}

QString controllerFolders(const QStringList& paths)
{
    QStringList folders{QStringLiteral("ctrlr")};
    for (const QString& path : paths)
        for (const QString& folder : path.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (!folders.contains(folder))
                folders << folder;
    return folders.join(QLatin1Char(';'));
}

} // namespace zefrin
