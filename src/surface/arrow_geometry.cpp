#include "surface/arrow_geometry.h"

#include "surface/nearest.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double kPi = std::numbers::pi;
constexpr float kBarbAngle = 0.34906584f; // 20 degrees

// The direction and the barb angles are stored in single precision between steps, while
// each step itself is computed wider; the barb ends for the halves depend on it.
float directionOf(int x1, int y1, int x2, int y2) {
    long long dx = static_cast<long long>(x2) - x1, dy = static_cast<long long>(y2) - y1;
    if (dx == 0)
        return static_cast<float>(dy > 0 ? kPi / 2 : 3 * kPi / 2);
    float theta = static_cast<float>(std::atan(static_cast<double>(dy) / static_cast<double>(dx)));
    if (dx < 0)
        theta = static_cast<float>(theta + kPi);
    else if (dy < 0)
        theta = static_cast<float>(theta + 2 * kPi);
    return theta;
}

QPoint barbEnd(int x2, int y2, float phi, int length) {
    float s = static_cast<float>(length * std::sin(static_cast<double>(phi)));
    int t = -nearest(s);
    double sd = s;
    int u = nearest(std::sqrt(std::max(0.0, static_cast<double>(length) * length - sd * sd)));
    if (std::cos(static_cast<double>(phi)) > 0)
        u = -u;
    return QPoint(x2 + u, y2 + t);
}
} // namespace

ArrowBarbs arrowBarbs(int x1, int y1, int x2, int y2, int length) {
    float theta = directionOf(x1, y1, x2, y2);
    float before = static_cast<float>(static_cast<double>(theta) - kBarbAngle);
    float after = static_cast<float>(static_cast<double>(theta) + kBarbAngle);
    return {barbEnd(x2, y2, before, length), barbEnd(x2, y2, after, length)};
}
