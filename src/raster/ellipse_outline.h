#pragma once
// The 1-pixel outline that Canvas::Ellipse draws, worked out row by row for the rows that
// lie in a picture: the one walk of the thin curve, which drawing the ellipse and moving a
// rubber band both read. A rubber band keeps the outline it drew, so that taking it off or
// moving it needs no second walk of the curve.

#include "raster/pixel_view.h"
#include "raster/rect.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace raster {

// One row of an outline: pixels [left, holeLeft) and [holeRight, right), either span empty
// when its ends are equal. [holeLeft, holeRight) lies inside the outline. Not clipped: every
// column of a box fits in an int.
struct OutlineSpans {
    std::int32_t left, holeLeft, holeRight, right;
};

class EllipseOutline {
public:
    // Works out the outline of `box` (normalised; empty for none) for the rows of `bounds`,
    // in this outline's own memory, and with `withBoxes` the boxes() of its pixels.
    void trace(const Rect& box, const Rect& bounds, bool withBoxes = true);

    const Rect& box() const { return box_; }
    // The box it was worked out for.
    const Rect& bounds() const { return bounds_; }
    // Whether the whole outline lies in the bounds.
    bool whole() const { return whole_; }
    // The rows in the bounds (first > last when none).
    std::int64_t first() const { return first_; }
    std::int64_t last() const { return last_; }
    // The spans of row y, first <= y <= last.
    const OutlineSpans& row(std::int64_t y) const {
        return rows_[std::size_t((maxAbs_ - std::llabs(2 * y - cy2_)) >> 1)];
    }
    // Rows y and cy2 - y mirror each other, and a row's spans are kept once for both, from
    // the outermost row inwards. For a whole outline halfRows()[k] is rows top + k and
    // bottom - 1 - k, up to the middle row.
    const std::vector<OutlineSpans>& halfRows() const { return rows_; }
    // Boxes inside the bounds that together cover the outline's pixels there (when traced
    // with them; else none): bands of rows,
    // with each band's left and right spans apart, so the boxes stay thin along the curve.
    // Two whole outlines of boxes a small move apart have their boxes in the same order,
    // band by band.
    const std::vector<Rect>& boxes() const { return boxes_; }

private:
    void walk();
    void findBoxes();

    Rect box_, bounds_;
    bool whole_ = false;
    std::int64_t first_ = 0, last_ = -1;
    // Doubled distances from the centre row: cy2 / 2 is the centre, rows_[i] the row at
    // |2y - cy2| = maxAbs - 2i, down to minAbs.
    std::int64_t cy2_ = 0, maxAbs_ = 0, minAbs_ = 0;
    std::vector<OutlineSpans> rows_;
    std::vector<Rect> boxes_;
};

// Inverts the pixels on exactly one of the two outlines (each inverts its own pixels, so
// where both lie the picture is left as it was): the old outline comes off and the new one
// goes on in one pass over the rows. An outline of an empty box draws or takes nothing.
// Appends boxes that together cover every changed pixel. Both outlines must have been
// worked out for this picture's box.
void invertEllipseOutlineChange(const PixelView& view, const EllipseOutline& from,
                                const EllipseOutline& to, std::vector<Rect>& changed);

} // namespace raster
