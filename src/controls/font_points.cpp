#include "controls/font_points.h"

#include <QPaintDevice>
#include <QStringList>

namespace {
constexpr double kPointsPerInch = 72.0;
constexpr int kUsualDpi = 96; // for a device that does not say
} // namespace

double FontPoints(const QFont& font, const QPaintDevice& device) {
    if (font.pointSizeF() > 0)
        return font.pointSizeF();
    const int dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : kUsualDpi;
    return font.pixelSize() * kPointsPerInch / dpi;
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
