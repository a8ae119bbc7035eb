#pragma once
// A web link on a window: teal, underlined text with the hand pointer, which reports a click
// when the mouse button goes up over it.

#include <QLabel>

namespace zefrin {

class LinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(const QString& caption, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressedInside_ = false;
};

} // namespace zefrin
