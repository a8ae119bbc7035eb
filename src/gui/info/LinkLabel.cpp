#include "LinkLabel.h"

#include "gui/widgets/Colours.h"

#include <QMouseEvent>

namespace zefrin {

LinkLabel::LinkLabel(const QString& caption, QWidget* parent)
    : QLabel(caption, parent)
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(Colours::statusTeal().name()));
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressedInside_ = true;
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !pressedInside_)
        return;
    pressedInside_ = false;
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace zefrin
