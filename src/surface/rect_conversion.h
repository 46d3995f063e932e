#pragma once
// The rasterizer's half-open boxes and Qt's rectangles describe the same pixels.

#include "raster/rect.h"

#include <QRect>

inline QRect toQRect(const raster::Rect& r) {
    return r.isEmpty() ? QRect() : QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}
inline raster::Rect toRasterRect(const QRect& r) {
    return r.isEmpty()
               ? raster::Rect{}
               : raster::Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
