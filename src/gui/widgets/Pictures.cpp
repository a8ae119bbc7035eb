#include "Pictures.h"

#include "Colours.h"

#include <QPainter>

namespace zefrin {

QPixmap joystickPicture(int size)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 10.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 40, 40));
    painter.drawRoundedRect(QRectF(unit, 6.5 * unit, 8 * unit, 3 * unit), unit, unit);
    painter.setBrush(QColor(200, 200, 200));
    painter.drawRect(QRectF(4.6 * unit, 3 * unit, 0.8 * unit, 4 * unit));
    painter.setBrush(QColor(220, 30, 30));
    painter.drawEllipse(QRectF(3.3 * unit, 0.8 * unit, 3.4 * unit, 3.4 * unit));
    painter.setBrush(QColor(250, 200, 40));
    painter.drawEllipse(QRectF(7 * unit, 7.3 * unit, 1.4 * unit, 1.4 * unit));
    return picture;
}

QPixmap marqueePicture(int width, int height)
{
    QPixmap picture(width, height);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal step = static_cast<qreal>(width) / 8;
    const QColor colours[] = {QColor(220, 30, 30), QColor(250, 200, 40), QColor(40, 180, 60),
                              Colours::buttonNormal()};
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        painter.setBrush(colours[i % 4]);
        painter.drawEllipse(QRectF(i * step + step * 0.2, height * 0.25, step * 0.6, height * 0.5));
    }
    return picture;
}

} // namespace zefrin
