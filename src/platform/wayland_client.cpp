#include "platform/wayland_client.h"

#include <QGuiApplication>

bool RunsAsWaylandClient() {
    // "wayland", or a variant such as "wayland-egl"
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
