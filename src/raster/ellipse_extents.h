#pragma once
// The extents of ellipses row by row, exact in integers: the thin outline's walk
// (EllipseOutline) and the wide pen's ring are built on them.
//
// Ellipse geometry in doubled units, so that half-pixel centres stay integers: the box
// [l, r) x [t, b) has its centre at (cx2 / 2, cy2 / 2) with cx2 = l + r - 1, and the ellipse
// through the centres of its extreme pixels has doubled semi-axes W = r - l - 1 and
// H = b - t - 1. A pixel (x, y) sits at X = 2x - cx2, Y = 2y - cy2; X has the parity of W.

#include "raster/rect.h"
#include "raster/wide_math.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace raster {

using std::int64_t;

// Largest n >= 0 with n^2 h^2 <= w^2 k (or < when strict), -1 if none; h > 0, k >= 0. In
// double precision where that cannot decide wrongly, else exactly.
int64_t largestScaledFast(int64_t w, int64_t h, Int128 k, bool strict);

// Largest |X| <= limit with the parity of `parity`, or -1.
inline int64_t withParity(int64_t x, int64_t parity) {
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
        if (small_)
            return atSmall(int64_t(wideK));
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

    // Sizes below 2^15 (every real picture): the products fit in 64 bits, and the chord is
    // followed with sums only, (n + 1)^2 h^2 kept and grown by (2n + 1) h^2 a step.
    bool small() const { return small_; }
    [[gnu::always_inline]] int64_t atSmall(int64_t k) {
        const int64_t rhs = w_ * w_ * k, hh = h_ * h_;
        if (n_ == kUnknown) {
            n_ = largestScaledFast(w_, h_, k, strict_);
            next_ = (n_ + 1) * (n_ + 1) * hh;
        }
        while (strict_ ? next_ < rhs : next_ <= rhs) {
            ++n_;
            next_ += (2 * n_ + 1) * hh;
        }
        return n_;
    }

private:
    static constexpr int64_t kFollowed = int64_t(1) << 30, kSmall = int64_t(1) << 15;
    static constexpr int64_t kUnknown = INT64_MIN;
    static constexpr int kMaxSteps = 16;
    bool fits(int64_t n, int64_t k) const {
        const Int128 lhs = Int128(n * n) * (h_ * h_), rhs = Int128(w_ * w_) * k;
        return strict_ ? lhs < rhs : lhs <= rhs;
    }
    int64_t w_, h_;
    bool strict_, followed_, small_;
    int64_t n_ = kUnknown;
    int64_t next_ = 0; // (n + 1)^2 h^2, for small sizes
};

// The thin outline's filled ellipse: pixel rows are rounded to the nearest pixel where the
// curve is steep, pixel columns where it is flat, which is what a midpoint tracer gives:
// (X, Y) belongs if |X| <= E(Y) + 1 for the row extent E, or |Y| <= F(X) + 1 for the column
// extent F (doubled units). Gives the largest |X| on the row |Y| = y, or -1 for none.
class ThinExtents {
public:
    ThinExtents(int64_t w, int64_t h) : w_(w), h_(h), chord_(w, h, false) {}
    // Called with y falling: the chords asked for, at y then y - 1, then grow steadily.
    [[gnu::always_inline]] int64_t at(int64_t y) { return y > h_ ? -1 : inside(y); }
    // The same for 0 <= y <= h.
    [[gnu::always_inline]] int64_t inside(int64_t y) {
        int64_t widest = w_;
        if (h_ > 0 && chord_.small()) {
            // As below, in 64 bits.
            const int64_t hh = h_ * h_;
            const int64_t row = 1 + chord_.atSmall(hh - y * y);
            const int64_t column = y <= 1 ? w_ : chord_.atSmall(hh - (y - 1) * (y - 1));
            widest = std::min(std::max(row, column), w_);
        } else if (h_ > 0) {
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
    using Table = std::vector<std::pair<int64_t, int64_t>>;
    // Works the table out into `table`, which must outlive the extents.
    template <typename Compute>
    MirroredExtents(int64_t low, int64_t high, Compute compute, Table& table) {
        minAbs_ = (low <= 0 && high >= 0) ? (low & 1) : std::min(std::abs(low), std::abs(high));
        const int64_t maxAbs = std::max(std::abs(low), std::abs(high));
        table.resize(size_t((maxAbs - minAbs_) / 2 + 1));
        for (size_t i = table.size(); i-- > 0;)
            table[i] = compute(minAbs_ + 2 * int64_t(i));
        table_ = table.data();
    }
    const std::pair<int64_t, int64_t>& at(int64_t y) const {
        return table_[(std::abs(y) - minAbs_) / 2];
    }

private:
    int64_t minAbs_;
    const std::pair<int64_t, int64_t>* table_;
};

// One row of the 1-pixel outline: the row of the filled ellipse less what both neighbouring
// rows also cover, keeping the row's two ends. With `here` the row's extent and `above`,
// `below` its neighbours' (doubled units, -1 for none), the hole is the extent
// min(above, below, here - 2) when that is not negative. Extents have the parity of the
// box, so the halves are exact.
struct ThinOutlineRow {
    // Pixels [left, right) of the filled row; [holeLeft, holeRight) inside them is not on
    // the outline (empty when holeLeft == holeRight). The whole row is empty when left ==
    // right.
    int64_t left, holeLeft, holeRight, right;
};
inline ThinOutlineRow thinOutlineRow(int64_t cx2, int64_t above, int64_t here, int64_t below) {
    if (here < 0)
        return {0, 0, 0, 0};
    const int64_t left = (cx2 - here) >> 1, right = ((cx2 + here) >> 1) + 1;
    const int64_t hole = std::min({above, below, here - 2});
    if (hole < 0)
        return {left, right, right, right};
    return {left, (cx2 - hole) >> 1, ((cx2 + hole) >> 1) + 1, right};
}

} // namespace raster
