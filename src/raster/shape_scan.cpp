#include "raster/shape_scan.h"

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
        out.add(top, left, right + 1);
        for (int64_t y = top + 1; y < bottom; ++y) {
            out.add(y, left, left + 1);
            if (right > left)
                out.add(y, right, right + 1);
        }
        if (bottom > top)
            out.add(bottom, left, right + 1);
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

// The same as largestScaled, fast: in double precision, falling back to the exact search
// only where the root lies so close to an integer that rounding could decide the answer.
int64_t largestScaledFast(int64_t w, int64_t h, Int128 k, bool strict) {
    constexpr int64_t kPrecise = int64_t(1) << 26;
    if (w < kPrecise && h < kPrecise) {
        const double root = double(w) * std::sqrt(double(int64_t(k))) / double(h);
        const double floor = std::floor(root);
        if (root - floor > 1e-6 && floor + 1 - root > 1e-6)
            return int64_t(floor);
    }
    return largestScaled(w, h, k, strict);
}

// Largest |X| <= limit with the parity of `parity`, or -1.
int64_t withParity(int64_t x, int64_t parity) {
    if (x < 0)
        return -1;
    return ((x - parity) & 1) ? x - 1 : x;
}

// The largest n >= 0 with n^2 h^2 <= w^2 k (< when strict), or -1, for a k that grows
// from call to call: the half chord of an ellipse's rows taken from the outermost row
// inwards. Between neighbouring rows the chord grows by a few steps, so it is followed with
// exact integer tests and recomputed in closed form only when it jumps (flat parts of huge
// ellipses) or the sizes are too large to follow.
class ChordTracker {
public:
    ChordTracker(int64_t w, int64_t h, bool strict)
        : w_(w), h_(h), strict_(strict), followed_(w < kFollowed && h < kFollowed),
          small_(w < kSmall && h < kSmall) {}

    int64_t at(Int128 wideK) {
        if (!followed_ || n_ == kUnknown)
            return n_ = largestScaledFast(w_, h_, wideK, strict_);
        const int64_t k = int64_t(wideK); // below h^2 < 2^60 here
        for (int steps = 0; steps < kMaxSteps; ++steps) {
            if (!fits(n_ + 1, k))
                return n_;
            ++n_;
        }
        return n_ = largestScaledFast(w_, h_, k, strict_);
    }

private:
    static constexpr int64_t kFollowed = int64_t(1) << 30, kSmall = int64_t(1) << 15;
    static constexpr int64_t kUnknown = INT64_MIN;
    static constexpr int kMaxSteps = 16;
    bool fits(int64_t n, int64_t k) const {
        if (small_) {
            // Sizes below 2^15 (every real picture): the products fit in 64 bits.
            const int64_t lhs = n * n * (h_ * h_), rhs = w_ * w_ * k;
            return strict_ ? lhs < rhs : lhs <= rhs;
        }
        const Int128 lhs = Int128(n * n) * (h_ * h_), rhs = Int128(w_ * w_) * k;
        return strict_ ? lhs < rhs : lhs <= rhs;
    }
    int64_t w_, h_;
    bool strict_, followed_, small_;
    int64_t n_ = kUnknown;
};

// The thin outline's filled ellipse: pixel rows are rounded to the nearest pixel where the
// curve is steep, pixel columns where it is flat, which is what a midpoint tracer gives:
// (X, Y) belongs if |X| <= E(Y) + 1 for the row extent E, or |Y| <= F(X) + 1 for the column
// extent F (doubled units). Gives the largest |X| on the row |Y| = y, or -1 for none.
class ThinExtents {
public:
    ThinExtents(int64_t w, int64_t h) : w_(w), h_(h), chord_(w, h, false) {}
    // Called with y falling: the chords asked for, at y then y - 1, then grow steadily.
    int64_t at(int64_t y) {
        if (y > h_)
            return -1;
        int64_t widest = w_;
        if (h_ > 0) {
            // (|X| - 1)^2 H^2 <= W^2 (H^2 - Y^2)
            const int64_t row = 1 + chord_.at(Int128(h_) * h_ - Int128(y) * y);
            // X^2 H^2 <= W^2 (H^2 - (|Y| - 1)^2), or any |X| <= W when |Y| <= 1
            const int64_t column =
                y <= 1 ? w_ : chord_.at(Int128(h_) * h_ - Int128(y - 1) * (y - 1));
            widest = std::min(std::max(row, column), w_);
        }
        return withParity(widest, w_);
    }

private:
    int64_t w_, h_;
    ChordTracker chord_;
};

// Pixels strictly inside the ellipse of doubled semi-axes (sw, sh): X^2 sh^2 + Y^2 sw^2 <
// sw^2 sh^2. Gives the largest |X| of parity `parity` on the row |Y| = y, or -1.
class StrictExtents {
public:
    StrictExtents(int64_t sw, int64_t sh, int64_t parity)
        : sw_(sw), sh_(sh), parity_(parity), chord_(sw, sh, true) {}
    int64_t at(int64_t y) {
        if (sw_ <= 0 || sh_ <= 0 || y >= sh_)
            return -1;
        return withParity(chord_.at(Int128(sh_) * sh_ - Int128(y) * y), parity_);
    }

private:
    int64_t sw_, sh_, parity_;
    ChordTracker chord_;
};

// Row extents depend on |Y| only, so the lower half of an ellipse reuses the upper half's.
// Holds a pair of extents for each |Y| of the rows from doubled Y `low` to `high`, worked
// out from the outermost row inwards, the order in which the chords change least.
class MirroredExtents {
public:
    template <typename Compute> MirroredExtents(int64_t low, int64_t high, Compute compute) {
        minAbs_ = (low <= 0 && high >= 0) ? (low & 1) : std::min(std::abs(low), std::abs(high));
        const int64_t maxAbs = std::max(std::abs(low), std::abs(high));
        auto& table = storage();
        table.resize(size_t((maxAbs - minAbs_) / 2 + 1));
        for (size_t i = table.size(); i-- > 0;)
            table[i] = compute(minAbs_ + 2 * int64_t(i));
        table_ = table.data();
    }
    const std::pair<int64_t, int64_t>& at(int64_t y) const {
        return table_[(std::abs(y) - minAbs_) / 2];
    }

private:
    // One buffer reused by every ellipse (drawing happens on one thread).
    static std::vector<std::pair<int64_t, int64_t>>& storage() {
        static thread_local std::vector<std::pair<int64_t, int64_t>> buffer;
        return buffer;
    }
    int64_t minAbs_;
    const std::pair<int64_t, int64_t>* table_;
};

struct RowRange {
    int64_t left = 1, right = 0; // inclusive pixel columns; left > right when empty
    bool empty() const { return left > right; }
};

RowRange rangeOf(int64_t cx2, int64_t extent) {
    if (extent < 0)
        return {};
    return {(cx2 - extent) / 2, (cx2 + extent) / 2};
}

// The rows first..last of the 1-pixel outline from the thin extents. Each row is the filled
// ellipse's row less what both neighbouring rows also cover, keeping the row's two ends:
// with e the row's extent, the hole is the extent min(above, below, e - 2) when that is not
// negative. Extents have the parity of the box, so the halves below are exact.
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
    const int64_t end = mirrored ? int64_t(floorDiv(cy2, 2)) : last;
    int64_t above = extentAt(first - 1), here = extentAt(first);
    for (int64_t y = first; y <= end; ++y) {
        const int64_t below = extentAt(y + 1);
        if (here >= 0) {
            const int64_t hole = std::min({above, below, here - 2});
            const int64_t left = (cx2 - here) >> 1, right = ((cx2 + here) >> 1) + 1;
            if (hole < 0) {
                if (pen)
                    span(pen, y, left, right);
            } else {
                const int64_t holeLeft = (cx2 - hole) >> 1, holeRight = ((cx2 + hole) >> 1) + 1;
                if (pen) {
                    span(pen, y, left, holeLeft);
                    span(pen, y, holeRight, right);
                }
                if (interior)
                    span(interior, y, holeLeft, holeRight);
            }
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
        ThinExtents thin(sizeX, sizeY);
        const MirroredExtents extents(2 * (first - 1) - cy2, 2 * (last + 1) - cy2,
                                      [&](int64_t absY) {
                                          return std::pair{thin.at(absY), int64_t(0)};
                                      });
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

    StrictExtents outerExtents(sizeX + w, sizeY + w, sizeX);
    StrictExtents innerExtents(sizeX - w, sizeY - w, sizeX);
    const MirroredExtents extents(2 * first - cy2, 2 * last - cy2, [&](int64_t absY) {
        return std::pair{outerExtents.at(absY), innerExtents.at(absY)};
    });
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
