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
    return nameOfLine(line).toString();
}

QString RestoDeLinea(const QString& line)
{
    return restOfLine(line).toString();
}

QStringView nameOfLine(QStringView line)
{
    const qsizetype space = line.indexOf(QLatin1Char(' '));
    return space < 0 ? QStringView() : line.left(space).trimmed();
}

QStringView restOfLine(QStringView line)
{
    const qsizetype space = line.indexOf(QLatin1Char(' '));
    return space < 0 ? QStringView() : line.mid(space + 1).trimmed();
}

} // namespace zefrin
