#include "raster/canvas.h"

#include "raster/line_scan.h"
#include "raster/shape_scan.h"
#include "raster/text_scan.h"

#include <algorithm>

namespace raster {

Canvas::Canvas(QImage& picture) : picture_(picture) {}

Rect Canvas::takeTouched() {
    const Rect box = touched_;
    touched_ = {};
    return box;
}

void Canvas::fillPending(SpanSink& sink, MixMasks masks) {
    if (sink.empty())
        return;
    touched_ = touched_.united(sink.fill(PixelView::of(picture_), masks));
}

void Canvas::LineTo(int x, int y) {
    penSpans_.reset(clip());
    if (pen_.width <= 1)
        scanThinLine(penSpans_, position_.x(), position_.y(), x, y);
    else
        scanWideSegment(penSpans_, position_.x(), position_.y(), x, y, pen_.width);
    fillPending(penSpans_, masksFor(pen_.mix, pen_.colour));
    position_ = QPoint(x, y);
}

void Canvas::Line(int x1, int y1, int x2, int y2) {
    MoveTo(x1, y1);
    LineTo(x2, y2);
}

void Canvas::Polyline(std::span<const QPoint> points) {
    if (points.size() < 2)
        return;
    penSpans_.reset(clip());
    for (size_t i = 1; i < points.size(); ++i) {
        const QPoint a = points[i - 1], b = points[i];
        if (pen_.width <= 1)
            scanThinLine(penSpans_, a.x(), a.y(), b.x(), b.y());
        else
            scanWideSegment(penSpans_, a.x(), a.y(), b.x(), b.y(), pen_.width);
    }
    fillPending(penSpans_, masksFor(pen_.mix, pen_.colour));
}

void Canvas::drawShape(bool ellipse, int x1, int y1, int x2, int y2) {
    const Rect box = normalisedBox(x1, y1, x2, y2);
    penSpans_.reset(clip());
    brushSpans_.reset(clip());
    SpanSink* interior = brush_.solid ? &brushSpans_ : nullptr;
    if (ellipse)
        scanEllipse(&penSpans_, interior, box, pen_.width);
    else
        scanRectangle(&penSpans_, interior, box, pen_.width);
    // The interior and the outline never share a pixel, so their order does not matter.
    if (interior)
        fillPending(brushSpans_, masksFor(Mix::Copy, brush_.colour));
    fillPending(penSpans_, masksFor(pen_.mix, pen_.colour));
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
    drawShape(false, x1, y1, x2, y2);
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
    drawShape(true, x1, y1, x2, y2);
}

void Canvas::CopyRect(const QImage& source, const Rect& area) {
    if (picture_.isNull())
        return;
    touched_ = touched_.united(copyBlock(PixelView::of(picture_), source, area));
}

void Canvas::TextOut(int x, int y, const QString& text) {
    int left = x;
    if (align_ == TextAlign::Centre)
        left = int(std::max<std::int64_t>(INT32_MIN, std::int64_t(x) - TextWidth(text) / 2));
    penSpans_.reset(clip());
    scanText(penSpans_, font_, left, y, text);
    fillPending(penSpans_, masksFor(Mix::Copy, font_.colour));
}

int Canvas::TextWidth(const QString& text) const {
    return textWidth(font_, text);
}

int Canvas::TextHeight(const QString& text) const {
    return textHeight(font_, text);
}

} // namespace raster
