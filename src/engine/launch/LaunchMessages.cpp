#include "LaunchMessages.h"

#include "engine/services/TextFile.h"

#include "engine/catalogue/RomFolder.h"

#include <QDir>
#include <QFileInfo>

namespace zefrin {

namespace {

using Failure = LaunchResult::Failure;

const QString paragraphBreak = QStringLiteral("\r\n\r\n");

QString errorTitle()
{
    return QStringLiteral("Error.");
}

// The rows a line of `length` characters takes when wrapped at `columns`.
qsizetype wrappedRows(qsizetype length, int columns)
{
    return length == 0 ? 1 : (length + columns - 1) / columns;
}

QString withDetail(const QString& text, const QString& detail)
{
    return detail.isEmpty() ? text : text + paragraphBreak + detail;
}

QString settingsFolderText()
{
    return QStringLiteral("No se puede modificar el archivo de configuraciones, compruebe que "
                          "todos los archivos de la carpeta 'cfg' dentro de la carpeta de M.A.M.E "
                          "no tengan la propiedad 'sólo lectura, de ser así Zefrin! no podrá "
                          "continuar con la carga de la ROM.");
}

QString unarmedFailureText(Failure failure)
{
    switch (failure) {
    case Failure::Script:
        return QStringLiteral("No se ha podido crear el archivo de órdenes que carga la ROM en la "
                              "carpeta temporal de Zefrin!, comprueba que la carpeta temporal del "
                              "sistema existe y que se puede escribir en ella.");
    case Failure::Start:
        return QStringLiteral("No se ha podido poner en marcha M.A.M.E para cargar la ROM, "
                              "comprueba que el archivo ejecutable del emulador sigue en su "
                              "carpeta y que se puede ejecutar.");
    case Failure::TemporaryFile:
        return QStringLiteral("No se ha podido borrar un archivo temporal de la carga de la ROM.");
    case Failure::Log:
        return QStringLiteral("No se ha podido leer lo que M.A.M.E ha escrito durante la carga "
                              "de la ROM, así que no habrá log que consultar.");
    case Failure::DefaultSettings:
        return QStringLiteral("No se ha podido borrar el archivo 'default.cfg' que M.A.M.E ha "
                              "guardado en la carpeta 'cfg' al cerrarse, comprueba que no tenga "
                              "la propiedad 'sólo lectura'. Mientras exista, M.A.M.E no "
                              "utilizará las teclas definidas desde el Zefrin!.");
    case Failure::Restore:
        return QStringLiteral("No se ha podido devolver a su sitio la configuración propia del "
                              "juego, comprueba que los archivos de la carpeta 'cfg' dentro de "
                              "la carpeta de M.A.M.E no tengan la propiedad 'sólo lectura'.");
    case Failure::SettingsAside:
    case Failure::Record:
    case Failure::None:
        break;
    }
    return settingsFolderText();
}

// The emulator's exit statuses (those of a game's run; 7 to 9 answer -romident only).
QString exitReason(int exitCode)
{
    switch (exitCode) {
    case 1:
        return QStringLiteral("M.A.M.E ha encontrado un fallo en sus propios datos de este juego "
                              "(la comprobación de validez no ha pasado).");
    case 2:
        return QStringLiteral("faltan archivos de la ROM o alguno no es el correcto (puede faltar "
                              "la ROM, un disco CHD o la ROM del juego original de un clon).");
    case 3:
        return QStringLiteral("M.A.M.E ha tenido un error grave al poner en marcha el juego.");
    case 4:
        return QStringLiteral("ha fallado un dispositivo de la máquina emulada.");
    case 5:
        return QStringLiteral("M.A.M.E no conoce este juego.");
    case 6:
        return QStringLiteral("la configuración no es válida (una opción de mame.ini o de la "
                              "orden no es correcta).");
    case 10:
        return QStringLiteral("M.A.M.E no encuentra el juego pedido.");
    default:
        break;
    }
    return QStringLiteral("M.A.M.E ha terminado con el código de error %1.").arg(exitCode);
}

// The shell gives 128 plus the signal's number for a program a signal ended.
constexpr int signalBase = 128;
constexpr int lastSignal = 64;

std::optional<QString> runFailure(const LaunchResult& result)
{
    if (result.crashed)
        return QStringLiteral("M.A.M.E se ha cerrado de golpe (lo ha terminado una señal del "
                              "sistema).");
    if (result.exitCode > signalBase && result.exitCode <= signalBase + lastSignal)
        return QStringLiteral("M.A.M.E se ha cerrado de golpe (señal %1).")
            .arg(result.exitCode - signalBase);
    if (result.exitCode != 0)
        return exitReason(result.exitCode);
    return std::nullopt;
}

// A line of the emulator's output as a message box can show it: a line of megabytes would
// stall its layout, and control bytes (of a game's binary output) show as nothing or cut it.
QString shownLine(QString line)
{
    constexpr qsizetype longest = 200;
    if (line.size() > longest)
        line = line.left(longest) + QChar(0x2026);
    for (QChar& c : line)
        if (c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QChar(QChar::ReplacementCharacter);
    return line;
}

// The lines of the log that say what went wrong, the last few of them; the last lines of
// all when none does.
QString lastLinesOf(const QByteArray& log)
{
    static const QStringList marks{QStringLiteral("Fatal error"),    QStringLiteral("Error:"),
                                   QStringLiteral("Unknown system"), QStringLiteral("NOT FOUND"),
                                   QStringLiteral("WRONG"),          QStringLiteral("Could not")};
    QStringList lines = splitLines(decodeSystemText(log));
    lines.removeAll(QString());
    QStringList marked;
    for (const QString& line : std::as_const(lines))
        for (const QString& mark : marks)
            if (line.contains(mark)) {
                marked << line;
                break;
            }
    const QStringList& shown = marked.isEmpty() ? lines : marked;
    const qsizetype count = marked.isEmpty() ? 3 : 4;
    if (shown.isEmpty())
        return QStringLiteral("(nada)");
    QStringList last = shown.mid(qMax<qsizetype>(0, shown.size() - count));
    for (QString& line : last)
        line = shownLine(line);
    return last.join(QStringLiteral("\r\n"));
}

} // namespace

std::optional<MessageText> failedRunMessage(const LaunchResult& result)
{
    const std::optional<QString> reason = runFailure(result);
    if (!reason)
        return std::nullopt;
    return MessageText{QStringLiteral("Error al cargar la ROM"),
                       QStringLiteral("No se ha podido cargar la ROM: ") + *reason +
                           paragraphBreak + QStringLiteral("Lo último que ha dicho M.A.M.E:") +
                           QStringLiteral("\r\n") + lastLinesOf(result.log.value_or(QByteArray())) +
                           paragraphBreak +
                           QStringLiteral("¿Quieres ver todo lo que ha escrito (\"Ver  Log\")?")};
}

QString failedRunStatus()
{
    return QStringLiteral("La ROM no se ha podido cargar.");
}

MessageText unrecognisedArchiveMessage()
{
    return {QStringLiteral("¡ATENCIÓN!"),
            QStringLiteral("La ROM que intentas ejecutar no es compatible con la versión de "
                           "M.A.M.E que tienes, puede que haya cambiado el archivo de nombre para "
                           "esta versión.") +
                paragraphBreak +
                QStringLiteral("    NOTA #1: Hay algunas ROMs que son utilizadas por otras cómo "
                               "una base de emulación, cómo es el caso de la 'neogeo.zip' que se "
                               "utiliza para cargar los juegos de NEO GEO, por este motivo puede "
                               "ocurrir que no sea detectada la ROM correctamente pero que si es "
                               "necesario que esté en la misma carpeta de las ROMs.") +
                paragraphBreak +
                QStringLiteral("    NOTA #2: Recuerda que también sucede que ROMs que tienes con "
                               "un nombre compatible no carguen debido a que ese archivo para ese "
                               "juego ya no tiene ese nombre pero si uno que podría eceptar "
                               "M.A.M.E(Hay juegos cuyos archivos .zip cambian de nombre para "
                               "nuevas versiones de M.A.M.E).")};
}

MessageText notPassableArchiveMessage(const QString& archive)
{
    return {QStringLiteral("¡ATENCIÓN!"),
            QStringLiteral("No se puede cargar el archivo ") + archive +
                QStringLiteral(" porque su nombre no se puede pasar tal cual a M.A.M.E: ") +
                notPassableReasons() +
                QStringLiteral(". Cámbiale el nombre en la carpeta roms para poder cargarlo.")};
}

MessageText launchFailureMessage(const LaunchResult& result)
{
    if (result.failure == Failure::Record)
        return {errorTitle(),
                QStringLiteral("No se puede guardar la nota de Zefrin! en ") +
                    QDir::toNativeSeparators(result.detail) +
                    QStringLiteral(", y sin ella la configuración propia del juego podría quedarse "
                                   "apartada si Zefrin! se cerrara durante la partida. No se ha "
                                   "modificado nada.")};
    if (result.armed)
        return {errorTitle(), settingsFolderText()};
    return {errorTitle(), withDetail(unarmedFailureText(result.failure), result.detail)};
}

MessageText strandedBackupMessage(const QString& backupPath, const QString& settingsPath)
{
    return {errorTitle(),
            QStringLiteral("La configuración propia del juego no se ha podido devolver a su "
                           "sitio y se ha quedado en el archivo '") +
                backupPath +
                QStringLiteral("'. Zefrin! lo intentará de nuevo la próxima vez que se abra; "
                               "también puedes recuperarla tú mismo cambiándole el nombre a '") +
                QFileInfo(settingsPath).fileName() +
                QStringLiteral("' antes de volver a cargar el juego con las teclas definidas.")};
}

QString launchLogHeading(const QString& lastTitle)
{
    return QStringLiteral("Juego cargado: ") + lastTitle + paragraphBreak +
           QStringLiteral("Sucesos:") + paragraphBreak;
}

MessageText launchLogMessage(const QString& lastTitle, const QByteArray& lastLog)
{
    if (lastLog.isEmpty())
        return {QStringLiteral("Visor de Sucesos."), QStringLiteral("No hay sucesos.")};
    return {QStringLiteral("Visor de sucesos."),
            launchLogHeading(lastTitle) + decodeSystemText(lastLog)};
}

bool fitsInMessageBox(const QByteArray& text, int rows, int columns)
{
    if (rows <= 0 || columns <= 0)
        return false;
    // Far more bytes than the box has room for characters: no need to count them.
    if (text.size() / 4 > qsizetype(rows) * columns)
        return false;
    qsizetype used = 0;
    qsizetype lineLength = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size && used <= rows; ++i) {
        const char c = text.at(i);
        if (c == '\r' && i + 1 < size && text.at(i + 1) == '\n')
            continue; // the LF that follows ends the line
        if (c != '\r' && c != '\n') {
            // A character is counted at its first byte.
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
                ++lineLength;
            continue;
        }
        used += wrappedRows(lineLength, columns);
        lineLength = 0;
    }
    if (lineLength > 0)
        used += wrappedRows(lineLength, columns);
    return used <= rows;
}

bool logFitsInMessageBox(const QString& heading, const QByteArray& log, int rows, int columns)
{
    // A log far longer than the box holds is never copied to be counted.
    if (log.size() / 4 > qsizetype(rows) * columns)
        return false;
    return fitsInMessageBox(encodeSystemText(heading) + log, rows, columns);
}

} // namespace zefrin
