#pragma once
// The rasterizer's half-open boxes as Qt's rectangles, which describe the same pixels.

#include "raster/rect.h"

#include <QRect>

inline QRect toQRect(const raster::Rect& r) {
    return r.isEmpty() ? QRect() : QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}
