#include "VersionRules.h"

#include "engine/services/EmulatorCommands.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"

#include <QFileInfo>

namespace zefrin {

QString unknownVersionText()
{
    return QStringLiteral("(Versión de M.A.M.E desconocida)");
}

QString InstalledVersion::shown() const
{
    return text_.value_or(unknownVersionText());
}

QString noConfigurationThreshold()
{
    return QStringLiteral("0.37 BETA 14");
}

QString noControllerThreshold()
{
    return QStringLiteral("0.59");
}

QString soundOptionThreshold()
{
    return QStringLiteral("0.53");
}

namespace {

// The first line of the file with a character other than a space, when it can be read and
// holds at most `limit` characters. Read a part at a time: a blank line is passed over
// without being kept, a longer line is given up as soon as it is too long. Every line end
// counts alike, since the empty line between the CR and the LF of a pair is blank.
std::optional<QString> firstNonBlankLine(std::unique_ptr<QIODevice> file, qsizetype limit)
{
    TextChunkReader text(std::move(file), QStringConverter::System, 4096);
    qsizetype spaces = 0; // the leading spaces of the line being read
    QString rest;         // the line from its first other character on
    while (const std::optional<QString> part = text.next()) {
        for (const QChar c : *part) {
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                if (!rest.isEmpty())
                    return QString(spaces, QLatin1Char(' ')) + rest;
                spaces = 0;
            } else if (rest.isEmpty() && c == QLatin1Char(' ')) {
                ++spaces;
            } else if (spaces + rest.size() >= limit) {
                return std::nullopt;
            } else {
                rest += c;
            }
        }
    }
    if (rest.isEmpty())
        return std::nullopt;
    return QString(spaces, QLatin1Char(' ')) + rest;
}

} // namespace

InstalledVersion ReadEmulatorVersion(const QString& emulatorFolder)
{
    const QString path = emulatorPath(emulatorFolder, QStringLiteral("whatsnew.txt"));
    if (!FileExists(path))
        return {};
    return versionOfNotes(fileDevice(path));
}

InstalledVersion ReadEmulatorVersion(const QString& emulatorFolder, const QString& program)
{
    // The folder's own `mame` may be a link to the packaged emulator (/usr/games/mame): the
    // notes are its own only when the executable itself, links resolved, is in the folder.
    const QString own = emulatorPath(emulatorFolder, emulatorExecutableName());
    const QString resolved = QFileInfo(own).canonicalFilePath();
    if (resolved.isEmpty() ||
        QFileInfo(program).absoluteFilePath() != QFileInfo(own).absoluteFilePath() ||
        QFileInfo(resolved).path() != QFileInfo(emulatorFolder).canonicalFilePath())
        return {};
    return ReadEmulatorVersion(emulatorFolder);
}

InstalledVersion versionOfNotes(std::unique_ptr<QIODevice> notes)
{
    if (std::optional<QString> line = firstNonBlankLine(std::move(notes), longestVersionLine))
        return InstalledVersion(std::move(*line));
    return {};
}

InstalledVersion versionFromLines(const QStringList& lines)
{
    for (const QString& line : lines) {
        // Only spaces count as blank here; a line of tabs is kept as the version line.
        for (const QChar c : line) {
            if (c != QLatin1Char(' '))
                return InstalledVersion(line);
        }
    }
    return {};
}

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

qsizetype digitRunEnd(QStringView text, qsizetype from)
{
    while (from < text.size() && isDigit(text.at(from)))
        ++from;
    return from;
}

// Compares two runs of digits by value without converting them: leading zeros are dropped,
// then the longer run is the larger, and runs of one length compare digit by digit.
int compareDigitRuns(QStringView a, QStringView b)
{
    while (a.size() > 1 && a.front() == QLatin1Char('0'))
        a = a.mid(1);
    while (b.size() > 1 && b.front() == QLatin1Char('0'))
        b = b.mid(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

} // namespace

int compareVersions(const QString& first, const QString& second)
{
    const QStringView a = QStringView(first).trimmed();
    const QStringView b = QStringView(second).trimmed();
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a.at(i)) && isDigit(b.at(j))) {
            const qsizetype endA = digitRunEnd(a, i);
            const qsizetype endB = digitRunEnd(b, j);
            const int order = compareDigitRuns(a.mid(i, endA - i), b.mid(j, endB - j));
            if (order != 0)
                return order;
            i = endA;
            j = endB;
            continue;
        }
        if (a.at(i) != b.at(j))
            return a.at(i).unicode() < b.at(j).unicode() ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

bool versionAtOrBelow(const InstalledVersion& version, const QString& threshold)
{
    return !version.isKnown() || compareVersions(version.text(), threshold) <= 0;
}

VersionState versionStateFor(const InstalledVersion& version)
{
    if (!version.isKnown())
        return {version.shown(), StatusTone::Restriction, false, false};
    const QString number = version.text();
    if (versionAtOrBelow(version, noConfigurationThreshold()))
        return {QStringLiteral("Version de M.A.M.E. (") + number +
                    QStringLiteral(") (No configurable)"),
                StatusTone::Restriction, false, false};
    if (versionAtOrBelow(version, noControllerThreshold()))
        return {QStringLiteral("Versión de M.A.M.E. (") + number +
                    QStringLiteral(") (Controles no configurables)"),
                StatusTone::Restriction, false, true};
    return {QStringLiteral("Versión de M.A.M.E. (") + number + QLatin1Char(')'),
            StatusTone::Information, true, true};
}

bool launchWithoutSound(const InstalledVersion& installed)
{
    if (!installed.isKnown())
        return true;
    const QString version = installed.text();
    return compareVersions(version, soundOptionThreshold()) < 0;
}

} // namespace zefrin
