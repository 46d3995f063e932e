#include "platform/screen_grab.h"

#include "platform/portal_screenshot.h"
#include "platform/screen_grab_ways.h"
#include "platform/xcb_shm_grabber.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <memory>
#include <mutex>

namespace {

bool onX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

int primaryScreenDepth() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 32;
}

// One grabber for the display last asked for, so the connection and the shared segment
// survive from one freeze to the next.
std::mutex grabberLock;
std::unique_ptr<XcbShmGrabber> cachedGrabber;

XcbShmGrabber& grabberFor(const QByteArray& display) {
    // Only a working grabber stays: one without shared memory may hold a dead connection
    // to a server that has since gone (a new one can take its display name), which xcb
    // notices only on the next read. Connecting again costs far less than Qt's grab.
    if (!cachedGrabber || cachedGrabber->display() != display || !cachedGrabber->usable())
        cachedGrabber = std::make_unique<XcbShmGrabber>(display);
    return *cachedGrabber;
}

// Qt keeps a screen's top-left corner in device pixels and divides only its size by the
// scale factor, so multiplying the size back gives the device rectangle. With a fractional
// factor the rounding can overshoot by a pixel, which the root window's bounds catch.
QRect deviceRectFromQt() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QRect logical = screen->geometry();
    const qreal ratio = screen->devicePixelRatio();
    return QRect(logical.topLeft(),
                 QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio)));
}

// Qt's grabs may leave the unused byte of RGB32 at zero (the offscreen platform does); the
// drawing code and the encoders count on opaque pixels.
QImage opaque(QImage picture) {
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            row[x] |= 0xFF000000u;
    }
    return picture;
}

} // namespace

QRect PrimaryScreenDeviceRect() {
    const QRect device = deviceRectFromQt();
    if (device.isEmpty() || !onX11())
        return device;
    std::lock_guard lock(grabberLock);
    const QRect root = grabberFor({}).rootRect();
    return root.isEmpty() ? device : device.intersected(root);
}

QImage GrabX11ScreenShm(const QByteArray& display, const QRect& rect) {
    std::lock_guard lock(grabberLock);
    return grabberFor(display).grab(rect);
}

// The one place that chooses how the screen is read: the ways that can work here, in order.
ScreenCapture GrabPrimaryScreen() {
    const QRect device = PrimaryScreenDeviceRect();
    const bool underWayland = qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    for (GrabWay way : GrabWaysFor(QGuiApplication::platformName(), underWayland)) {
        QImage picture;
        QString failure;
        switch (way) {
        case GrabWay::X11SharedMemory:
            if (!device.isEmpty())
                picture = GrabX11ScreenShm({}, device);
            break;
        case GrabWay::Portal:
            picture = GrabPrimaryScreenThroughPortal(device.size(), &failure);
            if (picture.isNull())
                qWarning("skribando: %s", qPrintable(failure));
            break;
        case GrabWay::Qt:
            picture = GrabPrimaryScreenWithQt();
            break;
        }
        if (!picture.isNull())
            return {std::move(picture), primaryScreenDepth()};
    }
    return {};
}

QImage GrabPrimaryScreenWithQt() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QSize size = PrimaryScreenDeviceRect().size();
    // Qt grabs in device pixels and only labels the result with the scale factor.
    QImage grabbed = screen->grabWindow(0).toImage();
    grabbed.setDevicePixelRatio(1);
    if (size.isEmpty() || grabbed.size() != size)
        return {};
    return opaque(grabbed.convertToFormat(QImage::Format_RGB32));
}
