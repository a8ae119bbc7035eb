#pragma once
// A label that acts as a button: flat, single border, centred black text, hand pointer.
// It reports mouse down, mouse up and click in that order, so a pressed look can be painted
// on down and taken back on up before the command runs. Its back colour is state the
// program reads back: a grey button is an unavailable command.

#include <QColor>
#include <QLabel>

namespace zefrin {

class LabelButton : public QLabel {
    Q_OBJECT

public:
    explicit LabelButton(const QString& caption, QWidget* parent = nullptr);

    QColor backColour() const { return backColour_; }
    void setBackColour(const QColor& colour);

signals:
    void mouseDown();
    void mouseUp();
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyStyle();

    QColor backColour_;
    bool pressedInside_ = false;
};

// A label button placed in its window: the control's name, its tool tip and its geometry.
LabelButton* makeLabelButton(QWidget* parent, const QString& name, const QString& caption,
                             const QString& toolTip, QRect geometry);

// The pressed look shared by most label buttons: the pressed colour between mouse down and
// mouse up.
void givePressedLook(LabelButton* button);

} // namespace zefrin
