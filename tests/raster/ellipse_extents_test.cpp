// The chord tracker follows an ellipse's half chords row by row with sums only; every answer
// must equal the exact largest n with n^2 h^2 <= w^2 k (< when strict).
#include "raster/ellipse_extents.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

using namespace raster;

namespace {

int64_t exactChord(int64_t w, int64_t h, int64_t k, bool strict) {
    auto fits = [&](int64_t n) {
        const Int128 lhs = Int128(n) * n * h * h, rhs = Int128(w) * w * k;
        return strict ? lhs < rhs : lhs <= rhs;
    };
    if (!fits(0))
        return -1;
    int64_t n = int64_t(std::sqrt((long double)w * w * k / ((long double)h * h)));
    while (n > 0 && !fits(n))
        --n;
    while (fits(n + 1))
        ++n;
    return n;
}

} // namespace

TEST(EllipseExtents, TheChordTrackerGivesTheExactChordOnEveryRow) {
    std::mt19937 random(31);
    auto pick = [&](int64_t n) {
        return std::uniform_int_distribution<int64_t>(0, n - 1)(random);
    };
    for (int i = 0; i < 400; ++i) {
        // Flat, tall and round ellipses, up to the size of a large screen in doubled units.
        const int64_t w = 1 + pick(i % 3 == 0 ? 8000 : 300), h = 1 + pick(i % 3 == 1 ? 8000 : 300);
        const bool strict = i % 2 == 0;
        ChordTracker tracker(w, h, strict);
        // Rows from the outermost inwards, as the ellipse scan asks, sometimes skipping some.
        for (int64_t y = h - pick(3); y >= 0; y -= 1 + pick(2) * pick(4)) {
            const int64_t k = h * h - y * y;
            ASSERT_EQ(tracker.at(k), exactChord(w, h, k, strict))
                << "w " << w << " h " << h << " y " << y << (strict ? " strict" : "");
        }
    }
}
