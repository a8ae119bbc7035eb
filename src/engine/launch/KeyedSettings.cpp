#include "KeyedSettings.h"

#include "InputMappings.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QSaveFile>
#include <QStringList>

namespace zefrin {

namespace {

const QString filesKey = QStringLiteral("files");
const QString settingsKey = QStringLiteral("settings");
const QString backupKey = QStringLiteral("backup");
const QString identityKey = QStringLiteral("settingsIdentity");
const QString mappingsKey = QStringLiteral("mappingsOnly");

QString inFolder(const QString& cfgFolder, const QString& name)
{
    return cfgFolder + QLatin1Char('/') + name;
}

// A name from a record names a file of the cfg folder itself, nothing else.
bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar());
}

std::optional<QByteArray> readAllOf(const QString& path, QString* reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *reason = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

bool writeNewFile(const QString& path, const QByteArray& bytes, QString* reason)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly) && file.write(bytes) == bytes.size() &&
        file.flush())
        return true;
    *reason = file.errorString();
    return false;
}

std::optional<AsideFile> fileOf(const QJsonObject& entry)
{
    const std::optional<FileIdentity> identity =
        identityFromJson(entry.value(identityKey).toObject());
    AsideFile file{entry.value(settingsKey).toString(),
                   entry.value(backupKey).toString(),
                   {},
                   entry.value(mappingsKey).toBool()};
    if (!identity || !isPlainFileName(file.settings) || !isPlainFileName(file.backup))
        return std::nullopt;
    file.identity = *identity;
    return file;
}

} // namespace

std::optional<AsideFile> planAside(const QString& cfgFolder, const QString& settingsName,
                                   bool mappingsOnly)
{
    const QString path = inFolder(cfgFolder, settingsName);
    const std::optional<FileIdentity> identity = fileIdentity(path);
    if (!identity)
        return std::nullopt;
    QString reason;
    const std::optional<QByteArray> bytes =
        mappingsOnly ? readAllOf(path, &reason) : std::optional<QByteArray>();
    const bool splits = bytes && withoutInputMappings(*bytes).has_value();
    return AsideFile{
        settingsName,
        freeFileName(cfgFolder, QFileInfo(settingsName).completeBaseName(), QStringLiteral(".bak")),
        *identity, splits};
}

QJsonObject asideNote(const QList<AsideFile>& files)
{
    QJsonArray entries;
    for (const AsideFile& file : files)
        entries.append(QJsonObject{{settingsKey, file.settings},
                                   {backupKey, file.backup},
                                   {identityKey, identityToJson(file.identity)},
                                   {mappingsKey, file.mappingsOnly}});
    return {{filesKey, entries}};
}

std::optional<QList<AsideFile>> asideFilesOf(const QJsonObject& note)
{
    if (!note.contains(filesKey)) {
        const std::optional<AsideFile> file = fileOf(note);
        return file ? std::optional<QList<AsideFile>>({*file}) : std::nullopt;
    }
    QList<AsideFile> files;
    for (const QJsonValue& entry : note.value(filesKey).toArray()) {
        const std::optional<AsideFile> file = fileOf(entry.toObject());
        if (!file)
            return std::nullopt;
        files << *file;
    }
    if (files.isEmpty())
        return std::nullopt;
    return files;
}

bool setAside(const QString& cfgFolder, const AsideFile& file, QString* reason)
{
    if (!RenameInFolder(file.settings, file.backup, cfgFolder)) {
        *reason = QStringLiteral("no se ha podido cambiar de nombre");
        return false;
    }
    if (!file.mappingsOnly)
        return true;
    const std::optional<QByteArray> users = readAllOf(inFolder(cfgFolder, file.backup), reason);
    const std::optional<QByteArray> copy = users ? withoutInputMappings(*users) : std::nullopt;
    // A file made meanwhile under the settings' name is not the program's to replace.
    return copy && writeNewFile(inFolder(cfgFolder, file.settings), *copy, reason);
}

FileResult giveBack(const QString& cfgFolder, const AsideFile& file)
{
    const QString settings = inFolder(cfgFolder, file.settings);
    const QString backup = inFolder(cfgFolder, file.backup);
    if (!FileExists(backup))
        return {};
    QString reason;
    const std::optional<QByteArray> users =
        file.mappingsOnly ? readAllOf(backup, &reason) : std::optional<QByteArray>();
    const std::optional<QByteArray> saved =
        users && FileExists(settings) ? readAllOf(settings, &reason) : std::nullopt;
    // What the run got unchanged (the emulator did not save), or a file cut short: the user's
    // own file comes back as it was.
    const std::optional<QByteArray> merged = saved && saved != withoutInputMappings(*users)
                                                 ? withInputMappingsOf(*saved, *users)
                                                 : std::nullopt;
    if (!merged)
        return ReplaceFile(backup, settings);
    // Whole or not at all: a full disk or a program ended while it is written leaves what the
    // emulator saved as it was, to be merged again. A settings file that is a link stays one:
    // the merge goes to the file it points to (a save file writes through a link), and the
    // link comes back.
    const bool linked = QFileInfo(backup).isSymLink();
    QSaveFile merging(linked ? backup : settings);
    if (!merging.open(QIODevice::WriteOnly) || merging.write(*merged) != merged->size() ||
        !merging.commit())
        return {false, merging.fileName() + QStringLiteral(": ") + merging.errorString()};
    if (linked)
        return ReplaceFile(backup, settings);
    if (!QFile::remove(backup))
        return {false, backup};
    return {};
}

QString describedFiles(const QList<AsideFile>& files)
{
    QStringList names;
    for (const AsideFile& file : files)
        names << QStringLiteral("cfg/") + file.settings;
    return names.join(QStringLiteral(", "));
}

} // namespace zefrin
