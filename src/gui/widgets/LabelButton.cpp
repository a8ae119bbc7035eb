#include "LabelButton.h"

#include "Colours.h"

#include <QMouseEvent>

namespace zefrin {

LabelButton::LabelButton(const QString& caption, QWidget* parent)
    : QLabel(caption, parent)
    , backColour_(Colours::buttonNormal())
{
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    applyStyle();
}

void LabelButton::setBackColour(const QColor& colour)
{
    backColour_ = colour;
    applyStyle();
}

void LabelButton::applyStyle()
{
    // A disabled command keeps its colour; its caption turns pale as a disabled label's does.
    const QString text = isEnabled() ? QStringLiteral("black") : QStringLiteral("white");
    setStyleSheet(QStringLiteral("QLabel { background-color: %1; color: %2; "
                                 "border: 1px solid black; }")
                      .arg(backColour_.name(), text));
}

void LabelButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressedInside_ = true;
    emit mouseDown();
}

void LabelButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !pressedInside_)
        return;
    pressedInside_ = false;
    emit mouseUp();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

void LabelButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A second press in quick succession is another click on a command button.
    mousePressEvent(event);
    emit doubleClicked();
}

void LabelButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        applyStyle();
    QLabel::changeEvent(event);
}

LabelButton* makeLabelButton(QWidget* parent, const QString& name, const QString& caption,
                             const QString& toolTip, QRect geometry)
{
    auto* button = new LabelButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    button->setGeometry(geometry);
    return button;
}

void givePressedLook(LabelButton* button)
{
    QObject::connect(button, &LabelButton::mouseDown, button,
                     [button] { button->setBackColour(Colours::buttonPressed()); });
    QObject::connect(button, &LabelButton::mouseUp, button,
                     [button] { button->setBackColour(Colours::buttonNormal()); });
}

} // namespace zefrin
