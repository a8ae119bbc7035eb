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

bool isVariableChar(QChar c)
{
    return c == QLatin1Char('_') || (c.unicode() < 0x80 && c.isLetterOrNumber());
}

// A folder list of a settings file as the emulator reads it: in each folder a leading "~/"
// stands for $HOME, and $NAME or ${NAME} for that environment variable (nothing when it is
// not set). The emulator does that only for its settings files: the same list given on its
// command line is taken as written, so it is passed on expanded.
QString expandedFolders(QStringView value)
{
    QStringList folders;
    for (QStringView folder : value.split(QLatin1Char(';'))) {
        QString out;
        if (folder.startsWith(QLatin1Char('~')) &&
            (folder.size() == 1 || folder.at(1) == QLatin1Char('/'))) {
            out = qEnvironmentVariable("HOME");
            folder = folder.mid(1);
        }
        for (qsizetype i = 0; i < folder.size();) {
            const qsizetype dollar = folder.indexOf(QLatin1Char('$'), i);
            out += folder.mid(i, (dollar < 0 ? folder.size() : dollar) - i);
            if (dollar < 0)
                break;
            i = dollar + 1;
            qsizetype end = i;
            if (i < folder.size() && folder.at(i) == QLatin1Char('{')) {
                end = folder.indexOf(QLatin1Char('}'), i + 1);
                if (end < 0) { // not closed: kept as written
                    out += folder.mid(dollar);
                    break;
                }
                out +=
                    qEnvironmentVariable(folder.mid(i + 1, end - i - 1).toLocal8Bit().constData());
                i = end + 1;
                continue;
            }
            while (end < folder.size() && isVariableChar(folder.at(end)))
                ++end;
            if (end == i)
                out += QLatin1Char('$');
            else
                out += qEnvironmentVariable(folder.mid(i, end - i).toLocal8Bit().constData());
            i = end;
        }
        folders << out;
    }
    return folders.join(QLatin1Char(';'));
}

// The value of a "ctrlrpath" line, without a comment after it or the double quotes around
// it, and expanded as the emulator expands it; nothing for another line.
std::optional<QString> controllerPathOfLine(QStringView line)
{
    const QLatin1StringView name("ctrlrpath");
    const QStringView trimmed = line.trimmed();
    if (!trimmed.startsWith(name) || trimmed.size() == name.size() ||
        !trimmed.at(name.size()).isSpace())
        return std::nullopt;
    QStringView value = trimmed.mid(name.size());
    // As the emulator reads it: a '#' outside double quotes starts a comment.
    bool quoted = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) == QLatin1Char('"'))
            quoted = !quoted;
        else if (value.at(i) == QLatin1Char('#') && !quoted) {
            value.truncate(i);
            break;
        }
    }
    value = value.trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2);
    return expandedFolders(value);
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
