#include "raster/ellipse_extents.h"
#include "raster/mix.h"
#include "raster/outline_change.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace raster {

namespace {

using std::int64_t;

// The rows of one thin ellipse outline that lie in the picture, one at a time.
class OutlineRows {
public:
    OutlineRows(const Rect& box, int pictureHeight) {
        if (box.isEmpty())
            return;
        first_ = std::max<int64_t>(box.top, 0);
        last_ = std::min<int64_t>(int64_t(box.bottom) - 1, pictureHeight - 1);
        cx2_ = int64_t(box.left) + box.right - 1;
        cy2_ = int64_t(box.top) + box.bottom - 1;
        if (first_ <= last_)
            extents_.emplace(thinExtentsFor(box, first_, last_));
    }
    int64_t first() const { return first_; }
    int64_t last() const { return last_; }
    bool has(int64_t y) const { return y >= first_ && y <= last_; }
    ThinOutlineRow at(int64_t y) const {
        return thinOutlineRow(cx2_, extentAt(y - 1), extentAt(y), extentAt(y + 1));
    }

private:
    int64_t extentAt(int64_t y) const { return extents_->at(2 * y - cy2_).first; }
    int64_t first_ = INT64_MAX, last_ = INT64_MIN, cx2_ = 0, cy2_ = 0;
    std::optional<MirroredExtents> extents_;
};

void invertSpan(std::uint32_t* row, int64_t x0, int64_t x1, int64_t width) {
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min(x1, width);
    if (x0 < x1)
        fillSpan(row, int(x0), int(x1), masksFor(Mix::Not, 0));
}

void invertRow(std::uint32_t* row, const ThinOutlineRow& outline, int64_t width) {
    invertSpan(row, outline.left, outline.holeLeft, width);
    invertSpan(row, outline.holeRight, outline.right, width);
}

// A whole outline inside the picture, walked from its top and bottom rows inwards: row
// top + k and its mirror row bottom - 1 - k hold the same spans, worked out once.
class MirroredOutline {
public:
    MirroredOutline(const PixelView& view, const Rect& box)
        : extents_(thinExtentsFor(box, box.top, int64_t(box.bottom) - 1)),
          cx2_(int64_t(box.left) + box.right - 1), cy2_(int64_t(box.top) + box.bottom - 1),
          next_(box.top), halfRows_((int64_t(box.bottom) - box.top + 1) / 2),
          upper_(view.row(box.top)), lower_(view.row(box.bottom - 1)), stride_(view.stride) {
        above_ = extentAt(next_ - 1);
        here_ = extentAt(next_);
    }
    int64_t halfRows() const { return halfRows_; }
    // Rows top + k and bottom - 1 - k, for k = 0, 1, ... in turn.
    void invertNext() {
        const int64_t below = extentAt(++next_);
        const ThinOutlineRow row = thinOutlineRow(cx2_, above_, here_, below);
        invertSpans(upper_, row);
        if (upper_ != lower_)
            invertSpans(lower_, row);
        above_ = here_;
        here_ = below;
        upper_ += stride_;
        lower_ -= stride_;
    }

private:
    int64_t extentAt(int64_t y) const { return extents_.at(2 * y - cy2_).first; }
    static void invertSpans(std::uint32_t* row, const ThinOutlineRow& outline) {
        constexpr MixMasks invert = masksFor(Mix::Not, 0);
        fillSpan(row, int(outline.left), int(outline.holeLeft), invert);
        if (outline.holeRight < outline.right)
            fillSpan(row, int(outline.holeRight), int(outline.right), invert);
    }
    MirroredExtents extents_;
    int64_t cx2_, cy2_, next_, halfRows_;
    int64_t above_ = -1, here_ = -1;
    std::uint32_t *upper_, *lower_;
    std::ptrdiff_t stride_;
};

// The common case, both outlines whole in the picture. The rows k of the two outlines
// (counted from their tops and from their bottoms) lie at most the drag's last step apart,
// so the pages one visits are still at hand for the other.
//
// Measured, and slower: writing both outlines' spans on a shared row back to back (even
// only the ends that differ), and walking the rows in picture order with the spans worked
// out first.
void invertBothInside(const PixelView& view, const Rect& from, const Rect& to) {
    // Both sets of extents stay valid together (the last two asked for are kept).
    MirroredOutline old(view, from), now(view, to);
    const int64_t both = std::min(old.halfRows(), now.halfRows());
    for (int64_t k = 0; k < both; ++k) {
        old.invertNext();
        now.invertNext();
    }
    for (int64_t k = both; k < old.halfRows(); ++k)
        old.invertNext();
    for (int64_t k = both; k < now.halfRows(); ++k)
        now.invertNext();
}

} // namespace

void invertEllipseOutlineChange(const PixelView& view, const Rect& from, const Rect& to) {
    if (view.isNull())
        return;
    const Rect bounds = view.bounds();
    if (!from.isEmpty() && !to.isEmpty() && from.intersected(bounds) == from &&
        to.intersected(bounds) == to) {
        invertBothInside(view, from, to);
        return;
    }
    // Both sets of extents stay valid together (the last two asked for are kept).
    const OutlineRows old(from, view.height), now(to, view.height);
    const int64_t first = std::min(old.first(), now.first());
    const int64_t last = std::max(old.last(), now.last());
    for (int64_t y = first; y <= last; ++y) {
        std::uint32_t* row = view.row(int(y));
        if (old.has(y))
            invertRow(row, old.at(y), view.width);
        if (now.has(y))
            invertRow(row, now.at(y), view.width);
    }
}

} // namespace raster
