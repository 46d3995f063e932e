#pragma once
// The screen grab behind the freeze: the primary screen's pixels in device pixels, so that
// picture pixel (x, y) is screen pixel (x, y) also on a scaled (HiDPI) screen.
//
// On X11 the grab goes through shared memory (MIT-SHM) when the server offers it, which is
// several times faster than Qt's grab for a 4K screen; anywhere else, or when shared memory
// fails, Qt's QScreen::grabWindow does the work.

#include <QByteArray>
#include <QImage>
#include <QRect>

// The primary screen's rectangle in device pixels, in the coordinates of the whole desktop
// (the X root window on X11). Empty without a primary screen.
QRect PrimaryScreenDeviceRect();

// The primary screen as a Format_RGB32 picture of exactly PrimaryScreenDeviceRect().size().
// Never fails: where Qt's grab gives nothing (offscreen, no window over the screen), the
// picture is black. Null only when there is no screen at all.
QImage GrabPrimaryScreen();

// The same through Qt's grab alone, with Qt's logical scaling undone.
QImage GrabPrimaryScreenWithQt();

// The shared-memory grab of `rect` (empty: the whole root window) on the X display named
// `display` (empty: $DISPLAY), independent of the platform Qt runs on. Null when the server
// cannot be reached, offers no shared memory, uses a pixel layout we do not read, or
// `rect` leaves the root window. The connection is kept for the next grab, and the memory
// of a picture, shared with the server, is reused once the picture is gone.
QImage GrabX11ScreenShm(const QByteArray& display = {}, const QRect& rect = {});
