#pragma once
// The program's colours. The key configuration's availability is read back from a button's
// colour, so these values are compared as well as painted.

#include <QColor>
#include <QFont>

namespace zefrin::Colours {

inline QColor windowBackground()
{
    return QColor(15, 63, 96);
}
inline QColor buttonNormal()
{
    return QColor(132, 181, 217);
}
inline QColor buttonPressed()
{
    return QColor(194, 218, 237);
}
inline QColor disabledGrey()
{
    return QColor(128, 128, 128);
}
inline QColor listBackground()
{
    return QColor(236, 249, 253);
}

// Status texts of the main window.
inline QColor statusRed()
{
    return QColor(255, 0, 0);
}
inline QColor statusGreen()
{
    return QColor(0, 192, 0);
}
inline QColor statusTeal()
{
    return QColor(0, 128, 128);
}
inline QColor statusDarkBlue()
{
    return QColor(0, 0, 192);
}

} // namespace zefrin::Colours

namespace zefrin {

// A narrow sans serif at the size of the classic dialog font; fontconfig picks its stand-in.
inline QFont windowFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    return font;
}

} // namespace zefrin
