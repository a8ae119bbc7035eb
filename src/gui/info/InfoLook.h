#pragma once
// The look the two information windows share: a borderless dark-blue window framed by four
// drawn lines, white and teal captions, and label buttons.

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>

class QDialog;
class QFrame;
class QLabel;
class QWidget;

namespace zefrin {

class LabelButton;

// Makes `window` a borderless dialog of the given inner size, in twips, and draws the four
// lines Line1 to Line4 along its edges (top, right, bottom, left).
std::array<QFrame*, 4> makeInfoWindow(QDialog* window, int widthTwips, int heightTwips);

// A caption whose top-left corner sits at `placeTwips`, as wide as its text.
QLabel* makeCaption(QWidget* parent, const char* name, const QString& text, QPoint placeTwips,
                    const QColor& colour);

LabelButton* makeInfoButton(QWidget* parent, const char* name, const QString& caption, QRect twips);

} // namespace zefrin
