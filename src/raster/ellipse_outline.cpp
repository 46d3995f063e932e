#include "raster/ellipse_outline.h"

#include "raster/ellipse_extents.h"
#include "raster/mix.h"
#include "raster/outline_change.h"

#include <algorithm>

namespace raster {

namespace {

using std::int64_t;

constexpr MixMasks kInvert = masksFor(Mix::Not, 0);
// Rows a changed box spans at most: a few dozen boxes for a screen-sized ellipse, each
// hugging its stretch of the curve.
constexpr std::size_t kBandRows = 32;

OutlineSpans narrowed(const ThinOutlineRow& row) {
    return {std::int32_t(row.left), std::int32_t(row.holeLeft), std::int32_t(row.holeRight),
            std::int32_t(row.right)};
}

} // namespace

void EllipseOutline::trace(const Rect& box, const Rect& bounds) {
    box_ = box;
    bounds_ = bounds;
    whole_ = !box.isEmpty() && box.intersected(bounds) == box;
    first_ = 0, last_ = -1;
    if (box.isEmpty()) {
        rows_.clear();
        boxes_.clear();
        return;
    }
    if (whole_)
        traceWhole();
    else
        traceClipped(bounds);
    findBoxes();
}

void EllipseOutline::findBoxes() {
    boxes_.clear();
    auto boxOf = [](std::int32_t x0, std::int32_t x1, int64_t y0, int64_t y1) {
        return x0 < x1 ? Rect{x0, int(y0), x1, int(y1)} : Rect{};
    };
    for (std::size_t k0 = 0; k0 < rows_.size(); k0 += kBandRows) {
        const std::size_t k1 = std::min(rows_.size(), k0 + kBandRows);
        std::int32_t leftLow = INT32_MAX, leftHigh = INT32_MIN;
        std::int32_t rightLow = INT32_MAX, rightHigh = INT32_MIN;
        for (std::size_t k = k0; k < k1; ++k) {
            const OutlineSpans& row = rows_[k];
            if (row.left < row.holeLeft)
                leftLow = std::min(leftLow, row.left), leftHigh = std::max(leftHigh, row.holeLeft);
            if (row.holeRight < row.right)
                rightLow = std::min(rightLow, row.holeRight),
                rightHigh = std::max(rightHigh, row.right);
        }
        const int64_t top = whole_ ? box_.top : first_;
        boxes_.push_back(boxOf(leftLow, leftHigh, top + int64_t(k0), top + int64_t(k1)));
        boxes_.push_back(boxOf(rightLow, rightHigh, top + int64_t(k0), top + int64_t(k1)));
        if (!whole_)
            continue;
        const int64_t bottom = box_.bottom; // the mirrored rows
        boxes_.push_back(boxOf(leftLow, leftHigh, bottom - int64_t(k1), bottom - int64_t(k0)));
        boxes_.push_back(boxOf(rightLow, rightHigh, bottom - int64_t(k1), bottom - int64_t(k0)));
    }
}

// Rows top + k for k = 0 up to the middle row, worked out from the outermost rows inwards,
// the order in which the chords grow.
void EllipseOutline::traceWhole() {
    const int64_t w = box_.width() - 1, h = box_.height() - 1; // doubled semi-axes
    const int64_t cx2 = int64_t(box_.left) + box_.right - 1;
    const int64_t half = h / 2 + 1;
    first_ = box_.top, last_ = int64_t(box_.bottom) - 1;
    rows_.resize(size_t(half));
    ThinExtents thin(w, h);
    int64_t above = thin.at(h + 2), here = thin.at(h);
    for (int64_t k = 0; k < half; ++k) {
        // Row k + 1 lies at |Y| = h - 2k - 2; past the middle it mirrors row k - 1 (Y = 2)
        // or row k itself (Y = 1).
        const int64_t y = h - 2 * k - 2;
        const int64_t below = y >= 0 ? thin.at(y) : y == -2 ? above : here;
        rows_[size_t(k)] = narrowed(thinOutlineRow(cx2, above, here, below));
        above = here;
        here = below;
    }
}

// Only the rows in the picture, each clipped to its columns: the box may reach far outside.
void EllipseOutline::traceClipped(const Rect& bounds) {
    first_ = std::max<int64_t>(box_.top, bounds.top);
    last_ = std::min<int64_t>(int64_t(box_.bottom) - 1, int64_t(bounds.bottom) - 1);
    if (first_ > last_) {
        rows_.clear();
        return;
    }
    const int64_t cx2 = int64_t(box_.left) + box_.right - 1;
    const int64_t cy2 = int64_t(box_.top) + box_.bottom - 1;
    const MirroredExtents extents = extents_.of(box_, first_, last_);
    auto extentAt = [&](int64_t y) {
        return extents.at(2 * y - cy2).first;
    };
    auto clipped = [&](int64_t x0, int64_t x1) {
        x0 = std::max<int64_t>(x0, bounds.left);
        x1 = std::min<int64_t>(x1, bounds.right);
        return x0 < x1 ? std::pair{x0, x1} : std::pair{int64_t(bounds.left), int64_t(bounds.left)};
    };
    rows_.resize(size_t(last_ - first_ + 1));
    for (int64_t y = first_; y <= last_; ++y) {
        const ThinOutlineRow row =
            thinOutlineRow(cx2, extentAt(y - 1), extentAt(y), extentAt(y + 1));
        const auto [left, holeLeft] = clipped(row.left, row.holeLeft);
        const auto [holeRight, right] = clipped(row.holeRight, row.right);
        rows_[size_t(y - first_)] = narrowed({left, holeLeft, holeRight, right});
    }
}

namespace {

[[gnu::always_inline]] inline void invertSpans(std::uint32_t* row, const OutlineSpans& spans) {
    if (spans.left < spans.holeLeft)
        fillSpan(row, spans.left, spans.holeLeft, kInvert);
    if (spans.holeRight < spans.right)
        fillSpan(row, spans.holeRight, spans.right, kInvert);
}

// A whole outline written from its top and bottom rows inwards.
class MirroredOutline {
public:
    MirroredOutline(const PixelView& view, const EllipseOutline& outline)
        : rows_(outline.halfRows()), stride_(view.stride) {
        if (!rows_.empty())
            upper_ = view.row(outline.box().top), lower_ = view.row(outline.box().bottom - 1);
    }
    std::size_t halfRows() const { return rows_.size(); }
    // Rows top + k and bottom - 1 - k.
    void invert(std::size_t k) const {
        const OutlineSpans& row = rows_[k];
        std::uint32_t* upper = upper_ + std::ptrdiff_t(k) * stride_;
        std::uint32_t* lower = lower_ - std::ptrdiff_t(k) * stride_;
        invertSpans(upper, row);
        if (upper != lower)
            invertSpans(lower, row);
    }

private:
    const std::vector<OutlineSpans>& rows_;
    std::uint32_t *upper_ = nullptr, *lower_ = nullptr;
    std::ptrdiff_t stride_;
};

// The common case, both outlines whole in the picture. The rows k of the two outlines
// (counted from their tops and from their bottoms) lie at most the drag's last step apart,
// so the pages one visits are still at hand for the other.
//
// Measured, and slower: writing both outlines' spans on a shared row back to back (even
// only the ends that differ), and walking the rows in picture order.
void invertBothMirrored(const PixelView& view, const EllipseOutline& from,
                        const EllipseOutline& to) {
    const MirroredOutline old(view, from), now(view, to);
    const std::size_t both = std::min(old.halfRows(), now.halfRows());
    for (std::size_t k = 0; k < both; ++k) {
        old.invert(k);
        now.invert(k);
    }
    for (std::size_t k = both; k < old.halfRows(); ++k)
        old.invert(k);
    for (std::size_t k = both; k < now.halfRows(); ++k)
        now.invert(k);
}

bool mirrored(const EllipseOutline& outline) {
    return outline.whole() || outline.halfRows().empty();
}

// Both outlines' boxes band by band when they pair up, else one list after the other.
void appendBoxes(const EllipseOutline& from, const EllipseOutline& to, std::vector<Rect>& changed) {
    const std::vector<Rect>&old = from.boxes(), &now = to.boxes();
    if (old.size() == now.size()) {
        for (std::size_t i = 0; i < now.size(); ++i)
            changed.push_back(old[i].united(now[i]));
        return;
    }
    changed.insert(changed.end(), old.begin(), old.end());
    changed.insert(changed.end(), now.begin(), now.end());
}

} // namespace

void invertEllipseOutlineChange(const PixelView& view, const EllipseOutline& from,
                                const EllipseOutline& to, std::vector<Rect>& changed) {
    auto fits = [&](const EllipseOutline& outline) {
        return outline.halfRows().empty() || outline.bounds() == view.bounds();
    };
    if (view.isNull() || !fits(from) || !fits(to))
        return;
    appendBoxes(from, to, changed);
    if (mirrored(from) && mirrored(to)) {
        invertBothMirrored(view, from, to);
        return;
    }
    auto has = [](const EllipseOutline& outline) {
        return outline.first() <= outline.last();
    };
    const int64_t first = has(from) && has(to) ? std::min(from.first(), to.first())
                          : has(from)          ? from.first()
                                               : to.first();
    const int64_t last = std::max(from.last(), to.last());
    for (int64_t y = first; y <= last; ++y) {
        std::uint32_t* row = view.row(int(y));
        if (y >= from.first() && y <= from.last())
            invertSpans(row, from.row(y));
        if (y >= to.first() && y <= to.last())
            invertSpans(row, to.row(y));
    }
}

void invertEllipseOutlineChange(const PixelView& view, const Rect& from, const Rect& to) {
    EllipseOutline old, now;
    old.trace(from, view.bounds());
    now.trace(to, view.bounds());
    std::vector<Rect> changed;
    invertEllipseOutlineChange(view, old, now, changed);
}

} // namespace raster
