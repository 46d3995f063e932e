#pragma once
// Grabs rectangles of an X server's root window through the MIT-SHM extension: the server
// writes the pixels straight into a shared memory segment that becomes the picture, so a
// 4K grab costs the server's copy and one pass to set the alpha byte, not a socket transfer
// and conversions. Segments are reused once their pictures are gone (xcb_shm_segments.h).

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <memory>

class XcbShmGrabber {
public:
    // Connects to `display` (empty: $DISPLAY) on its own connection, so Qt's event
    // handling never sees our requests.
    explicit XcbShmGrabber(const QByteArray& display);
    ~XcbShmGrabber();
    XcbShmGrabber(const XcbShmGrabber&) = delete;
    XcbShmGrabber& operator=(const XcbShmGrabber&) = delete;

    const QByteArray& display() const { return display_; }

    // True while the connection works, the server offers shared memory and its root
    // window's pixel layout is one we read.
    bool usable() const;

    // The root window's rectangle in device pixels; empty when not connected.
    QRect rootRect() const;

    // The pixels of `rect` (root coordinates; empty means the whole root) as Format_RGB32,
    // or a null picture when anything fails, so the caller can fall back.
    QImage grab(const QRect& rect = {});

private:
    struct Connection;
    QByteArray display_;
    std::unique_ptr<Connection> connection_;
};
