#include "controls/font_points.h"

#include <QPaintDevice>

double FontPoints(const QFont& font, const QPaintDevice& device) {
    if (font.pointSizeF() > 0)
        return font.pointSizeF();
    const int dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 96;
    return font.pixelSize() * 72.0 / dpi;
}

QFont FontAtPoints(const QFont& font, double points) {
    QFont sized = font;
    sized.setPointSizeF(points);
    return sized;
}
