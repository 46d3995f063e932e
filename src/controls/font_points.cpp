#include "controls/font_points.h"

#include <QPaintDevice>
#include <QStringList>

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

QFont PixelFont(const QString& family, int pixels, bool bold) {
    QFont font;
    font.setFamilies(QStringList{family, QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                 QStringLiteral("Helvetica")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}
