#include "ControllerFiles.h"

#include "KeyAssignment.h"
#include "KeyNameTable.h"
#include "OptionLines.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <array>
#include <utility>

namespace zefrin {

namespace {

constexpr int portColumn = 24;

// Key codes of the picture's keys that the default key-name table leaves without a line.
constexpr std::array<std::pair<int, const char*>, 2> builtInKeyCodes{{
    {42, "KEYCODE_CAPSLOCK"},
    {56, "KEYCODE_BACKSLASH2"},
}};

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString tabs(int count)
{
    return QString(count, QLatin1Char('\t'));
}

// Names come from a file the user may edit: they must not break the XML around them.
QString xmlText(const QString& text)
{
    return text.toHtmlEscaped();
}

} // namespace

QString controllerEntryPath(const QString& emulatorFolder)
{
    return emulatorPath(emulatorFolder, QStringLiteral("ctrlr/Zefrin/default.ini"));
}

QString controllerXmlPath(const QString& emulatorFolder)
{
    return emulatorPath(emulatorFolder, QStringLiteral("ctrlr/Zefrin.cfg"));
}

QString keyCodeOfLabel(const KeyNames& names, int label)
{
    const QString name = names.keyNameOfLabel(label);
    if (!name.isEmpty())
        return name;
    for (const auto& [builtInLabel, keyCode] : builtInKeyCodes) {
        if (builtInLabel == label)
            return QLatin1String(keyCode);
    }
    return QString();
}

QString keyCodeOfLabel(const QString& emulatorFolder, int label)
{
    return keyCodeOfLabel(KeyNames(emulatorFolder), label);
}

QString spelledFor(const QString& keyCode, Dialect dialect)
{
    static const QRegularExpression classicPad(QStringLiteral("^KEYCODE_([0-9])_PAD$"));
    if (dialect == Dialect::Classic)
        return keyCode;
    const QRegularExpressionMatch pad = classicPad.match(keyCode);
    return pad.hasMatch() ? QStringLiteral("KEYCODE_") + pad.captured(1) + QStringLiteral("PAD")
                          : keyCode;
}

int labelOfKeyCode(const KeyNames& names, const QString& keyCode)
{
    // An empty name would match the first label the table has no line for.
    if (keyCode.isEmpty())
        return 0;
    const int label = names.TeclaDeNombre(keyCode);
    if (label != 0)
        return label;
    // Written for today's emulator: the table says it the classic way.
    static const QRegularExpression todayPad(QStringLiteral("^KEYCODE_([0-9])PAD$"));
    if (const QRegularExpressionMatch pad = todayPad.match(keyCode); pad.hasMatch()) {
        const int classic = names.TeclaDeNombre(QStringLiteral("KEYCODE_") + pad.captured(1) +
                                                QStringLiteral("_PAD"));
        if (classic != 0)
            return classic;
    }
    for (const auto& [builtInLabel, builtInCode] : builtInKeyCodes) {
        if (keyCode == QLatin1String(builtInCode) && names.keyNameOfLabel(builtInLabel).isEmpty())
            return builtInLabel;
    }
    return 0;
}

int labelOfKeyCode(const QString& emulatorFolder, const QString& keyCode)
{
    return labelOfKeyCode(KeyNames(emulatorFolder), keyCode);
}

std::vector<ControllerEntry> controllerEntries(const KeyNames& names, const KeyTable& table,
                                               Dialect dialect)
{
    std::vector<ControllerEntry> entries;
    for (int player = 0; player < playerCount; ++player) {
        for (int control = 0; control < controlCount; ++control) {
            const int label = table[player][control];
            if (label <= 0)
                continue;
            const QString keyCode = keyCodeOfLabel(names, label);
            if (keyCode.isEmpty() || names.controlPortText(control).isEmpty())
                continue;
            entries.push_back(
                {names.NombrePuerto(control, player + 1), spelledFor(keyCode, dialect)});
        }
    }
    return entries;
}

std::vector<ControllerEntry> controllerEntries(const QString& emulatorFolder, const KeyTable& table,
                                               Dialect dialect)
{
    return controllerEntries(KeyNames(emulatorFolder), table, dialect);
}

QStringList controllerEntryLines(const std::vector<ControllerEntry>& entries)
{
    QStringList lines{QStringLiteral("#   Teclas configuradas para el Z e f r i n"),
                      QStringLiteral("#")};
    for (const ControllerEntry& entry : entries)
        lines << RellenarDerecha(entry.port, portColumn) + quoted(entry.keyCode);
    return lines;
}

QStringList controllerXmlLines(const std::vector<ControllerEntry>& entries)
{
    QStringList lines{
        QStringLiteral("<mameconfig version=\"10\">"),
        tabs(1) + QStringLiteral("<system name=\"default\">"),
        QString(),
        tabs(2) + QStringLiteral("<!-- Configuracion del teclado para Zefrin -->"),
        tabs(2) + QStringLiteral("<input>"),
    };
    for (const ControllerEntry& entry : entries) {
        lines << tabs(3) + QStringLiteral("<port type=") + quoted(xmlText(entry.port)) +
                     QLatin1Char('>');
        lines << tabs(4) + QStringLiteral("<newseq type=\"standard\">") + xmlText(entry.keyCode) +
                     QStringLiteral("</newseq>");
        lines << tabs(3) + QStringLiteral("</port>");
    }
    lines << tabs(2) + QStringLiteral("</input>") << tabs(1) + QStringLiteral("</system>")
          << QStringLiteral("</mameconfig>");
    return lines;
}

bool writeControllerFiles(const QString& emulatorFolder, const KeyTable& table, Dialect dialect)
{
    QDir ctrlr(emulatorPath(emulatorFolder, QStringLiteral("ctrlr")));
    if (!ctrlr.exists())
        return false;
    if (!QFileInfo(ctrlr.filePath(QStringLiteral("Zefrin"))).isDir() &&
        !ctrlr.mkdir(QStringLiteral("Zefrin")))
        return false;
    const std::vector<ControllerEntry> entries = controllerEntries(emulatorFolder, table, dialect);
    return writeTextLines(controllerEntryPath(emulatorFolder), controllerEntryLines(entries)) &&
           writeTextLines(controllerXmlPath(emulatorFolder), controllerXmlLines(entries));
}

namespace {

KeyTable entriesOf(const KeyNames& names, TextLineReader& lines)
{
    KeyTable table = emptyKeyTable();
    while (const std::optional<QString> nextLine = lines.next()) {
        const QString& line = *nextLine;
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QString port = NombreDeLinea(line);
        const int player = JugadorDeNombre(port) - 1;
        if (port.isEmpty() || player < 0 || player >= playerCount)
            continue;
        // An unknown name reads as control 0; only a name the table gives back is placed.
        const int control = names.ControlDeNombre(port);
        if (names.NombrePuerto(control, player + 1) != port)
            continue;
        const QString value = RestoDeLinea(line);
        if (value.size() < 2 || !value.startsWith(QLatin1Char('"')) ||
            !value.endsWith(QLatin1Char('"')))
            continue;
        table[player][control] = labelOfKeyCode(names, value.mid(1, value.size() - 2));
    }
    return table;
}

} // namespace

KeyTable readControllerEntries(const QString& emulatorFolder, const QString& path)
{
    TextLineReader lines(path);
    if (!lines.isOpen())
        return emptyKeyTable();
    return entriesOf(KeyNames(emulatorFolder), lines);
}

KeyTable readControllerEntries(const KeyNames& names, std::unique_ptr<QIODevice> entries)
{
    TextLineReader lines(std::move(entries));
    return entriesOf(names, lines);
}

} // namespace zefrin
