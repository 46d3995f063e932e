#include "raster/ellipse_extents.h"
#include "raster/last_two.h"
#include "raster/mix.h"
#include "raster/outline_change.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace raster {

namespace {

using std::int64_t;

constexpr MixMasks kInvert = masksFor(Mix::Not, 0);

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
        fillSpan(row, int(x0), int(x1), kInvert);
}

void invertRow(std::uint32_t* row, const ThinOutlineRow& outline, int64_t width) {
    invertSpan(row, outline.left, outline.holeLeft, width);
    invertSpan(row, outline.holeRight, outline.right, width);
}

// One row of a whole thin outline as it is written: pixels [left, holeLeft) and
// [holeRight, right), the second span empty when holeRight == right. A ThinOutlineRow in
// half the bytes (the box lies in the picture): the walk reads two tables on every move.
struct OutlineSpans {
    std::int32_t left, holeLeft, holeRight, right;
};

// The spans of the rows top + k of a thin outline inside the picture, for k = 0 up to the
// middle row; row bottom - 1 - k mirrors row top + k. Worked out from the outermost rows
// inwards, the order in which the chords grow.
void computeMirroredSpans(const Rect& box, std::vector<OutlineSpans>& rows) {
    const int64_t w = box.width() - 1, h = box.height() - 1; // doubled semi-axes
    const int64_t cx2 = int64_t(box.left) + box.right - 1;
    const int64_t half = h / 2 + 1;
    rows.resize(size_t(half));
    ThinExtents thin(w, h);
    int64_t above = thin.at(h + 2), here = thin.at(h);
    for (int64_t k = 0; k < half; ++k) {
        // Row k + 1 lies at |Y| = h - 2k - 2; past the middle it mirrors row k - 1 (Y = 2)
        // or row k itself (Y = 1).
        const int64_t y = h - 2 * k - 2;
        const int64_t below = y >= 0 ? thin.at(y) : y == -2 ? above : here;
        const ThinOutlineRow row = thinOutlineRow(cx2, above, here, below);
        rows[size_t(k)] = {std::int32_t(row.left), std::int32_t(row.holeLeft),
                           std::int32_t(row.holeRight), std::int32_t(row.right)};
        above = here;
        here = below;
    }
}

// The spans of a whole outline; those of the outline drawn one move before are kept.
const std::vector<OutlineSpans>& mirroredSpansFor(const Rect& box) {
    static thread_local LastTwo<Rect, std::vector<OutlineSpans>> kept;
    return kept.get(box, [&](std::vector<OutlineSpans>& rows) { computeMirroredSpans(box, rows); });
}

// A whole outline inside the picture, written from its top and bottom rows inwards.
class MirroredOutline {
public:
    MirroredOutline(const PixelView& view, const Rect& box)
        : rows_(mirroredSpansFor(box)), upper_(view.row(box.top)), lower_(view.row(box.bottom - 1)),
          stride_(view.stride) {}
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
    static void invertSpans(std::uint32_t* row, const OutlineSpans& spans) {
        fillSpan(row, spans.left, spans.holeLeft, kInvert);
        if (spans.holeRight < spans.right)
            fillSpan(row, spans.holeRight, spans.right, kInvert);
    }
    const std::vector<OutlineSpans>& rows_;
    std::uint32_t *upper_, *lower_;
    std::ptrdiff_t stride_;
};

// The common case, both outlines whole in the picture. The rows k of the two outlines
// (counted from their tops and from their bottoms) lie at most the drag's last step apart,
// so the pages one visits are still at hand for the other. The spans are worked out before
// the walk (the old outline's one move before): the walk itself only writes.
//
// Measured, and slower: writing both outlines' spans on a shared row back to back (even
// only the ends that differ), and walking the rows in picture order.
void invertBothInside(const PixelView& view, const Rect& from, const Rect& to) {
    // Both span tables stay valid together (the last two asked for are kept).
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
