#include "raster/shape_scan.h"

#include "raster/ellipse_extents.h"
#include "raster/wide_math.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

// Runs `rows(pen, interior)` with a sink that writes straight to the picture replaced by a
// DirectWriter over it, so that the row loops write pixels without a call per span.
template <typename Rows> void withWriters(SpanSink* pen, SpanSink* interior, Rows rows) {
    const bool penDirect = pen && pen->writesDirectly();
    const bool interiorDirect = interior && interior->writesDirectly();
    if (penDirect && interiorDirect) {
        DirectWriter out(*pen), inside(*interior);
        rows(&out, &inside);
    } else if (penDirect) {
        DirectWriter out(*pen);
        rows(&out, interior);
    } else {
        rows(pen, interior);
    }
}

} // namespace

namespace {
// Rows first..last of a 1-pixel rectangle outline: the top and bottom rows whole, the rows
// between them its two side columns.
template <typename Out>
void thinRectangleRows(Out& out, const Rect& box, int64_t first, int64_t last) {
    const int64_t left = box.left, right = int64_t(box.right) - 1;
    const int64_t top = box.top, bottom = int64_t(box.bottom) - 1;
    for (int64_t y = first; y <= last; ++y) {
        if (y == top || y == bottom || right - left < 2) {
            out.add(y, left, right + 1);
        } else {
            out.add(y, left, left + 1);
            out.add(y, right, right + 1);
        }
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
    if (w == 1 && !interior && pen && pen->writesDirectly() &&
        box.intersected(pen->clip()) == box) {
        // A 1-pixel outline inside the picture: its box exactly, with no tests per span.
        UnclippedWriter out(*pen, box);
        thinRectangleRows(out, box, top, bottom);
        return;
    }
    withWriters(pen, interior, [&](auto* pen, auto* interior) {
        for (int64_t y = first; y <= last; ++y) {
            if (y < top || y > bottom) {
                if (!pen)
                    continue;
                const int64_t m = halfChord(w, y < top ? top - y : y - bottom);
                if (m >= 0)
                    pen->add(y, left - m, right + m + 1);
                continue;
            }
            const bool hole = y >= top + h + 1 && y <= bottom - h - 1 && holeLeft <= holeRight;
            if (!hole) {
                if (pen)
                    pen->add(y, left - h, right + h + 1);
                continue;
            }
            if (pen) {
                pen->add(y, left - h, holeLeft);
                pen->add(y, holeRight + 1, right + h + 1);
            }
            if (interior)
                interior->add(y, holeLeft, holeRight + 1);
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

// The rows first..last of the 1-pixel outline from the thin extents.
//
// Rows y and cy2 - y mirror each other; `mirrored` walks the upper half only and writes each
// row's spans to its mirror row as well, for rows first..last that hold the whole outline.
template <bool mirrored, typename PenOut, typename InteriorOut>
void thinEllipseRows(PenOut* pen, InteriorOut* interior, const MirroredExtents& extents,
                     int64_t first, int64_t last, int64_t cx2, int64_t cy2) {
    auto extentAt = [&](int64_t y) {
        return extents.at(2 * y - cy2).first;
    };
    auto span = [&](auto* out, int64_t y, int64_t x0, int64_t x1) {
        out->add(y, x0, x1);
        if (mirrored && cy2 - y != y)
            out->add(cy2 - y, x0, x1);
    };
    const int64_t end = mirrored ? floorDiv(cy2, int64_t(2)) : last;
    int64_t above = extentAt(first - 1), here = extentAt(first);
    for (int64_t y = first; y <= end; ++y) {
        const int64_t below = extentAt(y + 1);
        const ThinOutlineRow row = thinOutlineRow(cx2, above, here, below);
        if (row.left < row.right) {
            if (pen) {
                if (row.left < row.holeLeft)
                    span(pen, y, row.left, row.holeLeft);
                if (row.holeRight < row.right)
                    span(pen, y, row.holeRight, row.right);
            }
            if (interior && row.holeLeft < row.holeRight)
                span(interior, y, row.holeLeft, row.holeRight);
        }
        above = here;
        here = below;
    }
}

} // namespace

// A 1-pixel outline is the boundary of the filled ellipse of thinExtent: the pixels of a
// row not covered by both neighbouring rows, plus the row's two ends. A wider pen covers
// the pixels inside the ellipse grown by w / 2 and not inside the one shrunk by w / 2 (both
// strict, so no lone pixel pokes out where a grown ellipse just reaches a pixel centre).
void scanEllipse(SpanSink* pen, SpanSink* interior, const Rect& box, int width) {
    ThinRowExtents thinRows;
    scanEllipse(pen, interior, box, width, thinRows);
}

void scanEllipse(SpanSink* pen, SpanSink* interior, const Rect& box, int width,
                 ThinRowExtents& thinRows) {
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
        const MirroredExtents extents = thinRows.of(box, first, last);
        // The outline of a box inside the picture touches all four sides of it and no
        // more: the rubber band's case, written with no tests per span.
        if (!interior && pen && pen->writesDirectly() && box.intersected(pen->clip()) == box) {
            UnclippedWriter out(*pen, box);
            thinEllipseRows<true>(&out, static_cast<SpanSink*>(nullptr), extents, first, last, cx2,
                                  cy2);
            return;
        }
        withWriters(pen, interior, [&](auto* pen, auto* interior) {
            thinEllipseRows<false>(pen, interior, extents, first, last, cx2, cy2);
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
    for (int64_t y = first; y <= last; ++y) {
        const auto [outerExtent, innerExtent] = extents.at(2 * y - cy2);
        const RowRange outer = rangeOf(cx2, outerExtent);
        if (outer.empty())
            continue;
        const RowRange inner = rangeOf(cx2, innerExtent);
        if (inner.empty()) {
            if (pen)
                pen->add(y, outer.left, outer.right + 1);
            continue;
        }
        if (pen) {
            pen->add(y, outer.left, inner.left);
            pen->add(y, inner.right + 1, outer.right + 1);
        }
        if (interior)
            interior->add(y, inner.left, inner.right + 1);
    }
}

} // namespace raster
