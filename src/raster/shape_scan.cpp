#include "raster/shape_scan.h"

#include "raster/ellipse_extents.h"
#include "raster/ellipse_outline.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace raster {

namespace {

using std::int64_t;

constexpr int64_t kMaxWidth = int64_t(1) << 15;

int64_t penWidth(int width) {
    return std::clamp<int64_t>(width, 1, kMaxWidth);
}

// The rows both sinks may receive, so no work is spent on rows outside the picture.
Rect clipOf(const SpanSink* pen, const SpanSink* interior) {
    Rect clip = pen ? pen->clip() : Rect{};
    return interior ? clip.united(interior->clip()) : clip;
}

// Largest m >= 0 with 4 (m^2 + d^2) <= w^2, or -1: the half chord of a pen's round end at
// distance d from its centre.
int64_t halfChord(int64_t width, int64_t d) {
    const int64_t room = width * width - 4 * d * d;
    if (room < 0)
        return -1;
    int64_t m = int64_t(std::sqrt(double(room) / 4));
    while (m > 0 && 4 * m * m > room)
        --m;
    while (4 * (m + 1) * (m + 1) <= room)
        ++m;
    return m;
}

// Takes the spans of a part that is not wanted.
struct NoSpans {
    void add(int64_t, int64_t, int64_t) {}
};

// Runs rows(penOut, interiorOut) with each sink's writer (SpanSink::draw), or NoSpans for a
// null sink. The pen's spans cover exactly `penBox` when it is given.
template <typename Rows>
void drawParts(SpanSink* pen, const std::optional<Rect>& penBox, SpanSink* interior, Rows rows) {
    auto withInterior = [&](auto& penOut) {
        if (interior) {
            interior->draw([&](auto& interiorOut) { rows(penOut, interiorOut); });
        } else {
            NoSpans none;
            rows(penOut, none);
        }
    };
    if (pen) {
        pen->draw(penBox, withInterior);
    } else {
        NoSpans none;
        withInterior(none);
    }
}

} // namespace

Rect normalisedBox(int x1, int y1, int x2, int y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

// The pen covers the pixels whose centres lie within w / 2 of the path through the corners
// (l, t), (r - 1, t), (r - 1, b - 1), (l, b - 1): inside the box that is a frame h = w div 2
// pixels deep on either side of the path; outside, the corners round off like a pen's end.
void scanRectangle(SpanSink* pen, SpanSink* interior, const Rect& box, int width) {
    if (box.isEmpty())
        return;
    const int64_t w = penWidth(width), h = w / 2;
    const int64_t left = box.left, right = int64_t(box.right) - 1;
    const int64_t top = box.top, bottom = int64_t(box.bottom) - 1;
    const Rect clip = clipOf(pen, interior);
    const int64_t first = std::max<int64_t>(top - h, clip.top);
    const int64_t last = std::min<int64_t>(bottom + h, int64_t(clip.bottom) - 1);
    const int64_t holeLeft = left + h + 1, holeRight = right - h - 1;
    // The pen reaches h pixels beyond the box on every side: on the rows top - h and
    // bottom + h its round corner's chord is at least a pixel, in the columns left - h and
    // right + h it runs the box's height.
    drawParts(pen, box.grown(int(h)), interior, [&](auto& pen, auto& interior) {
        for (int64_t y = first; y <= last; ++y) {
            if (y < top || y > bottom) {
                const int64_t m = halfChord(w, y < top ? top - y : y - bottom);
                if (m >= 0)
                    pen.add(y, left - m, right + m + 1);
                continue;
            }
            const bool hole = y >= top + h + 1 && y <= bottom - h - 1 && holeLeft <= holeRight;
            if (!hole) {
                pen.add(y, left - h, right + h + 1);
                continue;
            }
            pen.add(y, left - h, holeLeft);
            pen.add(y, holeRight + 1, right + h + 1);
            interior.add(y, holeLeft, holeRight + 1);
        }
    });
}

namespace {

struct RowRange {
    int64_t left = 1, right = 0; // inclusive pixel columns; left > right when empty
    bool empty() const { return left > right; }
};

RowRange rangeOf(int64_t cx2, int64_t extent) {
    if (extent < 0)
        return {};
    return {(cx2 - extent) / 2, (cx2 + extent) / 2};
}

} // namespace

// A 1-pixel outline is the boundary of the filled ellipse of thinExtent: the pixels of a
// row not covered by both neighbouring rows, plus the row's two ends. A wider pen covers
// the pixels inside the ellipse grown by w / 2 and not inside the one shrunk by w / 2 (both
// strict, so no lone pixel pokes out where a grown ellipse just reaches a pixel centre).
void scanEllipse(SpanSink* pen, SpanSink* interior, const Rect& box, int width) {
    EllipseOutline thin;
    scanEllipse(pen, interior, box, width, thin);
}

void scanEllipse(SpanSink* pen, SpanSink* interior, const Rect& box, int width,
                 EllipseOutline& thin) {
    if (box.isEmpty())
        return;
    const int64_t w = penWidth(width), half = w / 2;
    const int64_t cx2 = int64_t(box.left) + box.right - 1, cy2 = int64_t(box.top) + box.bottom - 1;
    const int64_t sizeX = box.width() - 1, sizeY = box.height() - 1;
    const Rect clip = clipOf(pen, interior);
    const int64_t first = std::max<int64_t>(int64_t(box.top) - half, clip.top);
    const int64_t last =
        std::min<int64_t>(int64_t(box.bottom) - 1 + half, int64_t(clip.bottom) - 1);
    if (first > last)
        return;

    if (w == 1) {
        thin.trace(box, clip, /*withBoxes=*/false);
        // The outline touches all four sides of its box and no more.
        drawParts(pen, box, interior, [&](auto& pen, auto& interior) {
            for (int64_t y = thin.first(); y <= thin.last(); ++y) {
                const OutlineSpans& row = thin.row(y);
                if (row.left < row.holeLeft)
                    pen.add(y, row.left, row.holeLeft);
                if (row.holeRight < row.right)
                    pen.add(y, row.holeRight, row.right);
                if (row.holeLeft < row.holeRight)
                    interior.add(y, row.holeLeft, row.holeRight);
            }
        });
        return;
    }

    MirroredExtents::Table table;
    StrictExtents outerExtents(sizeX + w, sizeY + w, sizeX);
    StrictExtents innerExtents(sizeX - w, sizeY - w, sizeX);
    const MirroredExtents extents(
        2 * first - cy2, 2 * last - cy2,
        [&](int64_t absY) {
            return std::pair{outerExtents.at(absY), innerExtents.at(absY)};
        },
        table);
    drawParts(pen, std::nullopt, interior, [&](auto& pen, auto& interior) {
        for (int64_t y = first; y <= last; ++y) {
            const auto [outerExtent, innerExtent] = extents.at(2 * y - cy2);
            const RowRange outer = rangeOf(cx2, outerExtent);
            if (outer.empty())
                continue;
            const RowRange inner = rangeOf(cx2, innerExtent);
            if (inner.empty()) {
                pen.add(y, outer.left, outer.right + 1);
                continue;
            }
            pen.add(y, outer.left, inner.left);
            pen.add(y, inner.right + 1, outer.right + 1);
            interior.add(y, inner.left, inner.right + 1);
        }
    });
}

} // namespace raster
