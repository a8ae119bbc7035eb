#include "OptionLines.h"

namespace zefrin {

QString RellenarDerecha(const QString& text, int width)
{
    if (text.size() >= width)
        return text;
    return text + QString(width - text.size(), QLatin1Char(' '));
}

QString NombreDeLinea(const QString& line)
{
    const qsizetype space = line.indexOf(QLatin1Char(' '));
    return space < 0 ? QString() : line.left(space).trimmed();
}

QString RestoDeLinea(const QString& line)
{
    const qsizetype space = line.indexOf(QLatin1Char(' '));
    return space < 0 ? QString() : line.mid(space + 1).trimmed();
}

} // namespace zefrin
