#include "ManagerMessages.h"

#include "engine/catalogue/RomFolder.h"
#include "gui/widgets/Seams.h"

namespace zefrin {

namespace {

void critical(Dialogs& dialogs, QWidget* parent, const QString& title, const QString& text)
{
    dialogs.message(parent, Dialogs::Icon::Critical, title, text);
}

QString interrupted(const PendingRename& rename)
{
    return QStringLiteral("Zefrin! se cerró mientras comprobaba el archivo ") + rename.archive +
           QStringLiteral(", que tenía temporalmente el nombre ") + rename.temporary +
           QStringLiteral(" en la carpeta roms. ");
}

} // namespace

void showCheckFailure(Dialogs& dialogs, QWidget* parent, CheckOutcome outcome,
                      const QString& archive, const QString& candidate, const QString& recordPath)
{
    switch (outcome) {
    case CheckOutcome::ArchiveMissing:
        critical(dialogs, parent, QStringLiteral("No es posible continuar"),
                 QStringLiteral("El archivo ") + archive +
                     QStringLiteral(" ha sido borrado o movido de la carpeta roms."));
        return;
    case CheckOutcome::RenameRefused:
        critical(dialogs, parent, QStringLiteral("Error"),
                 QStringLiteral("No se puede cambiar el nombre del archivo ") + archive +
                     QStringLiteral(": la carpeta roms o el archivo son de sólo lectura o están "
                                    "bloqueados. No se ha modificado nada."));
        return;
    case CheckOutcome::RecordFailed:
        critical(dialogs, parent, QStringLiteral("Error"),
                 QStringLiteral("No se puede guardar la nota del cambio de nombre en ") +
                     recordPath +
                     QStringLiteral(", y sin ella el archivo podría quedarse con otro nombre si "
                                    "Zefrin! se cerrara durante la comprobación. No se ha "
                                    "modificado nada."));
        return;
    case CheckOutcome::EmulatorNotRun:
        critical(dialogs, parent, QStringLiteral("Error"),
                 QStringLiteral("No se ha podido ejecutar M.A.M.E: no se puede escribir o ejecutar "
                                "el archivo abrir.bat en la carpeta del emulador. El archivo ") +
                     archive + QStringLiteral(" conserva su nombre."));
        return;
    case CheckOutcome::DiskFull:
        critical(dialogs, parent, QStringLiteral("Error"),
                 QStringLiteral("El disco de la carpeta del emulador está lleno: M.A.M.E no ha "
                                "podido escribir su respuesta, así que no se sabe si el archivo ") +
                     archive +
                     QStringLiteral(" es compatible. Libera espacio y vuelve a intentarlo. El "
                                    "archivo conserva su nombre."));
        return;
    case CheckOutcome::NotRestored:
        critical(dialogs, parent, QStringLiteral("Error"),
                 QStringLiteral("No se ha podido devolver su nombre al archivo ") + archive +
                     QStringLiteral(", que ahora se llama ") + candidate +
                     QStringLiteral(" en la carpeta roms. Zefrin! lo intentará de nuevo la "
                                    "próxima vez que se abra; también puedes cambiarle el nombre "
                                    "tú mismo."));
        return;
    case CheckOutcome::NotPassable:
        showNameNotPassable(dialogs, parent, isPassableArchiveName(archive) ? candidate : archive);
        return;
    case CheckOutcome::Good:
    case CheckOutcome::NotGood:
    case CheckOutcome::NameTaken:
    case CheckOutcome::GoodBeside:
    case CheckOutcome::NoRomFiles:
        return;
    }
}

void showCompareNameTaken(Dialogs& dialogs, QWidget* parent)
{
    critical(dialogs, parent, QStringLiteral("No es posible la comparación"),
             QStringLiteral("No puedes comparar la ROM con el juego seleccionado mientras exista "
                            "un archivo de ROM para este."));
}

void showNoRomFiles(Dialogs& dialogs, QWidget* parent, bool update)
{
    const QString why = QStringLiteral("El juego seleccionado no usa ningún archivo de ROM "
                                       "(M.A.M.E lo emula sin ellas), así que ningún archivo .zip "
                                       "es compatible con él.");
    if (update)
        critical(dialogs, parent, QStringLiteral("¡No!"),
                 why + QStringLiteral(" No se ha cambiado el nombre del archivo."));
    else
        critical(dialogs, parent, QStringLiteral("¡Ogh!"), why);
}

void showUnknownGameArchive(Dialogs& dialogs, QWidget* parent)
{
    dialogs.message(parent, Dialogs::Icon::Critical, QStringLiteral("¡No!"),
                    QStringLiteral("El juego seleccionado no figura en la lista de juegos de "
                                   "M.A.M.E (lista.txt), así que no se sabe qué archivo le "
                                   "corresponde. Vuelve a seleccionar el juego en la lista."));
}

void showUsersExchangeFiles(Dialogs& dialogs, QWidget* parent, const QStringList& names)
{
    dialogs.message(parent, Dialogs::Icon::Critical, QStringLiteral("Error"),
                    QStringLiteral("En la carpeta del emulador hay archivos tuyos con los nombres "
                                   "que Zefrin! usa para hablar con M.A.M.E (") +
                        names.join(QStringLiteral(", ")) +
                        QStringLiteral("), y esta orden los sobrescribiría. Cámbiales el nombre o "
                                       "muévelos a otra carpeta y vuelve a intentarlo. No se ha "
                                       "modificado nada."));
}

void showNameNotPassable(Dialogs& dialogs, QWidget* parent, const QString& name)
{
    critical(dialogs, parent, QStringLiteral("¡No!"),
             QStringLiteral("No se puede comprobar ni consultar el archivo ") + name +
                 QStringLiteral(" porque su nombre no se puede pasar tal cual a M.A.M.E: ") +
                 notPassableReasons() + QStringLiteral(". No se ha modificado nada."));
}

void showUpdateRenameFailed(Dialogs& dialogs, QWidget* parent, const QString& archive,
                            const QString& newName)
{
    dialogs.message(parent, Dialogs::Icon::Critical, QStringLiteral("Error"),
                    QStringLiteral("El archivo ") + archive +
                        QStringLiteral(" es compatible con el juego, pero no se ha podido "
                                       "cambiar su nombre a ") +
                        newName + QStringLiteral("."));
}

void showReportNotWritten(Dialogs& dialogs, QWidget* parent, const QString& error)
{
    dialogs.message(parent, Dialogs::Icon::Critical, QStringLiteral("Error"),
                    QStringLiteral("No se ha podido escribir el informe: ") + error +
                        QStringLiteral("."));
}

void showReportNotOpened(Dialogs& dialogs, QWidget* parent, const QString& path)
{
    dialogs.message(parent, Dialogs::Icon::Critical, QStringLiteral("Error"),
                    QStringLiteral("No se ha podido abrir el informe en el editor de textos. "
                                   "Puedes leerlo en ") +
                        path + QStringLiteral(" mientras Zefrin! siga abierto."));
}

void presentReport(Dialogs& dialogs, Desktop& desktop, QWidget* parent, const ReportResult& report)
{
    if (!report.written) {
        showReportNotWritten(dialogs, parent, report.error);
        return;
    }
    if (!report.unasked.isEmpty())
        dialogs.message(parent, Dialogs::Icon::Critical, QStringLiteral("Error"),
                        QStringLiteral("No se ha podido preguntar a M.A.M.E: no se puede "
                                       "escribir ") +
                            report.unasked +
                            QStringLiteral(". Comprueba que la carpeta de M.A.M.E no es de "
                                           "sólo lectura. El informe se abre sin sus "
                                           "respuestas."));
    if (!desktop.openFile(report.path))
        showReportNotOpened(dialogs, parent, report.path);
}

void showRecovery(Dialogs& dialogs, QWidget* parent, const Recovery& recovery)
{
    switch (recovery.outcome) {
    case RecoveryOutcome::Restored:
        dialogs.message(parent, Dialogs::Icon::Information, QStringLiteral("Archivo recuperado"),
                        interrupted(recovery.rename) +
                            QStringLiteral("Se le ha devuelto su nombre."));
        return;
    case RecoveryOutcome::BothPresent:
        dialogs.message(parent, Dialogs::Icon::Exclamation, QStringLiteral("Atención"),
                        interrupted(recovery.rename) +
                            QStringLiteral("Ahora hay un archivo con cada uno de los dos "
                                           "nombres, así que no se ha tocado ninguno: "
                                           "comprueba cuál es cuál."));
        return;
    case RecoveryOutcome::RestoreFailed:
        dialogs.message(parent, Dialogs::Icon::Critical, QStringLiteral("Error"),
                        interrupted(recovery.rename) +
                            QStringLiteral("No ha sido posible devolverle su nombre; se "
                                           "intentará de nuevo la próxima vez que se abra "
                                           "Zefrin!. También puedes cambiarle el nombre tú "
                                           "mismo."));
        return;
    case RecoveryOutcome::SetAside:
        dialogs.message(parent, Dialogs::Icon::Exclamation, recordSetAsideTitle(),
                        recordSetAsideText(recovery.setAside));
        return;
    case RecoveryOutcome::NothingPending:
    case RecoveryOutcome::AlreadyInPlace:
    case RecoveryOutcome::Missing:
        return;
    }
}

} // namespace zefrin
