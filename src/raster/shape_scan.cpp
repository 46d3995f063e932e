#include "raster/shape_scan.h"

#include "raster/wide_math.h"

#include <algorithm>
#include <cmath>

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
}

namespace {

// Ellipse geometry in doubled units, so that half-pixel centres stay integers: the box
// [l, r) x [t, b) has its centre at (cx2 / 2, cy2 / 2) with cx2 = l + r - 1, and the ellipse
// through the centres of its extreme pixels has doubled semi-axes W = r - l - 1 and
// H = b - t - 1. A pixel (x, y) sits at X = 2x - cx2, Y = 2y - cy2; X has the parity of W.

// Compares n^2 h^2 with w^2 k: -1, 0 or 1. Exact in 128 bits while the sizes stay below
// 2^30; beyond that (boxes spanning most of the int range) in long double.
int compareScaled(int64_t n, int64_t h, int64_t w, Int128 k) {
    constexpr int64_t kExact = int64_t(1) << 30;
    if (n < kExact && h < kExact && w < kExact) {
        const Int128 lhs = Int128(n) * n * h * h, rhs = Int128(w) * w * k;
        return lhs < rhs ? -1 : lhs > rhs ? 1 : 0;
    }
    const long double lhs = (long double)n * n * h * h, rhs = (long double)w * w * (long double)k;
    return lhs < rhs ? -1 : lhs > rhs ? 1 : 0;
}

// Largest n >= 0 with n^2 h^2 <= w^2 k (or < when strict), -1 if none; h > 0, k >= 0.
int64_t largestScaled(int64_t w, int64_t h, Int128 k, bool strict) {
    auto fits = [&](int64_t n) {
        const int c = compareScaled(n, h, w, k);
        return strict ? c < 0 : c <= 0;
    };
    int64_t n = int64_t(std::floor((long double)w * std::sqrt((long double)k) / h));
    n = std::max<int64_t>(n, 0);
    while (n >= 0 && !fits(n))
        --n;
    while (fits(n + 1))
        ++n;
    return n;
}

// Largest |X| <= limit with the parity of `parity`, or -1.
int64_t withParity(int64_t x, int64_t parity) {
    if (x < 0)
        return -1;
    return ((x - parity) & 1) ? x - 1 : x;
}

// The thin outline's filled ellipse: pixel rows are rounded to the nearest pixel where the
// curve is steep, pixel columns where it is flat, which is what a midpoint tracer gives:
// (X, Y) belongs if |X| <= E(Y) + 1 for the row extent E, or |Y| <= F(X) + 1 for the column
// extent F (doubled units). Returns the largest |X| on row Y, or -1 for an empty row.
int64_t thinExtent(int64_t w, int64_t h, int64_t y) {
    y = y < 0 ? -y : y;
    if (y > h)
        return -1;
    int64_t byRow, byColumn;
    if (h == 0) {
        byRow = byColumn = w;
    } else {
        // (|X| - 1)^2 H^2 <= W^2 (H^2 - Y^2)
        byRow = 1 + largestScaled(w, h, Int128(h) * h - Int128(y) * y, false);
        // X^2 H^2 <= W^2 (H^2 - (|Y| - 1)^2), or any |X| <= W when |Y| <= 1
        byColumn = y <= 1 ? w : largestScaled(w, h, Int128(h) * h - Int128(y - 1) * (y - 1), false);
    }
    return withParity(std::min(std::max(byRow, byColumn), w), w);
}

// Pixels strictly inside the ellipse of doubled semi-axes (sw, sh): X^2 sh^2 + Y^2 sw^2 <
// sw^2 sh^2. Returns the largest |X| of parity `parity` on row Y, or -1.
int64_t strictExtent(int64_t sw, int64_t sh, int64_t y, int64_t parity) {
    y = y < 0 ? -y : y;
    if (sw <= 0 || sh <= 0 || y >= sh)
        return -1;
    return withParity(largestScaled(sw, sh, Int128(sh) * sh - Int128(y) * y, true), parity);
}

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
        auto rowAt = [&](int64_t y) {
            return rangeOf(cx2, thinExtent(sizeX, sizeY, 2 * y - cy2));
        };
        RowRange above = rowAt(first - 1), here = rowAt(first);
        for (int64_t y = first; y <= last; ++y) {
            const RowRange below = rowAt(y + 1);
            if (!here.empty()) {
                RowRange inner;
                if (!above.empty() && !below.empty())
                    inner = {std::max({above.left, below.left, here.left + 1}),
                             std::min({above.right, below.right, here.right - 1})};
                if (inner.empty()) {
                    if (pen)
                        pen->add(y, here.left, here.right + 1);
                } else {
                    if (pen) {
                        pen->add(y, here.left, inner.left);
                        pen->add(y, inner.right + 1, here.right + 1);
                    }
                    if (interior)
                        interior->add(y, inner.left, inner.right + 1);
                }
            }
            above = here;
            here = below;
        }
        return;
    }

    for (int64_t y = first; y <= last; ++y) {
        const int64_t yy = 2 * y - cy2;
        const RowRange outer = rangeOf(cx2, strictExtent(sizeX + w, sizeY + w, yy, sizeX));
        if (outer.empty())
            continue;
        const RowRange inner = rangeOf(cx2, strictExtent(sizeX - w, sizeY - w, yy, sizeX));
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
