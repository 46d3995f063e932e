#include "raster/ellipse_outline.h"

#include "raster/ellipse_extents.h"
#include "raster/mix.h"
#include "raster/outline_change.h"
#include "raster/span_sink.h"

#include <algorithm>

namespace raster {

namespace {

using std::int64_t;

constexpr MixMasks kInvert = masksFor(Mix::Not, 0);
// Rows a changed box spans at most: a few dozen boxes for a screen-sized ellipse, each
// hugging its stretch of the curve.
constexpr int64_t kBandRows = 32;

// The boxes of the left spans and of the right spans of a band of rows.
struct Band {
    std::int32_t leftLow = INT32_MAX, leftHigh = INT32_MIN;
    std::int32_t rightLow = INT32_MAX, rightHigh = INT32_MIN;

    void add(const OutlineSpans& row) {
        if (row.left < row.holeLeft)
            leftLow = std::min(leftLow, row.left), leftHigh = std::max(leftHigh, row.holeLeft);
        if (row.holeRight < row.right)
            rightLow = std::min(rightLow, row.holeRight),
            rightHigh = std::max(rightHigh, row.right);
    }
    // For the rows top <= y < bottom, cut to `bounds` when the spans may reach out of them.
    void appendTo(std::vector<Rect>& boxes, int64_t top, int64_t bottom,
                  const Rect* bounds = nullptr) const {
        Rect left{leftLow, int(top), leftHigh, int(bottom)};
        Rect right{rightLow, int(top), rightHigh, int(bottom)};
        if (bounds)
            left = left.intersected(*bounds), right = right.intersected(*bounds);
        boxes.push_back(left.isEmpty() ? Rect{} : left);
        boxes.push_back(right.isEmpty() ? Rect{} : right);
    }
};

} // namespace

void EllipseOutline::trace(const Rect& box, const Rect& bounds, bool withBoxes) {
    const Rect traced = box_; // whose rows rows_ holds, if any
    box_ = box;
    bounds_ = bounds;
    whole_ = !box.isEmpty() && box.intersected(bounds) == box;
    first_ = 0, last_ = -1;
    boxes_.clear();
    if (!box.isEmpty()) {
        first_ = std::max<int64_t>(box.top, bounds.top);
        last_ = std::min<int64_t>(int64_t(box.bottom) - 1, int64_t(bounds.bottom) - 1);
    }
    if (first_ > last_) {
        rows_.clear();
        return;
    }
    cy2_ = int64_t(box.top) + box.bottom - 1;
    const int64_t low = 2 * first_ - cy2_, high = 2 * last_ - cy2_;
    const int64_t maxAbs = std::max(std::llabs(low), std::llabs(high));
    const int64_t minAbs =
        low <= 0 && high >= 0 ? (cy2_ & 1) : std::min(std::llabs(low), std::llabs(high));
    // The rows depend on the box's size and on their distances from its centre only, up to
    // a shift along the row: for a box of the same size (a tool symbol following the
    // pointer, a figure drawn again) the rows kept are moved rather than walked again.
    const bool sameRows = !rows_.empty() && traced.width() == box.width() &&
                          traced.height() == box.height() && maxAbs == maxAbs_ && minAbs == minAbs_;
    maxAbs_ = maxAbs, minAbs_ = minAbs;
    if (!sameRows)
        walk();
    else if (const int64_t shift = int64_t(box.left) - traced.left; shift != 0)
        for (OutlineSpans& row : rows_)
            row = {std::int32_t(row.left + shift), std::int32_t(row.holeLeft + shift),
                   std::int32_t(row.holeRight + shift), std::int32_t(row.right + shift)};
    if (withBoxes)
        findBoxes();
}

// The rows from |2y - cy2| = maxAbs down to minAbs, from the outermost inwards, the order in
// which the chords grow. A row's neighbours lie at |2y - cy2| + 2 and - 2; past the middle
// the inner one mirrors the outer one (at 0) or the row itself (at 1). The rows lie in the
// box: maxAbs <= h.
void EllipseOutline::walk() {
    const int64_t w = box_.width() - 1, h = box_.height() - 1; // doubled semi-axes
    const int64_t cx2 = int64_t(box_.left) + box_.right - 1;
    const int64_t outer = maxAbs_, count = (maxAbs_ - minAbs_) / 2 + 1;
    rows_.resize(std::size_t(count)); // every row is written below
    OutlineSpans* rows = rows_.data();
    ThinExtents thin(w, h);
    int64_t above = thin.at(outer + 2), here = thin.at(outer);
    for (int64_t i = 0; i < count; ++i) {
        const int64_t inner = outer - 2 * i - 2;
        const int64_t below = inner >= 0 ? thin.inside(inner) : inner == -2 ? above : here;
        const ThinOutlineRow row = thinOutlineRow(cx2, above, here, below);
        rows[i] = {std::int32_t(row.left), std::int32_t(row.holeLeft), std::int32_t(row.holeRight),
                   std::int32_t(row.right)};
        above = here;
        here = below;
    }
}

// A whole outline's bands pair its upper and lower halves; a clipped one's run down the
// rows in the bounds.
//
// In a whole outline the chords grow from the top row inwards, and so do the holes (a row's
// hole is the least of its neighbours' chords and its own less 2, each growing). Once a row
// has a hole, every row after it has one, and a band from there on reaches furthest out on
// its innermost row and furthest in on its outermost: its boxes come from those two rows.
// The top rows with no hole, drawn whole, are taken one by one.
void EllipseOutline::findBoxes() {
    if (whole_) {
        const int64_t rows = int64_t(rows_.size()), top = box_.top, bottom = box_.bottom;
        for (int64_t k0 = 0; k0 < rows; k0 += kBandRows) {
            const int64_t k1 = std::min(rows, k0 + kBandRows);
            const OutlineSpans &outer = rows_[std::size_t(k0)], &inner = rows_[std::size_t(k1 - 1)];
            Band band;
            if (outer.holeRight < outer.right)
                band = {inner.left, outer.holeLeft, outer.holeRight, inner.right};
            else
                for (int64_t k = k0; k < k1; ++k)
                    band.add(rows_[std::size_t(k)]);
            band.appendTo(boxes_, top + k0, top + k1);
            band.appendTo(boxes_, bottom - k1, bottom - k0);
        }
        return;
    }
    for (int64_t y0 = first_; y0 <= last_; y0 += kBandRows) {
        const int64_t y1 = std::min(last_ + 1, y0 + kBandRows);
        Band band;
        for (int64_t y = y0; y < y1; ++y)
            band.add(row(y));
        band.appendTo(boxes_, y0, y1, &bounds_);
    }
}

namespace {

// A row of a clipped outline.
template <typename Out>
[[gnu::always_inline]] inline void invertRow(Out& out, int64_t y, const OutlineSpans& spans) {
    if (spans.left < spans.holeLeft)
        out.add(y, spans.left, spans.holeLeft);
    if (spans.holeRight < spans.right)
        out.add(y, spans.holeRight, spans.right);
}

// A row of a whole outline, at `row`.
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

// The common case, both outlines whole in the picture, written from their top and bottom
// rows inwards. The rows k of the two outlines (counted from their tops and from their
// bottoms) lie at most the drag's last step apart, so the pages one visits are still at
// hand for the other. Nothing here needs a clip, and the rows are reached by stepping a row
// pointer: a SpanWriter working out each span's row from y ran an eighth more instructions
// on this, the rubber band's every move.
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
    SpanWriter<true> out(view, kInvert, view.bounds());
    auto has = [](const EllipseOutline& outline) {
        return outline.first() <= outline.last();
    };
    const int64_t first = has(from) && has(to) ? std::min(from.first(), to.first())
                          : has(from)          ? from.first()
                                               : to.first();
    const int64_t last = std::max(from.last(), to.last());
    for (int64_t y = first; y <= last; ++y) {
        if (y >= from.first() && y <= from.last())
            invertRow(out, y, from.row(y));
        if (y >= to.first() && y <= to.last())
            invertRow(out, y, to.row(y));
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
