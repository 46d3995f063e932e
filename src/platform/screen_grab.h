#pragma once
// The screen grab behind the freeze: the primary screen's pixels in device pixels, so that
// picture pixel (x, y) is screen pixel (x, y) also on a scaled (HiDPI) screen.
//
// On X11 the grab goes through shared memory (MIT-SHM) when the server offers it, which is
// several times faster than Qt's grab for a 4K screen; when shared memory fails, Qt's
// QScreen::grabWindow does the work. In a Wayland session the desktop portal reads it
// (screen_grab_ways.h says which ways fit where). Where no way can read the screen (no
// portal; a platform without a screen) the grab fails and says so: a picture that was not
// read from the screen is never handed out.

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <utility>

// The primary screen's rectangle in device pixels, in the coordinates of the whole desktop
// (the X root window on X11). Empty without a primary screen.
QRect PrimaryScreenDeviceRect();

// What a grab of the primary screen gives: the screen's pixels as a Format_RGB32 picture of
// exactly PrimaryScreenDeviceRect().size(), and the screen's own depth in bits (16 on a
// 16-bit screen, whose pixels the picture holds widened), so the picture can be written
// back at that depth. A null picture when the screen could not be read.
struct ScreenCapture {
    ScreenCapture(QImage grabbed = {}, int screenDepth = 32)
        : picture(std::move(grabbed)), depth(screenDepth) {}
    QImage picture;
    int depth;
    bool read() const { return !picture.isNull(); }
};

// The primary screen through the first way that can read it on this platform.
ScreenCapture GrabPrimaryScreen();

// Qt's grab alone, with Qt's logical scaling undone; null unless it covers the whole
// screen (the offscreen platform, say, shows only its own windows).
QImage GrabPrimaryScreenWithQt();

// The shared-memory grab of `rect` (empty: the whole root window) on the X display named
// `display` (empty: $DISPLAY), independent of the platform Qt runs on. Null when the server
// cannot be reached, offers no shared memory, uses a pixel layout we do not read, or
// `rect` leaves the root window. The connection is kept for the next grab, and the memory
// of a picture, shared with the server, is reused once the picture is gone.
QImage GrabX11ScreenShm(const QByteArray& display = {}, const QRect& rect = {});
