#pragma once
// The "name value" lines shared by the emulator's settings file mame.ini and the controller
// entry file: a name, blanks up to a fixed column, then the value. The name ends at the first
// space; a line without a space has neither name nor value.

#include <QString>

namespace zefrin {

// `text` followed by spaces up to `width` characters; a longer text comes back whole.
QString RellenarDerecha(const QString& text, int width);

// The trimmed text before the first space, or "" when the line has no space.
QString NombreDeLinea(const QString& line);

// The trimmed text after the first space, or "" when the line has no space.
QString RestoDeLinea(const QString& line);

// The same two as views into the line.
QStringView nameOfLine(QStringView line);
QStringView restOfLine(QStringView line);

} // namespace zefrin
