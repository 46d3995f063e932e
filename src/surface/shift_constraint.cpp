#include "surface/shift_constraint.h"

#include "surface/nearest.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
// Differences in 64 bits: points far off the picture must not overflow.
struct Delta {
    long long dx, dy;
    Delta(QPoint from, QPoint to)
        : dx(static_cast<long long>(to.x()) - from.x()),
          dy(static_cast<long long>(to.y()) - from.y()) {}
};
long long sgn(long long v) {
    return (v > 0) - (v < 0);
}
QPoint offset(QPoint anchor, long long sx, long long sy, long long m) {
    return QPoint(static_cast<int>(anchor.x() + sx * m), static_cast<int>(anchor.y() + sy * m));
}
} // namespace

QPoint constrainToAxisOrDiagonal(QPoint anchor, QPoint pointer) {
    Delta d(anchor, pointer);
    long long adx = std::llabs(d.dx), ady = std::llabs(d.dy);
    double angle = adx == 0 ? std::numbers::pi / 2 : std::atan(static_cast<double>(ady) / adx);
    if (std::abs(angle - std::numbers::pi / 4) <= std::numbers::pi / 10)
        return offset(anchor, sgn(d.dx), sgn(d.dy), nearest((adx + ady) / 2.0));
    if (ady > adx)
        return QPoint(anchor.x(), pointer.y());
    return QPoint(pointer.x(), anchor.y());
}

QPoint constrainToSquare(QPoint anchor, QPoint pointer) {
    Delta d(anchor, pointer);
    return offset(anchor, sgn(d.dx), sgn(d.dy), std::min(std::llabs(d.dx), std::llabs(d.dy)));
}
