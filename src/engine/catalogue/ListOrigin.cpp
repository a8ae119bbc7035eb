#include "ListOrigin.h"

#include "engine/services/RunRecord.h"
#include "engine/services/SystemServices.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonObject>

namespace zefrin {

namespace {

const QString programKey = QStringLiteral("program");
const QString sizeKey = QStringLiteral("size");
const QString modifiedKey = QStringLiteral("modifiedMs");

} // namespace

QJsonObject emulatorIdentity(const QString& program)
{
    const QFileInfo info(program);
    const QString resolved = info.canonicalFilePath();
    if (resolved.isEmpty())
        return {};
    const QFileInfo target(resolved);
    return {{programKey, resolved},
            {sizeKey, QString::number(target.size())},
            {modifiedKey, QString::number(target.lastModified().toMSecsSinceEpoch())}};
}

QString listOriginPath(const QString& gameListRecordPath)
{
    if (gameListRecordPath.isEmpty())
        return {};
    const QFileInfo record(gameListRecordPath);
    return record.path() + QStringLiteral("/origen/") + record.fileName();
}

bool noteListOrigin(const QString& originPath, const QString& emulatorFolder,
                    const QJsonObject& identity)
{
    return !identity.isEmpty() && writeRunRecord(originPath, emulatorFolder, identity);
}

void forgetListOrigin(const QString& originPath)
{
    (void)clearRunRecord(originPath);
}

ListOrigin listOrigin(const QString& originPath, const QString& emulatorFolder,
                      const QString& program)
{
    const RecordReading reading = readRunRecordFor(originPath, emulatorFolder);
    if (reading.state != RecordState::Ours)
        return ListOrigin::Unknown;
    const QJsonObject identity = emulatorIdentity(program);
    for (const QString& key : {programKey, sizeKey, modifiedKey})
        if (identity.value(key) != reading.note.value(key))
            return ListOrigin::Other;
    return ListOrigin::Same;
}

} // namespace zefrin
