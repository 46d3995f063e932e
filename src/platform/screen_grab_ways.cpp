#include "platform/screen_grab_ways.h"

QList<GrabWay> GrabWaysFor(const QString& platform, bool underWayland) {
    // Under XWayland Qt's grab would read the same X server as shared memory: a screen
    // without the Wayland windows, so only the portal can read it.
    if (platform == QLatin1String("xcb"))
        return underWayland ? QList{GrabWay::Portal} : QList{GrabWay::X11SharedMemory, GrabWay::Qt};
    if (platform == QLatin1String("wayland") || platform.startsWith(QLatin1String("wayland-")))
        return {GrabWay::Portal, GrabWay::Qt};
    // Without a display (offscreen, minimal) Qt's grab shows only our own windows.
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return {};
    return {GrabWay::Qt};
}
