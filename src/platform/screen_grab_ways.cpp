#include "platform/screen_grab_ways.h"

QList<GrabWay> GrabWaysFor(const QString& platform, bool underWayland) {
    if (platform == QLatin1String("wayland") || platform.startsWith(QLatin1String("wayland-")) ||
        (platform == QLatin1String("xcb") && underWayland))
        return {GrabWay::Portal, GrabWay::Qt};
    if (platform == QLatin1String("xcb"))
        return {GrabWay::X11SharedMemory, GrabWay::Qt};
    return {GrabWay::Qt};
}
