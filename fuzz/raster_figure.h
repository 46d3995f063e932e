#pragma once
// The figures the rasterizer fuzz target draws, each a call of the canvas with its points.

#include "raster/canvas.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace fuzz {

enum class Kind { Line, Polyline, Rectangle, Ellipse, CopyRect, Text };

struct Figure {
    Kind kind;
    std::vector<QPoint> points; // line: from, to; polyline: all; shapes and copies: corners
    QString text;               // text: at points[0]

    bool fitsShifted(int shift) const {
        for (QPoint p : points)
            if (p.x() > INT_MAX - shift || p.y() > INT_MAX - shift)
                return false;
        return true;
    }
    Figure shifted(int shift) const {
        Figure moved = *this;
        for (QPoint& p : moved.points)
            p += QPoint(shift, shift);
        return moved;
    }
    // Whether the figure may write (x, y): its points' box (right and bottom exclusive for
    // the shapes and copies) grown by half the pen's width. Text has no box of its own.
    bool mayWrite(int x, int y, int penWidth) const {
        if (kind == Kind::Text)
            return true;
        std::int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
        for (QPoint p : points) {
            left = std::min<std::int64_t>(left, p.x());
            top = std::min<std::int64_t>(top, p.y());
            right = std::max<std::int64_t>(right, p.x());
            bottom = std::max<std::int64_t>(bottom, p.y());
        }
        if (kind == Kind::Rectangle || kind == Kind::Ellipse || kind == Kind::CopyRect)
            --right, --bottom;
        const std::int64_t half = kind == Kind::CopyRect ? 0 : std::max(penWidth, 1) / 2;
        return x >= left - half && x <= right + half && y >= top - half && y <= bottom + half;
    }
    std::string describe() const {
        static const char* names[] = {"line", "polyline", "rectangle", "ellipse", "copy", "text"};
        std::ostringstream out;
        out << names[int(kind)];
        for (QPoint p : points)
            out << " (" << p.x() << "," << p.y() << ")";
        if (kind == Kind::Text)
            out << " \"" << text.toStdString() << "\"";
        return out.str();
    }
};

// The source of block copies: its own pixels, a little larger or smaller than the picture.
inline QImage copySource(int width, int height, std::uint32_t seed) {
    QImage source(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(
                x, y, 0xFF000000u | ((seed + 2654435761u * std::uint32_t(x + 97 * y)) & 0xFFFFFF));
    return source;
}

inline void draw(raster::Canvas& canvas, const Figure& figure, const QImage& source) {
    const std::vector<QPoint>& p = figure.points;
    switch (figure.kind) {
    case Kind::Line:
        canvas.Line(p[0].x(), p[0].y(), p[1].x(), p[1].y());
        break;
    case Kind::Polyline:
        canvas.Polyline(p);
        break;
    case Kind::Rectangle:
        canvas.Rectangle(p[0].x(), p[0].y(), p[1].x(), p[1].y());
        break;
    case Kind::Ellipse:
        canvas.Ellipse(p[0].x(), p[0].y(), p[1].x(), p[1].y());
        break;
    case Kind::CopyRect:
        canvas.CopyRect(source, raster::Rect{p[0].x(), p[0].y(), p[1].x(), p[1].y()});
        break;
    case Kind::Text:
        canvas.TextOut(p[0].x(), p[0].y(), figure.text);
        break;
    }
}

} // namespace fuzz
