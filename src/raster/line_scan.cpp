#include "raster/line_scan.h"

#include "raster/wide_math.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace raster {

namespace {

using std::int64_t;

// Beyond this distance from the origin a wide segment is first cut to the neighbourhood of
// the clip box, so that the exact tests below stay within 128 bits.
constexpr int64_t kExactRange = int64_t(1) << 24;
// Pen widths are capped here; wider pens cover any picture anyway.
constexpr int64_t kMaxWidth = int64_t(1) << 15;

} // namespace

// Bresenham along the major axis (the axis of the larger delta; |dx| == |dy| counts as
// y-major). At step i the minor coordinate is the exact m1 + i * dm / dM rounded to the
// nearest integer; an exact half (the line leaving a pixel's diamond through its corner)
// goes to the smaller coordinate, whichever way the line runs, so a line covers the same
// pixels in both directions. With a = |dm| and q the minor offset taken so far, the error
// term is err = 2 i a - (2 q + 1) dM; the minor coordinate steps when err turns positive
// (running towards greater coordinates) or non-negative (towards smaller ones, where the
// half goes the other way). Steps i = 0 .. dM - 1 are drawn: the end point is left out here.
//
// Clipping starts at the first step inside the clip along the major axis with q and err
// computed in closed form, not by restarting the line at the clip edge, so a clipped line
// covers exactly the pixels of the whole line that fall inside.
void scanThinLine(SpanSink& sink, int x1, int y1, int x2, int y2) {
    const int64_t dx = int64_t(x2) - x1, dy = int64_t(y2) - y1;
    const bool xMajor = std::llabs(dx) > std::llabs(dy);
    const int64_t majorStart = xMajor ? x1 : y1, minorStart = xMajor ? y1 : x1;
    const int64_t majorDelta = xMajor ? dx : dy, minorDelta = xMajor ? dy : dx;
    const int64_t length = std::llabs(majorDelta), a = std::llabs(minorDelta);
    if (length == 0)
        return;
    const int majorStep = majorDelta > 0 ? 1 : -1, minorStep = minorDelta < 0 ? -1 : 1;
    const bool halfGoesOn = minorDelta < 0;

    const Rect& clip = sink.clip();
    const int64_t clipLow = xMajor ? clip.left : clip.top;
    const int64_t clipHigh = xMajor ? clip.right : clip.bottom; // exclusive
    int64_t first, end;
    if (majorStep > 0) {
        first = std::max<int64_t>(0, clipLow - majorStart);
        end = std::min<int64_t>(length, clipHigh - majorStart);
    } else {
        first = std::max<int64_t>(0, majorStart - clipHigh + 1);
        end = std::min<int64_t>(length, majorStart - clipLow + 1);
    }
    if (first >= end)
        return;

    // The minor offset taken by step i, in closed form.
    auto offsetAt = [&](int64_t i) {
        const Int128 twiceStep = Int128(2) * i * a;
        return halfGoesOn ? int64_t(floorDiv(twiceStep + length, Int128(2) * length))
                          : int64_t(ceilDiv(twiceStep - length, Int128(2) * length));
    };
    const int64_t q = offsetAt(first);
    int64_t err = int64_t(Int128(2) * first * a - Int128(2 * q + 1) * length);
    int64_t minor = minorStart + minorStep * q;
    int64_t major = majorStart + majorStep * first;
    const int64_t minorLow = xMajor ? clip.top : clip.left;
    const int64_t minorHigh = xMajor ? clip.bottom : clip.right;
    const int bias = halfGoesOn ? 1 : 0;

    if (sink.writesDirectly() && clip.contains(x1, y1) && clip.contains(x2, y2)) {
        // Both ends inside, so every step is: pixel by pixel with no tests, the box running
        // from the first pixel to the last.
        const int64_t lastMajor = majorStart + majorStep * (length - 1);
        const int64_t lastMinor = minorStart + minorStep * offsetAt(length - 1);
        const Rect firstPixel{x1, y1, x1 + 1, y1 + 1};
        const Rect lastPixel =
            xMajor ? Rect{int(lastMajor), int(lastMinor), int(lastMajor) + 1, int(lastMinor) + 1}
                   : Rect{int(lastMinor), int(lastMajor), int(lastMinor) + 1, int(lastMajor) + 1};
        UnclippedWriter out(sink, firstPixel.united(lastPixel));
        const std::ptrdiff_t majorMove = xMajor ? majorStep : majorStep * out.stride();
        const std::ptrdiff_t minorMove = xMajor ? minorStep * out.stride() : minorStep;
        std::ptrdiff_t at = out.offsetOf(x1, y1);
        for (int64_t i = 0; i < length; ++i) {
            out.apply(at);
            err += 2 * a;
            if (err + bias > 0) {
                at += minorMove;
                err -= 2 * length;
            }
            at += majorMove;
        }
        return;
    }

    auto trace = [&](auto& out) {
        for (int64_t i = first; i < end; ++i) {
            if (minor >= minorLow && minor < minorHigh) {
                if (xMajor)
                    out.add(minor, major, major + 1);
                else
                    out.add(major, minor, minor + 1);
            }
            err += 2 * a;
            if (err + bias > 0) {
                minor += minorStep;
                err -= 2 * length;
            }
            major += majorStep;
        }
    };
    if (sink.writesDirectly()) {
        DirectWriter out(sink); // no call per pixel
        trace(out);
    } else {
        trace(sink);
    }
}

namespace {

// Floor and ceiling of row ends, which lie well within 64 bits: without SSE4.1 the library
// calls would cost more than the rest of a short row.
int64_t floorOf(double v) {
    const int64_t i = int64_t(v);
    return i - (v < double(i));
}
int64_t ceilOf(double v) {
    const int64_t i = int64_t(v);
    return i + (v > double(i));
}
// Whether v lies within `doubt` of an integer.
bool nearInteger(double v, double doubt) {
    const double fraction = v - double(floorOf(v));
    return fraction < doubt || 1 - fraction < doubt;
}

// A segment with its pen, in coordinates small enough for exact 128-bit tests.
struct Capsule {
    int64_t x1, y1, x2, y2;
    int64_t width;
    int64_t dx() const { return x2 - x1; }
    int64_t dy() const { return y2 - y1; }

    // Whether the centre of pixel (x, y) lies within width / 2 of the segment.
    bool covers(int64_t x, int64_t y) const {
        const int64_t vx = x - x1, vy = y - y1;
        const int64_t lengthSquared = dx() * dx() + dy() * dy();
        const int64_t along = vx * dx() + vy * dy();
        const int64_t widthSquared = width * width;
        if (lengthSquared == 0 || along <= 0)
            return 4 * (vx * vx + vy * vy) <= widthSquared;
        if (along >= lengthSquared) {
            const int64_t ux = x - x2, uy = y - y2;
            return 4 * (ux * ux + uy * uy) <= widthSquared;
        }
        const Int128 cross = Int128(vx) * dy() - Int128(vy) * dx();
        return 4 * cross * cross <= Int128(widthSquared) * lengthSquared;
    }
};

struct Interval {
    double low = 1, high = 0;
    bool empty() const { return low > high; }
    void unite(double l, double h) {
        if (l > h)
            return;
        if (empty())
            low = l, high = h;
        else
            low = std::min(low, l), high = std::max(high, h);
    }
};

// The real x range of the capsule on a row (approximate; the capsule is convex, so one
// interval): the two end discs and the band between the perpendiculars through the ends.
// What does not change from row to row is worked out once.
class RowSolver {
public:
    explicit RowSolver(const Capsule& c)
        : r_(c.width / 2.0), x1_(double(c.x1)), y1_(double(c.y1)), x2_(double(c.x2)),
          y2_(double(c.y2)), dx_(double(c.dx())), dy_(double(c.dy())) {
        lengthSquared_ = dx_ * dx_ + dy_ * dy_;
        reach_ = r_ * std::sqrt(lengthSquared_);
        invDx_ = dx_ != 0 ? 1 / dx_ : 0;
        invDy_ = dy_ != 0 ? 1 / dy_ : 0;
    }

    Interval at(int64_t y) const {
        Interval row;
        const double vy = double(y) - y1_, wy = double(y) - y2_;
        if (std::abs(vy) <= r_) {
            const double half = std::sqrt(r_ * r_ - vy * vy);
            row.unite(x1_ - half, x1_ + half);
        }
        if (std::abs(wy) <= r_) {
            const double half = std::sqrt(r_ * r_ - wy * wy);
            row.unite(x2_ - half, x2_ + half);
        }
        if (lengthSquared_ == 0)
            return row;
        double low, high;
        if (dy_ == 0) {
            if (std::abs(vy) > r_)
                return row;
            low = std::min(0.0, dx_), high = std::max(0.0, dx_);
        } else {
            // |(x - x1) dy - vy dx| <= r length
            const double a = (vy * dx_ - reach_) * invDy_, b = (vy * dx_ + reach_) * invDy_;
            low = std::min(a, b), high = std::max(a, b);
            // 0 <= (x - x1) dx + vy dy <= length^2
            if (dx_ != 0) {
                const double s = -vy * dy_ * invDx_, t = (lengthSquared_ - vy * dy_) * invDx_;
                low = std::max(low, std::min(s, t)), high = std::min(high, std::max(s, t));
            } else if (vy * dy_ < 0 || vy * dy_ > lengthSquared_) {
                return row;
            }
        }
        row.unite(x1_ + low, x1_ + high);
        return row;
    }

private:
    double r_, x1_, y1_, x2_, y2_, dx_, dy_;
    double lengthSquared_, reach_, invDx_, invDy_;
};

// Cuts the segment to the part within `box` (Liang-Barsky). False when it misses the box.
bool cutToBox(double& x1, double& y1, double& x2, double& y2, double left, double top, double right,
              double bottom) {
    double t0 = 0, t1 = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    auto edge = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!edge(-dx, x1 - left) || !edge(dx, right - x1) || !edge(-dy, y1 - top) ||
        !edge(dy, bottom - y1))
        return false;
    const double nx1 = x1 + t0 * dx, ny1 = y1 + t0 * dy;
    x2 = x1 + t1 * dx, y2 = y1 + t1 * dy;
    x1 = nx1, y1 = ny1;
    return true;
}

} // namespace

// Each row's range comes from the closed-form intersection in floating point; where an end
// lies so close to a pixel centre that rounding could decide it, the exact integer test
// settles it, so the result is exact for any coordinates within kExactRange.
void scanWideSegment(SpanSink& sink, int x1, int y1, int x2, int y2, int width) {
    Capsule c{x1, y1, x2, y2, std::clamp<int64_t>(width, 1, kMaxWidth)};
    const int64_t half = c.width / 2;
    const Rect& clip = sink.clip();
    if (clip.isEmpty())
        return;
    auto far = [](int64_t v) {
        return v < -kExactRange || v > kExactRange;
    };
    if (far(c.x1) || far(c.y1) || far(c.x2) || far(c.y2)) {
        // Only the part near the clip can reach it; the cut ends lie more than a pen radius
        // outside, so their round ends stay invisible.
        const double margin = double(half + 2);
        double a = c.x1, b = c.y1, p = c.x2, q = c.y2;
        if (!cutToBox(a, b, p, q, clip.left - margin, clip.top - margin, clip.right + margin,
                      clip.bottom + margin))
            return;
        c.x1 = std::llround(a), c.y1 = std::llround(b), c.x2 = std::llround(p),
        c.y2 = std::llround(q);
    }

    const int64_t top = std::max<int64_t>(std::min(c.y1, c.y2) - half, clip.top);
    const int64_t bottom = std::min<int64_t>(std::max(c.y1, c.y2) + half, clip.bottom - 1);
    const int64_t leftmost = std::min(c.x1, c.x2) - half, rightmost = std::max(c.x1, c.x2) + half;
    constexpr double kDoubt = 1e-6;
    const RowSolver solver(c);
    auto trace = [&](auto& out) {
        for (int64_t y = top; y <= bottom; ++y) {
            const Interval row = solver.at(y);
            if (row.low > row.high + 2 * kDoubt)
                continue;
            const int64_t searchLow = std::max<int64_t>(leftmost, ceilOf(row.low - kDoubt));
            const int64_t searchHigh = std::min<int64_t>(rightmost, floorOf(row.high + kDoubt));
            int64_t x0 = searchLow, x1 = searchHigh;
            if (nearInteger(row.low, kDoubt))
                while (x0 <= searchHigh && !c.covers(x0, y))
                    ++x0;
            if (nearInteger(row.high, kDoubt))
                while (x1 >= x0 && !c.covers(x1, y))
                    --x1;
            if (x0 <= x1)
                out.add(y, x0, x1 + 1);
        }
    };
    if (sink.writesDirectly()) {
        DirectWriter out(sink);
        trace(out);
    } else {
        trace(sink);
    }
}

} // namespace raster
