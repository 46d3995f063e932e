#pragma once
// What the engine draws, in the rasterizer's terms: the invert-mode overlay figures, the
// stroke pen and the committed figures, the stamps and the text tool's text.

#include "surface/drawing_state.h"
#include "surface/overlay_figure.h"
#include "surface/tool_family.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

namespace raster {
class Canvas;
}

// Draws an overlay figure with the 1-pixel invert pen and no fill: drawing it twice
// restores every pixel.
void drawOverlayFigure(raster::Canvas& canvas, const OverlayFigure& figure);

// The surface picture's pen becomes the drawing state's colour, mix and width, solid; the
// brush becomes clear.
void ApplyStrokePen(raster::Canvas& canvas, const DrawingState& state);

// A two-point shape from the anchor to the end with the pen currently set.
void drawShape(raster::Canvas& canvas, ShapeFigure figure, QPoint anchor, QPoint end,
               int headLength);

// The straight segments of a line, an arrow or a double arrow from the anchor to the end,
// as drawShape draws them (none for a rectangle or an ellipse).
struct Segment {
    QPoint from, to;
};
struct Segments {
    Segment items[5];
    int count = 0;
};
Segments segmentsOf(ShapeFigure figure, QPoint anchor, QPoint end, int headLength);

// An arrow whose tip is (x2, y2); the shaft is drawn only when asked.
void DrawArrow(raster::Canvas& canvas, int x1, int y1, int x2, int y2, bool withShaft,
               int headLength);
// Heads at both ends and one shaft, so the invert preview stays intact.
void DrawDoubleArrow(raster::Canvas& canvas, int x1, int y1, int x2, int y2, int headLength);

// The check-mark or cross glyph centred on (x, y) with a black shadow one pixel down-right.
// Fixed colours: neither the pen colour nor its mix applies.
void StampSymbol(raster::Canvas& canvas, int x, int y, StampKind kind, int fontPoints);

// The text tool's font ("Arial" bold) in a size and colour, left and top aligned.
void applyTextFont(raster::Canvas& canvas, int fontPoints, COLORREF colour);
int textWidth(raster::Canvas& canvas, const QString& text);
int textHeight(raster::Canvas& canvas, const QString& text);
// Writes text with its cell's top-left at (x, y), opaque, with the font already applied.
void writeText(raster::Canvas& canvas, int x, int y, const QString& text, COLORREF colour,
               bool shadow);
