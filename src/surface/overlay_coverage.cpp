#include "surface/overlay_coverage.h"

#include "surface/arrow_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {
// Pieces of a 1-pixel line are at most this long along its major axis: strips thin enough
// that a long diagonal repaints a narrow band, few enough that a move finds them quickly.
constexpr int PieceLength = 128;
// Every strip is grown by this margin: the rasterizer's pixel choice near a piece's end
// may fall one pixel beyond the ideal line.
constexpr int Margin = 2;

QRect boxOf(QPoint a, QPoint b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())))
        .adjusted(-Margin, -Margin, Margin, Margin);
}

void addLine(std::vector<QRect>& out, QPoint a, QPoint b) {
    long long major = std::max(std::llabs(static_cast<long long>(b.x()) - a.x()),
                               std::llabs(static_cast<long long>(b.y()) - a.y()));
    int pieces = static_cast<int>(std::clamp<long long>(major / PieceLength + 1, 1, 256));
    QPoint from = a;
    for (int i = 1; i <= pieces; ++i) {
        QPoint to(a.x() + static_cast<int>((static_cast<long long>(b.x()) - a.x()) * i / pieces),
                  a.y() + static_cast<int>((static_cast<long long>(b.y()) - a.y()) * i / pieces));
        out.push_back(boxOf(from, to));
        from = to;
    }
}

void addHead(std::vector<QRect>& out, QPoint from, QPoint tip, int length) {
    ArrowBarbs barbs = arrowBarbs(from.x(), from.y(), tip.x(), tip.y(), length);
    addLine(out, tip, barbs.first);
    addLine(out, tip, barbs.second);
}

void addRectangle(std::vector<QRect>& out, QPoint a, QPoint b) {
    int left = std::min(a.x(), b.x()), right = std::max(a.x(), b.x());
    int top = std::min(a.y(), b.y()), bottom = std::max(a.y(), b.y());
    // Edges of the half-open box: columns left and right - 1, rows top and bottom - 1.
    addLine(out, {left, top}, {right, top});
    addLine(out, {left, bottom}, {right, bottom});
    addLine(out, {left, top}, {left, bottom});
    addLine(out, {right, top}, {right, bottom});
}

void addEllipse(std::vector<QRect>& out, QPoint a, QPoint b) {
    double left = std::min(a.x(), b.x()), right = std::max(a.x(), b.x());
    double top = std::min(a.y(), b.y()), bottom = std::max(a.y(), b.y());
    double cx = (left + right) / 2, cy = (top + bottom) / 2;
    double rx = (right - left) / 2, ry = (bottom - top) / 2;
    // Within each arc between the sample angles the outline is monotonic in x and y, so
    // the box of the arc's ends holds the arc; the margin covers the rounding.
    // A multiple of four arcs, so the samples include the four extreme points.
    int arcs = static_cast<int>(std::clamp((rx + ry) / PieceLength, 1.0, 32.0)) * 8;
    // The sample angles step round by one rotation (this runs on every move of an ellipse
    // rubber band; a few hundred sines and cosines would cost more than drawing it). The
    // rounding error stays far below a pixel.
    const double step = 2 * std::numbers::pi / arcs;
    const double stepCos = std::cos(step), stepSin = std::sin(step);
    double c = 1, s = 0;
    auto point = [&] {
        return QPoint(static_cast<int>(std::floor(cx + rx * c + 0.5)),
                      static_cast<int>(std::floor(cy + ry * s + 0.5)));
    };
    QPoint from = point();
    for (int i = 1; i <= arcs; ++i) {
        const double nextC = c * stepCos - s * stepSin;
        s = s * stepCos + c * stepSin;
        c = nextC;
        QPoint to = point();
        out.push_back(boxOf(from, to));
        from = to;
    }
}
} // namespace

void overlayCoverage(const OverlayFigure& figure, std::vector<QRect>& out) {
    out.clear();
    QPoint a = figure.at, b = figure.to;
    if (figure.kind != OverlayKind::ShapePreview)
        return; // symbols are small: their touched box is reported as it is
    switch (figure.shape) {
    case ShapeFigure::Line:
        addLine(out, a, b);
        break;
    case ShapeFigure::Arrow:
        addLine(out, a, b);
        addHead(out, a, b, figure.size);
        break;
    case ShapeFigure::DoubleArrow:
        addLine(out, a, b);
        addHead(out, a, b, figure.size);
        addHead(out, b, a, figure.size);
        break;
    case ShapeFigure::Rectangle:
        addRectangle(out, a, b);
        break;
    case ShapeFigure::Ellipse:
        addEllipse(out, a, b);
        break;
    }
}
