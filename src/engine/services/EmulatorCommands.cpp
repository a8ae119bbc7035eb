#include "EmulatorCommands.h"

#include "TextFile.h"

#include <QFile>

namespace zefrin {

QString shellQuote(const QString& word)
{
#ifdef Q_OS_WIN
    // Windows names hold no double quotes; a percent sign would expand inside a batch file.
    QString quoted = word;
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
#else
    // Inside single quotes the shell gives every character its literal meaning; a quote of
    // the word itself closes, escapes and reopens.
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
#endif
}

QString listGamesLine()
{
    return QStringLiteral("mame -listfull > lista.txt");
}

QString bothStreamsInto(const QString& file)
{
    // Errors too, in the order written: today's emulators say on standard error why a game
    // does not start or a set is not found.
    return QStringLiteral(" > ") + file + QStringLiteral(" 2>&1");
}

namespace {

// Where today's emulator is to find the folder's files; the scripts run in the folder.
const QString folderRoms = QStringLiteral(" -rompath roms");
const QString folderFiles = QStringLiteral(" -inipath . -rompath roms -cfg_directory cfg");

// Into the answer file NUMBER.p.
QString into(int number)
{
    return bothStreamsInto(QString::number(number) + QStringLiteral(".p"));
}

} // namespace

QString verifySetLine(const QString& set, Dialect dialect)
{
    if (dialect == Dialect::Today)
        return QStringLiteral("mame ") + shellQuote(set) + QStringLiteral(" -verifyroms") +
               folderRoms + QStringLiteral(" > 1.p");
    return QStringLiteral("mame ") + shellQuote(set) + QStringLiteral(" -verifysets > 1.p");
}

QString verifySetLineIn(const QString& set, const QString& romFolder)
{
    return QStringLiteral("mame ") + shellQuote(set) + QStringLiteral(" -verifyroms -rompath ") +
           shellQuote(romFolder) + QStringLiteral(" > 1.p");
}

QString listRomsLine(const QString& set)
{
    return QStringLiteral("mame ") + shellQuote(set) + QStringLiteral(" -listroms") +
           bothStreamsInto(QStringLiteral("1.p"));
}

QString setCrcsLine(const QString& set)
{
    return QStringLiteral("mame -listcrc ") + shellQuote(set) + QStringLiteral(" > 2.p");
}

QStringList archiveDetailLines(const QString& archiveFileName, Dialect dialect)
{
    const QString file = shellQuote(QStringLiteral("roms/") + archiveFileName);
    const QString set = shellQuote(StripExtension(archiveFileName));
    if (dialect == Dialect::Today)
        return {QStringLiteral("mame -romident ") + file + into(1),
                QStringLiteral("mame -listroms ") + set + into(2),
                QStringLiteral("mame -verifyroms ") + set + folderRoms + into(3)};
    return {QStringLiteral("mame ") + file + QStringLiteral(" -romident") + into(1),
            QStringLiteral("mame ") + set + QStringLiteral(" -listroms") + into(2),
            QStringLiteral("mame ") + set + QStringLiteral(" -verifyroms") + into(3),
            QStringLiteral("mame ") + file + QStringLiteral(" -isknown") + into(4)};
}

QStringList playScriptLines(const QString& emulatorFolder, const QString& set, bool withoutSound,
                            const QString& logPath, Dialect dialect,
                            const QString& controllerFolders, const QString& firstRomFolder)
{
    QString run = QStringLiteral("mame ") + shellQuote(set);
    if (dialect == Dialect::Today)
        run += folderFiles + QStringLiteral(" -ctrlrpath ") + shellQuote(controllerFolders);
    else if (withoutSound)
        run += QStringLiteral(" -soundcard 0");
    // The last -rompath of a command line is the one that counts.
    if (dialect == Dialect::Today && !firstRomFolder.isEmpty())
        run += QStringLiteral(" -rompath ") + shellQuote(firstRomFolder + QStringLiteral(";roms"));
    run += bothStreamsInto(shellQuote(logPath));
    return {QStringLiteral("cd ") + shellQuote(emulatorFolder), run};
}

bool writeScript(const QString& path, const QStringList& lines)
{
    return writeTextLines(path, lines);
}

namespace {

// PATH cannot hold a folder whose name has a colon; the scripts run in the emulator folder,
// so the relative entry names the same place.
QString emulatorPathEntry(const QString& emulatorFolder)
{
    return emulatorFolder.contains(QLatin1Char(':')) ? QStringLiteral(".") : emulatorFolder;
}

QString emulatorOrOwn(const QString& emulatorFolder, const QString& emulator)
{
    return emulator.isEmpty() ? emulatorPath(emulatorFolder, emulatorExecutableName()) : emulator;
}

} // namespace

CommandLine scriptCommand(const QString& emulatorFolder, const QString& scriptPath,
                          const QString& emulator)
{
#ifdef Q_OS_WIN
    Q_UNUSED(emulator);
    CommandLine command(QStringLiteral("cmd.exe"), {QStringLiteral("/c"), scriptPath});
    command.workingFolder = emulatorFolder;
    return command;
#else
    // The scripts keep their CR LF line ends, but the shell would take each CR as the last
    // character of the line's last word (a redirection to "1.p\r"), so it gets them without.
    QFile script(scriptPath);
    if (!script.open(QIODevice::ReadOnly))
        return CommandLine::failed(emulatorFolder, script.errorString());
    // "mame" in a script is the emulator decided at start and no other: were the folder's own
    // one not executable (copied from a FAT stick, a zip), the shell would otherwise run the
    // next one on PATH.
    const QString function = QStringLiteral("mame() { ") +
                             shellQuote(emulatorOrOwn(emulatorFolder, emulator)) +
                             QStringLiteral(" \"$@\"; }\n");
    const QString text = function + decodeSystemText(script.readAll().replace("\r\n", "\n"));
    CommandLine command(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), text});
    command.workingFolder = emulatorFolder;
    command.pathFirst = QStringList{emulatorPathEntry(emulatorFolder)};
    return command;
#endif
}

bool listsRomCrcs(Dialect dialect)
{
    return dialect == Dialect::Today;
}

QStringList listCrcArguments()
{
    return {QStringLiteral("-listcrc")};
}

CommandLine emulatorCommand(const QString& emulatorFolder, const QStringList& arguments,
                            const QString& emulator)
{
    CommandLine command(emulatorOrOwn(emulatorFolder, emulator), arguments);
    command.workingFolder = emulatorFolder;
    command.pathFirst = QStringList{emulatorPathEntry(emulatorFolder)};
    return command;
}

QString emulatorExecutableName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("mame.exe");
#else
    return QStringLiteral("mame");
#endif
}

} // namespace zefrin
