#pragma once
// Which ways of reading the screen can work where the program runs, in the order to try them.

#include <QList>
#include <QString>

enum class GrabWay {
    X11SharedMemory, // an X server's own pixels: a real X11 session
    Portal,          // the desktop portal: a Wayland session, where no client reads the screen
    Qt,              // Qt's own grab: the last resort
};

// `platform` is Qt's platform name ("xcb", "wayland", ...); `underWayland` tells that
// WAYLAND_DISPLAY is set, where an X11 client runs under XWayland: its X server knows only
// the X windows, so shared memory would freeze a screen without the Wayland windows.
QList<GrabWay> GrabWaysFor(const QString& platform, bool underWayland);
