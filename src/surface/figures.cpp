#include "surface/figures.h"

#include "raster/canvas.h"
#include "surface/arrow_geometry.h"

namespace {
constexpr int kCheckGlyph = 252;
constexpr int kCrossGlyph = 251;
constexpr COLORREF kCheckColour = rgbColour(0, 196, 0);
constexpr COLORREF kCrossColour = rgbColour(220, 0, 0);
constexpr COLORREF kShadowColour = rgbColour(0, 0, 0);

raster::Mix mixOf(PenMix mode) {
    switch (mode) {
    case PenMix::pmCopy:
        return raster::Mix::Copy;
    case PenMix::pmMask:
        return raster::Mix::Mask;
    case PenMix::pmBlack:
        break;
    }
    return raster::Mix::Black;
}

void drawSymbol(raster::Canvas& c, const OverlayFigure& f) {
    int x = f.at.x(), y = f.at.y(), k = f.size;
    switch (f.kind) {
    case OverlayKind::Circle:
        c.Ellipse(x - k, y - k, x + k + 1, y + k + 1);
        break;
    case OverlayKind::EraserBox:
        c.Rectangle(x - f.size, y - f.size2, x + f.size + 1, y + f.size2 + 1);
        break;
    case OverlayKind::CaretBar:
        c.Rectangle(x, y - f.size, x + 2, y);
        break;
    case OverlayKind::CheckMarker:
        c.Polyline(
            {QPoint(x - 5 * k, y), QPoint(x - 3 * k, y + 3 * k), QPoint(x + 2 * k, y - 4 * k)});
        break;
    case OverlayKind::CrossMarker:
        c.Line(x - k, y - k, x + k + 1, y + k + 1);
        c.Line(x - k, y + k, x + k + 1, y - k - 1);
        break;
    case OverlayKind::ShapePreview:
        drawShape(c, f.shape, f.at, f.to, f.size);
        break;
    }
}
} // namespace

void drawOverlayFigure(raster::Canvas& canvas, const OverlayFigure& figure) {
    canvas.setPen(0, raster::Mix::Not, 1);
    canvas.setBrush(raster::Brush::clear());
    drawSymbol(canvas, figure);
}

void ApplyStrokePen(raster::Canvas& canvas, const DrawingState& state) {
    canvas.setPen(state.PenColour, mixOf(state.PenMode), state.PenWidth);
    canvas.setBrush(raster::Brush::clear());
}

void drawShape(raster::Canvas& canvas, ShapeFigure figure, QPoint a, QPoint p, int headLength) {
    switch (figure) {
    case ShapeFigure::Line:
        canvas.Line(a.x(), a.y(), p.x(), p.y());
        break;
    case ShapeFigure::Arrow:
        DrawArrow(canvas, a.x(), a.y(), p.x(), p.y(), true, headLength);
        break;
    case ShapeFigure::DoubleArrow:
        DrawDoubleArrow(canvas, a.x(), a.y(), p.x(), p.y(), headLength);
        break;
    case ShapeFigure::Rectangle:
        canvas.Rectangle(a.x(), a.y(), p.x(), p.y());
        break;
    case ShapeFigure::Ellipse:
        canvas.Ellipse(a.x(), a.y(), p.x(), p.y());
        break;
    }
}

namespace {
// The shaft when asked, then the two barbs from the tip (x2, y2).
void addArrow(Segments& out, QPoint from, QPoint tip, bool withShaft, int headLength) {
    if (withShaft)
        out.items[out.count++] = {from, tip};
    ArrowBarbs barbs = arrowBarbs(from.x(), from.y(), tip.x(), tip.y(), headLength);
    out.items[out.count++] = {tip, barbs.first};
    out.items[out.count++] = {tip, barbs.second};
}
} // namespace

Segments segmentsOf(ShapeFigure figure, QPoint anchor, QPoint end, int headLength) {
    Segments out;
    switch (figure) {
    case ShapeFigure::Line:
        out.items[out.count++] = {anchor, end};
        break;
    case ShapeFigure::Arrow:
        addArrow(out, anchor, end, true, headLength);
        break;
    case ShapeFigure::DoubleArrow:
        addArrow(out, anchor, end, true, headLength);
        addArrow(out, end, anchor, false, headLength);
        break;
    case ShapeFigure::Rectangle:
    case ShapeFigure::Ellipse:
        break;
    }
    return out;
}

void DrawArrow(raster::Canvas& canvas, int x1, int y1, int x2, int y2, bool withShaft,
               int headLength) {
    Segments arrow;
    addArrow(arrow, {x1, y1}, {x2, y2}, withShaft, headLength);
    for (int i = 0; i < arrow.count; ++i)
        canvas.Line(arrow.items[i].from.x(), arrow.items[i].from.y(), arrow.items[i].to.x(),
                    arrow.items[i].to.y());
}

void DrawDoubleArrow(raster::Canvas& canvas, int x1, int y1, int x2, int y2, int headLength) {
    DrawArrow(canvas, x1, y1, x2, y2, true, headLength);
    DrawArrow(canvas, x2, y2, x1, y1, false, headLength);
}

void StampSymbol(raster::Canvas& canvas, int x, int y, StampKind kind, int fontPoints) {
    bool check = kind == StampKind::Check;
    const QString glyph(QChar(check ? kCheckGlyph : kCrossGlyph));
    canvas.setFont({QStringLiteral("Wingdings"), fontPoints, true, kShadowColour});
    canvas.setBrush(raster::Brush::clear());
    canvas.setTextAlign(raster::TextAlign::Centre);
    int half = canvas.TextHeight(glyph) / 2;
    canvas.TextOut(x + 1, y - half + 1, glyph);
    canvas.setFontColour(check ? kCheckColour : kCrossColour);
    canvas.TextOut(x, y - half, glyph);
}

void applyTextFont(raster::Canvas& canvas, int fontPoints, COLORREF colour) {
    canvas.setFont({QStringLiteral("Arial"), fontPoints, true, colour});
    canvas.setBrush(raster::Brush::clear());
    canvas.setTextAlign(raster::TextAlign::Left);
}

int textWidth(raster::Canvas& canvas, const QString& text) {
    return canvas.TextWidth(text);
}
int textHeight(raster::Canvas& canvas, const QString& text) {
    return canvas.TextHeight(text);
}

void writeText(raster::Canvas& canvas, int x, int y, const QString& text, COLORREF colour,
               bool shadow) {
    if (shadow) {
        canvas.setFontColour(kShadowColour);
        canvas.TextOut(x + 1, y + 1, text);
    }
    canvas.setFontColour(colour);
    canvas.TextOut(x, y, text);
}
