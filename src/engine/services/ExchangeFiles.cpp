#include "ExchangeFiles.h"

#include "FileIdentity.h"
#include "RunRecord.h"
#include "SystemServices.h"

namespace zefrin {

namespace {

const QString usersKey = QStringLiteral("users");

// The names of the exchange files that are not the user's, as the note at `recordPath` tells:
// every one there that it does not name. A file it names stays even when changed since: the
// user may have edited or replaced it, and a file the program wrote over is better left than
// one of the user's lost. None when there is no note of this folder.
QStringList notUsers(const QString& recordPath, const QString& emulatorFolder)
{
    const RecordReading reading = readRunRecordFor(recordPath, emulatorFolder);
    // A note of another folder, or one that cannot be read: nothing is known to be the program's.
    if (reading.state == RecordState::Replaced || reading.state == RecordState::Corrupt)
        return {};
    const QJsonObject users = reading.note.value(usersKey).toObject();
    QStringList names;
    for (const QString& name : exchangeFileNames())
        if (!users.contains(name) && FileExists(emulatorPath(emulatorFolder, name)))
            names << name;
    return names;
}

QStringList removeAll(const QStringList& names, const QString& emulatorFolder)
{
    QStringList left;
    for (const QString& name : names)
        if (!removeIfExists(emulatorPath(emulatorFolder, name)))
            left << name;
    return left;
}

} // namespace

QStringList exchangeFileNames()
{
    // The ROM manager's check and reports answer in 2.p to 4.p too.
    return {QStringLiteral("1.p"), QStringLiteral("abrir.bat"), QStringLiteral("all.bat"),
            QStringLiteral("2.p"), QStringLiteral("3.p"),       QStringLiteral("4.p")};
}

QStringList usersExchangeFiles(const QString& recordPath, const QString& emulatorFolder)
{
    const RecordReading reading = readRunRecordFor(recordPath, emulatorFolder);
    if (reading.state != RecordState::Ours)
        return {};
    const QJsonObject users = reading.note.value(usersKey).toObject();
    QStringList names;
    for (const QString& name : exchangeFileNames()) {
        const std::optional<FileIdentity> now = fileIdentity(emulatorPath(emulatorFolder, name));
        const std::optional<FileIdentity> noted = identityFromJson(users.value(name).toObject());
        if (now && noted && *noted == *now)
            names << name;
    }
    return names;
}

void settleExchangeFiles(const QString& recordPath, const QString& emulatorFolder)
{
    if (readRunRecordFor(recordPath, emulatorFolder).state != RecordState::Absent)
        (void)removeAll(notUsers(recordPath, emulatorFolder), emulatorFolder);
    QJsonObject users;
    for (const QString& name : exchangeFileNames())
        if (const std::optional<FileIdentity> identity =
                fileIdentity(emulatorPath(emulatorFolder, name)))
            users.insert(name, identityToJson(*identity));
    (void)writeRunRecord(recordPath, emulatorFolder, {{usersKey, users}});
}

QStringList removeOwnExchangeFiles(const QString& recordPath, const QString& emulatorFolder)
{
    const QStringList left = removeAll(notUsers(recordPath, emulatorFolder), emulatorFolder);
    if (left.isEmpty())
        (void)clearRunRecord(recordPath);
    return left;
}

} // namespace zefrin
