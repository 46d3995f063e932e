#include "raster/line_scan.h"

#include "raster/wide_math.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace raster {

namespace {

using std::int64_t;

// Beyond this distance from the origin a wide segment is first cut to the neighbourhood of
// the clip box, so that the exact tests below stay within 128 bits.
constexpr int64_t kExactRange = int64_t(1) << 24;
// Pen widths are capped here; wider pens cover any picture anyway.
constexpr int64_t kMaxWidth = int64_t(1) << 15;

} // namespace

namespace {

// Bresenham along the major axis (the axis of the larger delta; |dx| == |dy| counts as
// y-major). At step i the minor coordinate is the exact m1 + i * dm / dM rounded to the
// nearest integer; an exact half (the line leaving a pixel's diamond through its corner)
// goes to the smaller coordinate, whichever way the line runs, so a line covers the same
// pixels in both directions. With a = |dm| and q the minor offset taken so far, the error
// term is err = 2 i a - (2 q + 1) dM; the minor coordinate steps when err turns positive
// (running towards greater coordinates) or non-negative (towards smaller ones, where the
// half goes the other way). Steps i = 0 .. dM - 1 are drawn: the end point is left out.
//
// A clipped line starts at its first step inside the clip along the major axis with q and
// err computed in closed form, not by restarting the line at the clip edge, so it covers
// exactly the pixels of the whole line that fall inside.
class ThinLine {
    static constexpr int64_t kNarrow = int64_t(1) << 30;

public:
    ThinLine(int x1, int y1, int x2, int y2)
        : xMajor_(std::llabs(int64_t(x2) - x1) > std::llabs(int64_t(y2) - y1)) {
        const int64_t dx = int64_t(x2) - x1, dy = int64_t(y2) - y1;
        majorStart_ = xMajor_ ? x1 : y1, minorStart_ = xMajor_ ? y1 : x1;
        const int64_t majorDelta = xMajor_ ? dx : dy, minorDelta = xMajor_ ? dy : dx;
        length_ = std::llabs(majorDelta), a_ = std::llabs(minorDelta);
        majorStep_ = majorDelta > 0 ? 1 : -1, minorStep_ = minorDelta < 0 ? -1 : 1;
        halfGoesOn_ = minorDelta < 0;
    }

    bool xMajor() const { return xMajor_; }
    int64_t length() const { return length_; }

    // The steps [first, end) whose major coordinate lies inside `clip`; false when none.
    bool stepsInside(const Rect& clip, int64_t& first, int64_t& end) const {
        const int64_t low = xMajor_ ? clip.left : clip.top;
        const int64_t high = xMajor_ ? clip.right : clip.bottom; // exclusive
        if (majorStep_ > 0) {
            first = std::max<int64_t>(0, low - majorStart_);
            end = std::min<int64_t>(length_, high - majorStart_);
        } else {
            first = std::max<int64_t>(0, majorStart_ - high + 1);
            end = std::min<int64_t>(length_, majorStart_ - low + 1);
        }
        return first < end;
    }

    // The minor offset taken by step i, in closed form; in 64 bits where the products fit.
    int64_t offsetAt(int64_t i) const {
        if (i < kNarrow && a_ < kNarrow && length_ < kNarrow) {
            const int64_t twiceStep = 2 * i * a_, twiceLength = 2 * length_;
            return halfGoesOn_ ? floorDiv(twiceStep + length_, twiceLength)
                               : ceilDiv(twiceStep - length_, twiceLength);
        }
        const Int128 twiceStep = Int128(2) * i * a_;
        const Int128 twiceLength = Int128(2) * length_;
        return int64_t(halfGoesOn_ ? floorDiv(twiceStep + length_, twiceLength)
                                   : ceilDiv(twiceStep - length_, twiceLength));
    }
    // The box from the first pixel to the last, which the line reaches on every side; none
    // where its right or bottom edge lies past the int range.
    std::optional<Rect> box() const {
        const int64_t last = length_ - 1;
        const int64_t left = std::min(xAt(0), xAt(last)), right = std::max(xAt(0), xAt(last)) + 1;
        const int64_t top = std::min(yAt(0), yAt(last)), bottom = std::max(yAt(0), yAt(last)) + 1;
        if (right > INT32_MAX || bottom > INT32_MAX)
            return std::nullopt;
        return Rect{int(left), int(top), int(right), int(bottom)};
    }
    int64_t majorAt(int64_t i) const { return majorStart_ + majorStep_ * i; }
    int64_t minorAt(int64_t i) const { return minorStart_ + minorStep_ * offsetAt(i); }
    int64_t xAt(int64_t i) const { return xMajor_ ? majorAt(i) : minorAt(i); }
    int64_t yAt(int64_t i) const { return xMajor_ ? minorAt(i) : majorAt(i); }

    // Walks steps [first, end), calling pixel(major, minor) for each; `minor` is the minor
    // coordinate and `err` the error term as they stand at step `first`.
    template <typename Pixel> void walk(int64_t first, int64_t end, Pixel pixel) const {
        int64_t minor = minorAt(first), major = majorAt(first);
        int64_t err = int64_t(Int128(2) * first * a_ - Int128(2 * offsetAt(first) + 1) * length_);
        const int bias = halfGoesOn_ ? 1 : 0;
        for (int64_t i = first; i < end; ++i) {
            pixel(major, minor);
            err += 2 * a_;
            if (err + bias > 0) {
                minor += minorStep_;
                err -= 2 * length_;
            }
            major += majorStep_;
        }
    }

private:
    bool xMajor_;
    int64_t majorStart_, minorStart_, length_, a_;
    int majorStep_, minorStep_;
    bool halfGoesOn_;
};

} // namespace

void scanThinLine(SpanSink& sink, int x1, int y1, int x2, int y2) {
    const ThinLine line(x1, y1, x2, y2);
    int64_t first, end;
    if (line.length() == 0 || !line.stepsInside(sink.clip(), first, end))
        return;
    sink.draw(line.box(), [&](auto& out) {
        if (line.xMajor())
            line.walk(first, end, [&](int64_t x, int64_t y) { out.add(y, x, x + 1); });
        else
            line.walk(first, end, [&](int64_t y, int64_t x) { out.add(y, x, x + 1); });
    });
}

// Pieces of kPieceSteps steps: each piece's box is exact, from its first pixel to its last.
void thinLineBoxes(const Rect& clip, int x1, int y1, int x2, int y2, std::vector<Rect>& out) {
    constexpr int64_t kPieceSteps = 128;
    const ThinLine line(x1, y1, x2, y2);
    int64_t first, end;
    if (line.length() == 0 || !line.stepsInside(clip, first, end))
        return;
    for (int64_t i = first; i < end; i += kPieceSteps) {
        const int64_t last = std::min(end, i + kPieceSteps) - 1;
        const int64_t ax = line.xAt(i), ay = line.yAt(i), bx = line.xAt(last), by = line.yAt(last);
        const int64_t left = std::max<int64_t>(std::min(ax, bx), clip.left);
        const int64_t top = std::max<int64_t>(std::min(ay, by), clip.top);
        const int64_t right = std::min<int64_t>(std::max(ax, bx) + 1, clip.right);
        const int64_t bottom = std::min<int64_t>(std::max(ay, by) + 1, clip.bottom);
        if (left < right && top < bottom)
            out.push_back({int(left), int(top), int(right), int(bottom)});
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
    sink.draw([&](auto& out) {
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
    });
}

} // namespace raster
