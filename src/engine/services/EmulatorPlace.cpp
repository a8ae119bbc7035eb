#include "EmulatorPlace.h"

#include "EmulatorCommands.h"
#include "SystemServices.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace zefrin {

namespace {

const QString folderKey = QStringLiteral("emulatorFolder");

// The folder reaches the command scripts quoted; a name that a shell would read as more than
// a name (a variable, a command, a quote, a line end) is refused all the same, so it can
// never run anything even through a script written elsewhere.
bool holdsShellCharacters(const QString& name)
{
    static const QString special = QStringLiteral("$`\"'\\;&|<>()*?[]");
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || special.contains(c))
            return true;
    return false;
}

QString absoluteFolder(const QString& folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

bool isSystemFolder(const QString& folder, const QStringList& systemFolders)
{
    const QString resolved = QFileInfo(folder).canonicalFilePath();
    for (const QString& system : systemFolders)
        if (!resolved.isEmpty() && QFileInfo(system).canonicalFilePath() == resolved)
            return true;
    return false;
}

} // namespace

FolderProblem folderProblem(const QString& folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.exists())
        return FolderProblem::Missing;
    if (!info.isDir())
        return FolderProblem::NotAFolder;
    if (!info.isReadable() || !info.isExecutable())
        return FolderProblem::Unreadable;
    if (holdsShellCharacters(folder))
        return FolderProblem::ShellCharacters;
    return FolderProblem::None;
}

QString folderProblemTitle()
{
    return QStringLiteral("Carpeta no válida.");
}

QString folderProblemText(FolderProblem problem, const QString& folder)
{
    switch (problem) {
    case FolderProblem::Missing:
        return QStringLiteral("No existe la carpeta \"%1\". Indica la carpeta del M.A.M.E, por "
                              "ejemplo: zefrin ~/mame")
            .arg(folder);
    case FolderProblem::NotAFolder:
        return QStringLiteral("\"%1\" no es una carpeta. Indica la carpeta del M.A.M.E, por "
                              "ejemplo: zefrin ~/mame")
            .arg(folder);
    case FolderProblem::Unreadable:
        return QStringLiteral("No se puede leer la carpeta \"%1\".").arg(folder);
    case FolderProblem::ShellCharacters:
        return QStringLiteral("El nombre de la carpeta \"%1\" tiene caracteres que Zefrin! no "
                              "admite ($ ` \" ' \\ ; & | < > ( ) * ? [ ] o saltos de línea). "
                              "Cambia el nombre de la carpeta o usa otra.")
            .arg(folder);
    case FolderProblem::None:
        break;
    }
    return QString();
}

std::optional<QString> commandLineHelp(const QStringList& arguments)
{
    if (arguments.size() != 2 ||
        (arguments.at(1) != QLatin1String("-h") && arguments.at(1) != QLatin1String("--help")))
        return std::nullopt;
    return QStringLiteral(
        "Uso: zefrin [CARPETA]\n"
        "\n"
        "Abre Zefrin! en la carpeta del M.A.M.E (la que tiene las carpetas roms, cfg y ctrlr).\n"
        "Sin CARPETA usa la carpeta del programa si tiene el M.A.M.E o una carpeta roms (salvo\n"
        "si es una carpeta del sistema, como /usr/bin); si no, la última que se usó; y si no, la\n"
        "pregunta. Una carpeta sin su propio mame usa el mame del PATH o, si no está en el\n"
        "PATH, el que instala la distribución (/usr/games/mame).\n"
        "Una carpeta cuyo nombre empieza por guion se indica así: zefrin ./-carpeta\n");
}

FolderDecision decideEmulatorFolder(const QStringList& arguments, const QString& programFolder,
                                    const QSettings& settings, const QStringList& systemFolders)
{
    if (arguments.size() > 1) {
        // Checked and named whole: a relative name stands for a folder inside the one the
        // program was started in, whose name the checks must see too.
        const QString& argument = arguments.at(1);
        const QString given = argument.isEmpty() ? argument : absoluteFolder(argument);
        return {FolderSource::Argument, given, folderProblem(given)};
    }
    if (!isSystemFolder(programFolder, systemFolders) &&
        (FileExists(emulatorPath(programFolder, emulatorExecutableName())) ||
         QFileInfo(emulatorPath(programFolder, QStringLiteral("roms"))).isDir()))
        return {FolderSource::ProgramFolder, programFolder, FolderProblem::None};
    const QString remembered = settings.value(folderKey).toString();
    if (!remembered.isEmpty() && folderProblem(remembered) == FolderProblem::None)
        return {FolderSource::Remembered, remembered, FolderProblem::None};
    return {};
}

QStringList distributionEmulatorFolders()
{
#ifdef Q_OS_WIN
    return {};
#else
    return {QStringLiteral("/usr/games"), QStringLiteral("/usr/local/games"),
            QStringLiteral("/usr/bin"), QStringLiteral("/usr/local/bin"),
            QStringLiteral("/snap/bin")};
#endif
}

EmulatorPlace placeFor(const QString& folder, FolderSource source, const QStringList& systemFolders)
{
    const QString own = emulatorPath(folder, emulatorExecutableName());
    if (source == FolderSource::ProgramFolder || FileExists(own))
        return {folder, own};
    QString installed = QStandardPaths::findExecutable(emulatorExecutableName());
    if (installed.isEmpty() && !systemFolders.isEmpty())
        installed = QStandardPaths::findExecutable(emulatorExecutableName(), systemFolders);
    return {folder, installed.isEmpty() ? own : installed};
}

QString emulatorMissingTitle()
{
    return QStringLiteral("Fichero no encontrado.");
}

QString emulatorMissingText(const QString& folder)
{
#ifdef Q_OS_WIN
    (void)folder;
    return QStringLiteral("No se ha encontrado el archivo ejecutable de M.A.M.E (mame.exe) sin "
                          "este archivo el Zefrin! no funcionará, por favor copia este programa "
                          "en la misma carpeta que el M.A.M.E.");
#else
    return QStringLiteral("No se ha encontrado M.A.M.E: la carpeta %1 no tiene el programa mame, "
                          "y tampoco está instalado en el sistema. Instálalo con el gestor de "
                          "paquetes de tu distribución (en Debian o Ubuntu, con la orden: sudo apt "
                          "install mame) y vuelve a abrir Zefrin!, o copia Zefrin! en la carpeta "
                          "de tu M.A.M.E.")
        .arg(folder);
#endif
}

QString emulatorUnusableReason(const QString& program)
{
    const QFileInfo info(program);
    if (!info.exists())
        return QStringLiteral("es un enlace a un archivo que ya no existe");
    if (info.isDir())
        return QStringLiteral("es una carpeta");
    if (!info.isExecutable())
        return QStringLiteral("no tiene permiso de ejecución");
    return QString();
}

QString emulatorUnusableTitle()
{
    return QStringLiteral("M.A.M.E no se puede ejecutar.");
}

QString emulatorUnusableText(const QString& program, const QString& reason)
{
    const QFileInfo info(program);
    return QStringLiteral("El programa %1 de la carpeta %2 no se puede ejecutar: %3. Corrígelo y "
                          "vuelve a abrir Zefrin!.")
        .arg(info.fileName(), QDir::toNativeSeparators(info.absolutePath()), reason);
}

void rememberEmulatorFolder(QSettings& settings, const EmulatorPlace& place, FolderSource source)
{
    if ((source == FolderSource::Argument || source == FolderSource::Ask) &&
        FileExists(place.program))
        settings.setValue(folderKey, place.folder);
}

} // namespace zefrin
