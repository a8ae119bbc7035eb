#include "ReleaseNotes.h"

#include <QStringList>

namespace zefrin {

QString programVersion()
{
    return QStringLiteral("0.21a");
}

QUrl officialPageUrl()
{
    return QUrl(QStringLiteral("https://mamedev.org/"));
}

QUrl romsPageUrl()
{
    return QUrl(QStringLiteral("https://www.emulatronia.com/"));
}

QString releaseNotes()
{
    const QStringList lines = {
        QStringLiteral("Z e f r i n !      v") + programVersion(),
        QString(),
        QStringLiteral("Zefrin! es un cargador para las versiones de M.A.M.E que se manejan desde "
                       "la línea de órdenes (las de MS-DOS), pensado para la versión 0.70b y "
                       "las posteriores. Puede funcionar también con versiones anteriores, "
                       "aunque entonces es posible que algunas de sus opciones, como la "
                       "configuración de los controles, queden fuera de tu alcance."),
        QString(),
        QStringLiteral("Su objetivo es que puedas cargar los juegos desde una ventana con un "
                       "doble clic, en lugar de tener que escribir las órdenes a mano en el "
                       "símbolo del sistema."),
        QString(),
        QStringLiteral("Cambios en la versión 0.21a"),
        QStringLiteral("- Zefrin! no se deja cerrar mientras M.A.M.E está funcionando."),
        QStringLiteral("- Los botones y la casilla de la ventana principal quedan bloqueados "
                       "mientras el juego está en marcha."),
        QStringLiteral("- Mensajes claros cuando un archivo tiene la propiedad 'sólo lectura'."),
        QStringLiteral("- Las teclas definidas desde Zefrin! mandan también sobre las que se "
                       "guardaron para cada juego desde el propio M.A.M.E."),
        QStringLiteral("- Se ha retirado el enlace a la página con todas las ROMs, porque la "
                       "página ha cerrado."),
        QString(),
        QStringLiteral("Cambios en la versión 0.20d"),
        QStringLiteral("- Nuevo gestor de ROMs con tres órdenes: buscar el juego de una ROM o "
                       "compararla con un juego, actualizar su nombre para la nueva versión de "
                       "M.A.M.E y sacar informes de ROMs y juegos."),
        QStringLiteral("- Al seleccionar un juego se muestra el nombre de su archivo zip."),
        QString(),
        QStringLiteral("Cambios en la versión 0.20c"),
        QStringLiteral("- Funcionamiento seguro desde un CD: las opciones que escribirían en el "
                       "disco se desactivan."),
        QStringLiteral("- La lista de juegos sale ordenada, con las ROMs desconocidas al final."),
        QString(),
        QStringLiteral("Cambios en la versión 0.20b"),
        QStringLiteral("- Configuración de las teclas de hasta cuatro jugadores."),
        QStringLiteral("- El botón 'Ver  Log' muestra lo que M.A.M.E escribió al cargar la "
                       "última ROM."),
        QStringLiteral("- La ventana principal se puede agrandar y la lista crece con ella."),
        QString(),
        QStringLiteral("Cambios para la versión 0.10"),
        QStringLiteral("- Primera versión: los juegos se cargan con un doble clic."),
        QStringLiteral("- Zefrin! crea por sí mismo los archivos que necesita para funcionar."),
        QStringLiteral("- Ventana 'Acerca de' con enlaces a páginas de interés y el botón de las "
                       "notas de las versiones."),
    };
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace zefrin
