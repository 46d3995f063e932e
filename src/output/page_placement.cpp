#include "output/page_placement.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kTenthsOfMillimetrePerCentimetre = 100.0;
constexpr double kTenthsOfMillimetrePerInch = 254.0;

// std::nearbyint in the default rounding mode takes halves to the even neighbour.
double nearestEven(double value) {
    return std::nearbyint(value);
}

bool fitsInt32(double value) {
    return value >= double(std::numeric_limits<int32_t>::min()) &&
           value <= double(std::numeric_limits<int32_t>::max());
}

bool fitsInt32(int64_t value) {
    return value >= std::numeric_limits<int32_t>::min() &&
           value <= std::numeric_limits<int32_t>::max();
}

} // namespace

std::optional<int32_t> TenthsOfMillimetre(double centimetres) {
    const double tenths = nearestEven(centimetres * kTenthsOfMillimetrePerCentimetre);
    if (!std::isfinite(tenths) || !fitsInt32(tenths))
        return std::nullopt;
    return int32_t(tenths);
}

std::optional<Placement> PlacementFromCentimetres(double left, double top, double width,
                                                  double height) {
    const auto l = TenthsOfMillimetre(left);
    const auto t = TenthsOfMillimetre(top);
    const auto w = TenthsOfMillimetre(width);
    const auto h = TenthsOfMillimetre(height);
    if (!l || !t || !w || !h)
        return std::nullopt;
    // The offset correction only moves a margin towards 0, so edges that fit here fit after it.
    if (!fitsInt32(int64_t(*l) + *w) || !fitsInt32(int64_t(*t) + *h))
        return std::nullopt;
    return Placement{*l, *t, *w, *h};
}

void SubtractPrinterOffset(int32_t& left, int32_t& top, const PrinterMetrics& printer) {
    // Tenths of a millimetre per device pixel.
    const double fx =
        printer.logPixelsX > 0 ? kTenthsOfMillimetrePerInch / printer.logPixelsX : 0.0;
    const double fy =
        printer.logPixelsY > 0 ? kTenthsOfMillimetrePerInch / printer.logPixelsY : 0.0;
    const int64_t offX = int64_t(nearestEven(printer.physicalOffsetX * fx));
    const int64_t offY = int64_t(nearestEven(printer.physicalOffsetY * fy));
    left = int32_t(std::max<int64_t>(0, int64_t(left) - offX));
    top = int32_t(std::max<int64_t>(0, int64_t(top) - offY));
}

PlacementRect DestinationRect(int32_t left, int32_t top, const Placement& size) {
    // Edges are range-checked by PlacementFromCentimetres; after the offset correction the
    // sums can only be smaller, and never negative beyond the size itself.
    return {left, top, int32_t(int64_t(left) + size.width), int32_t(int64_t(top) + size.height)};
}

void SetPrinterMapping(QPainter& painter, const PrinterMetrics& printer) {
    painter.scale(printer.logPixelsX / kTenthsOfMillimetrePerInch,
                  printer.logPixelsY / kTenthsOfMillimetrePerInch);
}

void StretchBitmapToPrinter(QPainter& painter, const PlacementRect& rect, const QImage& bitmap) {
    const double width = double(rect.right) - rect.left;
    const double height = double(rect.bottom) - rect.top;
    if (bitmap.isNull() || width == 0 || height == 0)
        return;
    // Picture pixel (x, y) lands on left + x × width / picture width (and so for y); a
    // negative extent runs the other way and mirrors the picture.
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setTransform(
        QTransform(width / bitmap.width(), 0, 0, height / bitmap.height(), rect.left, rect.top),
        true);
    painter.drawImage(QPointF(0, 0), bitmap);
    painter.restore();
}
