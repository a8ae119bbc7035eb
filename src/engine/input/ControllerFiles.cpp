#include "ControllerFiles.h"

#include "KeyAssignment.h"
#include "KeyNameTable.h"
#include "OptionLines.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"

#include <QDir>
#include <QFileInfo>

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

QString keyCodeOfLabel(const QString& emulatorFolder, int label)
{
    const QString name = keyNameOfLabel(emulatorFolder, label);
    if (!name.isEmpty())
        return name;
    for (const auto& [builtInLabel, keyCode] : builtInKeyCodes) {
        if (builtInLabel == label)
            return QLatin1String(keyCode);
    }
    return QString();
}

int labelOfKeyCode(const QString& emulatorFolder, const QString& keyCode)
{
    // An empty name would match the first label the table has no line for.
    if (keyCode.isEmpty())
        return 0;
    const int label = TeclaDeNombre(emulatorFolder, keyCode);
    if (label != 0)
        return label;
    for (const auto& [builtInLabel, builtInCode] : builtInKeyCodes) {
        if (keyCode == QLatin1String(builtInCode) &&
            keyNameOfLabel(emulatorFolder, builtInLabel).isEmpty())
            return builtInLabel;
    }
    return 0;
}

std::vector<ControllerEntry> controllerEntries(const QString& emulatorFolder, const KeyTable& table)
{
    std::vector<ControllerEntry> entries;
    for (int player = 0; player < playerCount; ++player) {
        for (int control = 0; control < controlCount; ++control) {
            const int label = table[player][control];
            if (label <= 0)
                continue;
            const QString keyCode = keyCodeOfLabel(emulatorFolder, label);
            if (keyCode.isEmpty() || controlPortText(emulatorFolder, control).isEmpty())
                continue;
            entries.push_back({NombrePuerto(emulatorFolder, control, player + 1), keyCode});
        }
    }
    return entries;
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

bool writeControllerFiles(const QString& emulatorFolder, const KeyTable& table)
{
    QDir ctrlr(emulatorPath(emulatorFolder, QStringLiteral("ctrlr")));
    if (!ctrlr.exists())
        return false;
    if (!QFileInfo(ctrlr.filePath(QStringLiteral("Zefrin"))).isDir() &&
        !ctrlr.mkdir(QStringLiteral("Zefrin")))
        return false;
    const std::vector<ControllerEntry> entries = controllerEntries(emulatorFolder, table);
    return writeTextLines(controllerEntryPath(emulatorFolder), controllerEntryLines(entries)) &&
           writeTextLines(controllerXmlPath(emulatorFolder), controllerXmlLines(entries));
}

KeyTable readControllerEntries(const QString& emulatorFolder, const QString& path)
{
    KeyTable table = emptyKeyTable();
    const std::optional<QStringList> lines = readTextLines(path);
    if (!lines)
        return table;
    for (const QString& line : *lines) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QString port = NombreDeLinea(line);
        const int player = JugadorDeNombre(port) - 1;
        if (port.isEmpty() || player < 0 || player >= playerCount)
            continue;
        // An unknown name reads as control 0; only a name the table gives back is placed.
        const int control = ControlDeNombre(emulatorFolder, port);
        if (NombrePuerto(emulatorFolder, control, player + 1) != port)
            continue;
        const QString value = RestoDeLinea(line);
        if (value.size() < 2 || !value.startsWith(QLatin1Char('"')) ||
            !value.endsWith(QLatin1Char('"')))
            continue;
        table[player][control] = labelOfKeyCode(emulatorFolder, value.mid(1, value.size() - 2));
    }
    return table;
}

} // namespace zefrin
