#include "raster/ellipse_extents.h"

#include <cmath>

namespace raster {

namespace {

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

} // namespace

// Falls back to the exact search only where the root lies so close to an integer that
// rounding could decide the answer.
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

} // namespace raster
