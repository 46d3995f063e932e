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

// One segment covers each pixel once (one span a row at most when wide), so it is written
// as it is traced.
void Canvas::LineTo(int x, int y) {
    penSpans_.resetDirect(clip(), picture_, masksFor(pen_.mix, pen_.colour));
    if (pen_.width <= 1)
        scanThinLine(penSpans_, position_.x(), position_.y(), x, y);
    else
        scanWideSegment(penSpans_, position_.x(), position_.y(), x, y, pen_.width);
    touched_ = touched_.united(penSpans_.finish());
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

// Rectangles and ellipses give each row one span, or two apart, of outline and of interior,
// and the interior and the outline never share a pixel: both are written as they are traced.
void Canvas::drawShape(bool ellipse, int x1, int y1, int x2, int y2) {
    const Rect box = normalisedBox(x1, y1, x2, y2);
    penSpans_.resetDirect(clip(), picture_, masksFor(pen_.mix, pen_.colour));
    brushSpans_.resetDirect(clip(), picture_, masksFor(Mix::Copy, brush_.colour));
    SpanSink* interior = brush_.solid ? &brushSpans_ : nullptr;
    if (ellipse)
        scanEllipse(&penSpans_, interior, box, pen_.width, thinEllipse_);
    else
        scanRectangle(&penSpans_, interior, box, pen_.width);
    touched_ = touched_.united(brushSpans_.finish()).united(penSpans_.finish());
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

void Canvas::setFont(const Font& font) {
    if (!sameFace(font, font_))
        resolved_.reset();
    font_ = font;
}

const ResolvedFont& Canvas::resolved() const {
    if (!resolved_)
        resolved_ = resolvedFont(font_);
    return *resolved_;
}

void Canvas::TextOut(int x, int y, const QString& text) {
    int left = x;
    if (align_ == TextAlign::Centre)
        left = int(std::max<std::int64_t>(INT32_MIN, std::int64_t(x) - TextWidth(text) / 2));
    penSpans_.reset(clip());
    scanText(penSpans_, resolved(), left, y, text);
    fillPending(penSpans_, masksFor(Mix::Copy, font_.colour));
}

int Canvas::TextWidth(const QString& text) const {
    return textWidth(resolved(), text);
}

int Canvas::TextHeight(const QString&) const {
    return textHeight(resolved());
}

} // namespace raster
