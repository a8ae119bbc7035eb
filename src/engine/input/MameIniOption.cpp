#include "MameIniOption.h"

#include "OptionLines.h"
#include "engine/services/TextFile.h"

#include <QFile>
#include <QSaveFile>

namespace zefrin {

namespace {

constexpr int valueColumn = 24;
constexpr int commentedValueColumn = 22;

QString optionLine(const QString& name, const QString& value)
{
    return RellenarDerecha(name, valueColumn) + value;
}

bool isComment(const QString& line)
{
    return line.startsWith(QLatin1Char('#'));
}

} // namespace

OptionRewrite rewriteOptionLines(const QStringList& lines, const QString& name,
                                 const QString& value, bool restore, const QString& lineaAnterior)
{
    OptionRewrite result{{}, lineaAnterior, false};
    result.lines.reserve(lines.size());
    for (const QString& line : lines) {
        if (isComment(line)) {
            // "# name value": the option's text starts after the "# ".
            const QString text = line.mid(2);
            if (NombreDeLinea(text) != name) {
                result.lines << line;
                continue;
            }
            result.lineaAnterior = line;
            result.lines << (RestoDeLinea(text) == value ? text : optionLine(name, value));
        } else if (NombreDeLinea(line) != name) {
            result.lines << line;
        } else if (restore) {
            result.lines << result.lineaAnterior;
        } else if (RestoDeLinea(line) == value) {
            return {lines, lineaAnterior, true};
        } else {
            result.lineaAnterior = line;
            if (name == QLatin1String("ctrlr") && value.isEmpty())
                result.lines << QStringLiteral("# ") + RellenarDerecha(name, commentedValueColumn) +
                                    QStringLiteral("<NULL> (Not Set)");
            else
                result.lines << optionLine(name, value);
        }
    }
    return result;
}

IniChange rewriteIniOption(const QString& iniPath, const QString& name, const QString& value,
                           bool restore, QString& lineaAnterior,
                           const std::function<bool(const QString&)>& beforeReplacing)
{
    QFile file(iniPath);
    if (!file.open(QIODevice::ReadOnly))
        return IniChange::NotRead;
    // Each byte is taken as one character and written back as the same byte: the names and
    // values compared are ASCII, and every other line keeps its bytes whatever code page the
    // emulator's folder names and paths were written in.
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return IniChange::NotRead;
    file.close();
    const QStringList lines = splitLines(QString::fromLatin1(bytes));

    const OptionRewrite rewrite = rewriteOptionLines(lines, name, value, restore, lineaAnterior);
    if (rewrite.alreadySet || rewrite.lines == lines)
        return IniChange::Unchanged;

    QByteArray text;
    for (const QString& line : rewrite.lines)
        text += line.toLatin1() + "\r\n";
    // QSaveFile refuses a target that is not writable and renames its finished temporary file
    // over the target only on commit; a failed or abandoned write removes the temporary file.
    QSaveFile out(iniPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size())
        return IniChange::NotReplaced;
    if (beforeReplacing && !beforeReplacing(rewrite.lineaAnterior))
        return IniChange::NotNoted;
    if (!out.commit())
        return IniChange::NotReplaced;
    lineaAnterior = rewrite.lineaAnterior;
    return IniChange::Rewritten;
}

bool iniOptionHolds(const QString& iniPath, const QString& name, const QString& value)
{
    const std::optional<QStringList> lines = readTextLines(iniPath);
    if (!lines)
        return false;
    for (const QString& line : *lines) {
        if (!line.startsWith(QLatin1Char('#')) && NombreDeLinea(line) == name &&
            RestoDeLinea(line) == value)
            return true;
    }
    return false;
}

} // namespace zefrin
