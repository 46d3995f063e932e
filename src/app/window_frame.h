#pragma once
// The outer rectangle of a top-level window, frame and title bar included, as far as it is
// known. Qt measures the window manager's frame from the frame window itself; while the
// window manager is still building it (one pixel wide at first), that measure is nonsense,
// and placing a window by it puts the window partly off the screen.

#include <QRect>

class QWidget;

// Whether Qt's measure of `window`'s frame can be trusted: it surrounds the client area and
// is more than the client area (a window manager that draws no frame never gets there).
bool FrameIsKnown(const QWidget& window);

// `window`'s frame geometry when it is known, else its client area.
QRect KnownFrameGeometry(const QWidget& window);
