#pragma once
// Where the main window's stretching controls sit for a given window size. The window is
// designed in twips as its outer size, frame and title bar included; Qt reports the inner
// (client) size in pixels, so the outer size is taken as the client size plus a fixed
// allowance for the frame. The button column never moves: only the list, the status line and
// the log button follow the window's right and bottom edges.

#include <QRect>
#include <QSize>

namespace zefrin {

// The window's outer size at design time, and what of it goes to the frame and title bar.
constexpr int designWidthTwips = 7185;
constexpr int designHeightTwips = 3330;
constexpr int frameWidthTwips = 120;
constexpr int frameHeightTwips = 450;

// A window lower than this snaps back to the design height (not to this one).
constexpr int shortestHeightTwips = 3285;

// The client size, in pixels, of the window at its design size.
QSize designClientSize();

struct MainWindowLayout {
    // The client size the window must have: the one it has, or the snapped one when it was
    // made narrower than the design width or lower than the shortest height.
    QSize clientSize;
    QRect lstJuegos;
    QRect lblEstado;
    QRect lblLog;

    bool snapped(const QSize& current) const { return clientSize != current; }
};

// The layout for a window whose client area is `clientSize` pixels.
MainWindowLayout mainWindowLayout(const QSize& clientSize);

} // namespace zefrin
