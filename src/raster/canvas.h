#pragma once
// A drawing surface over a picture with GDI's drawing semantics: a pen with a mix and a
// width, a brush, a current position, a font with a colour and a text alignment.
//
// The canvas holds a reference to the picture; the caller owns it and may replace its
// contents at any time. Every call clips to the picture (coordinates far outside it, such
// as the -1 "none" points or values near the int limits, draw what falls inside) and a null
// picture draws nothing. Every figure covers each of its pixels once, with the mix applied
// once, so an inverting figure drawn twice restores the picture bit for bit.

#include "raster/block_copy.h"
#include "raster/colorref.h"
#include "raster/ellipse_outline.h"
#include "raster/fonts.h"
#include "raster/mix.h"
#include "raster/rect.h"
#include "raster/span_sink.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <initializer_list>
#include <optional>
#include <span>

namespace raster {

struct Pen {
    COLORREF colour = 0x000000;
    Mix mix = Mix::Copy;
    int width = 1; // pixels; below 1 counts as 1
    bool operator==(const Pen&) const = default;
};

struct Brush {
    bool solid = false; // a clear brush fills nothing
    COLORREF colour = 0x000000;
    static Brush clear() { return {}; }
    static Brush solidColour(COLORREF colour) { return {true, colour}; }
    bool operator==(const Brush&) const = default;
};

// Horizontal placement of text relative to the x given to TextOut; y is always the top of
// the text cell.
enum class TextAlign { Left, Centre };

class Canvas {
public:
    explicit Canvas(QImage& picture);

    void setPen(const Pen& pen) { pen_ = pen; }
    void setPen(COLORREF colour, Mix mix, int width) { pen_ = {colour, mix, width}; }
    const Pen& pen() const { return pen_; }
    void setBrush(const Brush& brush) { brush_ = brush; }
    const Brush& brush() const { return brush_; }
    void setFont(const Font& font);
    void setFontColour(COLORREF colour) { font_.colour = colour; }
    const Font& font() const { return font_; }
    void setTextAlign(TextAlign align) { align_ = align; }
    TextAlign textAlign() const { return align_; }

    QPoint position() const { return position_; }
    void MoveTo(int x, int y) { position_ = QPoint(x, y); }
    // A line from the position to (x, y) with the pen; (x, y) becomes the position.
    // A 1-pixel line leaves out its end point; a wider one has round ends.
    void LineTo(int x, int y);
    // MoveTo(x1, y1) then LineTo(x2, y2).
    void Line(int x1, int y1, int x2, int y2);
    // Connected lines through the points, drawn as one figure: each pixel takes the mix
    // once even where segments meet or cross. A 1-pixel polyline leaves out its last point;
    // wider ones have round joins and ends. Fewer than two points draw nothing. The position
    // is not used or changed.
    void Polyline(std::span<const QPoint> points);
    void Polyline(std::initializer_list<QPoint> points) {
        Polyline(std::span<const QPoint>(points.begin(), points.size()));
    }
    // The box from (x1, y1) to (x2, y2), corners in any order, right and bottom exclusive:
    // the interior with the brush, the outline with the pen.
    void Rectangle(int x1, int y1, int x2, int y2);
    // The ellipse fitting that box, like Rectangle.
    void Ellipse(int x1, int y1, int x2, int y2);

    // Copies `area` of `source` to the same place in the picture (a plain copy, no mix).
    // Only rows that change count as touched.
    void CopyRect(const QImage& source, const Rect& area);

    // Writes `text` in the font's colour with a clear background, the top of its cell at y
    // and x at its left end or centre as the alignment says.
    void TextOut(int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

    // The box of every pixel written since the last takeTouched (empty if none).
    Rect touched() const { return touched_; }
    Rect takeTouched();

private:
    Rect clip() const { return {0, 0, picture_.width(), picture_.height()}; }
    void fillPending(SpanSink& sink, MixMasks masks);
    void drawShape(bool ellipse, int x1, int y1, int x2, int y2);
    const ResolvedFont& resolved() const;

    QImage& picture_;
    Pen pen_;
    Brush brush_;
    Font font_;
    // The font's family looked up when text is first measured or written in it, kept until
    // another face is set: a held text box move measures on every step.
    mutable std::optional<ResolvedFont> resolved_;
    TextAlign align_ = TextAlign::Left;
    QPoint position_;
    Rect touched_;
    SpanSink penSpans_;
    SpanSink brushSpans_;
    EllipseOutline thinEllipse_; // its memory kept from one ellipse to the next
};

} // namespace raster
