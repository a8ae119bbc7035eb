#pragma once
// Window layouts are designed in twips; the screen has 15 twips to a pixel at 96 dpi.

#include <QRect>

namespace zefrin {

constexpr int twipsPerPixel = 15;

constexpr int pixels(double twips)
{
    return static_cast<int>(twips / twipsPerPixel + 0.5);
}

constexpr double twips(int pixels)
{
    return static_cast<double>(pixels) * twipsPerPixel;
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

} // namespace zefrin
