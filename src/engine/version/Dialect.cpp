#include "Dialect.h"

#include "VersionRules.h"

#include <QRegularExpression>

namespace zefrin {

QString todayDialectThreshold()
{
    return QStringLiteral("0.118");
}

Dialect dialectOf(const InstalledVersion& installed)
{
    if (!installed.isKnown())
        return Dialect::Classic;
    const QString version = installed.text();
    return compareVersions(version, todayDialectThreshold()) >= 0 ? Dialect::Today
                                                                  : Dialect::Classic;
}

InstalledVersion versionFromAnswer(const QByteArray& answer)
{
    // A version is short; whatever follows the first line is no part of it.
    const QByteArray firstLine = answer.left(256).split('\n').value(0).trimmed();
    const QByteArray word = firstLine.split(' ').value(0);
    static const QRegularExpression number(QStringLiteral("^[0-9]+\\.[0-9]+[0-9a-z.]*$"));
    const QString version = QString::fromLatin1(word);
    return number.match(version).hasMatch() ? InstalledVersion(version) : InstalledVersion();
}

} // namespace zefrin
