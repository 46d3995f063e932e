#pragma once
// The picture is in device pixels (one per screen pixel); widgets work in logical pixels.

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <cmath>

// The picture pixel under a logical position.
inline QPoint devicePointOf(QPointF logical, qreal ratio) {
    return QPoint(static_cast<int>(std::floor(logical.x() * ratio)),
                  static_cast<int>(std::floor(logical.y() * ratio)));
}

// The smallest logical rectangle holding a device rectangle.
inline QRect logicalRectOf(const QRect& device, qreal ratio) {
    if (device.isEmpty())
        return {};
    int left = static_cast<int>(std::floor(device.left() / ratio));
    int top = static_cast<int>(std::floor(device.top() / ratio));
    int right = static_cast<int>(std::ceil((device.left() + device.width()) / ratio));
    int bottom = static_cast<int>(std::ceil((device.top() + device.height()) / ratio));
    return QRect(left, top, right - left, bottom - top);
}

// The device rectangle under a logical one.
inline QRect deviceRectOf(const QRect& logical, qreal ratio) {
    int left = static_cast<int>(std::floor(logical.left() * ratio));
    int top = static_cast<int>(std::floor(logical.top() * ratio));
    int right = static_cast<int>(std::ceil((logical.left() + logical.width()) * ratio));
    int bottom = static_cast<int>(std::ceil((logical.top() + logical.height()) * ratio));
    return QRect(left, top, right - left, bottom - top);
}
