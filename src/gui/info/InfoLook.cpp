#include "InfoLook.h"

#include "gui/widgets/Colours.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Twips.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>

namespace zefrin {

namespace {

constexpr int lineTwips = 15;

QFrame* makeLine(QWidget* parent, const char* name, QRect geometry)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setGeometry(geometry);
    line->setStyleSheet(
        QStringLiteral("background-color: %1;").arg(Colours::buttonNormal().name()));
    return line;
}

} // namespace

std::array<QFrame*, 4> makeInfoWindow(QDialog* window, int widthTwips, int heightTwips)
{
    window->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    window->setFixedSize(pixels(widthTwips), pixels(heightTwips));
    window->setAutoFillBackground(true);
    QPalette background = window->palette();
    background.setColor(QPalette::Window, Colours::windowBackground());
    window->setPalette(background);
    const int right = widthTwips - lineTwips;
    const int bottom = heightTwips - lineTwips;
    return {makeLine(window, "Line1", twipsRect(0, 0, widthTwips, lineTwips)),
            makeLine(window, "Line2", twipsRect(right, 0, lineTwips, heightTwips)),
            makeLine(window, "Line3", twipsRect(0, bottom, widthTwips, lineTwips)),
            makeLine(window, "Line4", twipsRect(0, 0, lineTwips, heightTwips))};
}

QLabel* makeCaption(QWidget* parent, const char* name, const QString& text, QPoint placeTwips,
                    const QColor& colour)
{
    auto* caption = new QLabel(text, parent);
    caption->setObjectName(QLatin1String(name));
    caption->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(colour.name()));
    caption->move(pixels(placeTwips.x()), pixels(placeTwips.y()));
    caption->adjustSize();
    return caption;
}

LabelButton* makeInfoButton(QWidget* parent, const char* name, const QString& caption, QRect twips)
{
    LabelButton* button =
        makeLabelButton(parent, QLatin1String(name), caption, QString(),
                        twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    givePressedLook(button);
    return button;
}

} // namespace zefrin
