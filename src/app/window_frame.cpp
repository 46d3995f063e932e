#include "app/window_frame.h"

#include <QWidget>

bool FrameIsKnown(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return frame != client && frame.contains(client);
}

QRect KnownFrameGeometry(const QWidget& window) {
    return FrameIsKnown(window) ? window.frameGeometry() : window.geometry();
}
