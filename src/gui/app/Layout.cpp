#include "Layout.h"

#include "gui/widgets/Twips.h"

namespace zefrin {

namespace {

// Design places, in twips, of the controls that follow the window's edges.
constexpr double listLeft = 2160;
constexpr double listTop = 30;
constexpr double listWidth = 4860;
constexpr double listHeight = 2565;
constexpr double statusLeft = 2160;
constexpr double statusWidth = 4125;
constexpr double bottomRowTop = 2625;
constexpr double bottomRowHeight = 255;
constexpr double logLeft = 6300;
constexpr double logWidth = 720;

QRect pixelRect(double left, double top, double width, double height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

} // namespace

QSize designClientSize()
{
    return QSize(pixels(designWidthTwips - frameWidthTwips),
                 pixels(designHeightTwips - frameHeightTwips));
}

MainWindowLayout mainWindowLayout(const QSize& clientSize)
{
    double width = twips(clientSize.width()) + frameWidthTwips;
    double height = twips(clientSize.height()) + frameHeightTwips;
    QSize client = clientSize;
    if (width < designWidthTwips) {
        width = designWidthTwips;
        client.setWidth(pixels(width - frameWidthTwips));
    }
    if (height < shortestHeightTwips) {
        height = designHeightTwips;
        client.setHeight(pixels(height - frameHeightTwips));
    }

    const double grownWidth = width - designWidthTwips;
    const double grownHeight = height - designHeightTwips;
    MainWindowLayout layout;
    layout.clientSize = client;
    layout.lstJuegos =
        pixelRect(listLeft, listTop, grownWidth + listWidth, grownHeight + listHeight);
    layout.lblEstado = pixelRect(statusLeft, grownHeight + bottomRowTop, grownWidth + statusWidth,
                                 bottomRowHeight);
    layout.lblLog =
        pixelRect(grownWidth + logLeft, grownHeight + bottomRowTop, logWidth, bottomRowHeight);
    return layout;
}

} // namespace zefrin
