#pragma once
// The 1-pixel outline that Canvas::Ellipse draws, worked out once for the rows that lie in a
// picture. A rubber band keeps the outline it drew, so that taking it off or moving it
// needs no second walk of the curve.

#include "raster/ellipse_extents.h"
#include "raster/pixel_view.h"
#include "raster/rect.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace raster {

// One row of an outline: pixels [left, holeLeft) and [holeRight, right), either span empty
// when its ends are equal.
struct OutlineSpans {
    std::int32_t left, holeLeft, holeRight, right;
};

class EllipseOutline {
public:
    // Works out the outline of `box` (normalised; empty for none) for a picture with
    // `bounds`, in this outline's own memory.
    void trace(const Rect& box, const Rect& bounds);

    const Rect& box() const { return box_; }
    // The picture's box it was worked out for.
    const Rect& bounds() const { return bounds_; }
    // Whether the whole outline lies in the picture. Rows top + k and bottom - 1 - k then
    // mirror each other and only the upper half is kept: halfRows()[k] serves both.
    bool whole() const { return whole_; }
    const std::vector<OutlineSpans>& halfRows() const { return rows_; }
    // The rows in the picture (first > last when none) and their spans, clipped to it.
    std::int64_t first() const { return first_; }
    std::int64_t last() const { return last_; }
    const OutlineSpans& row(std::int64_t y) const {
        if (!whole_)
            return rows_[std::size_t(y - first_)];
        const std::int64_t k = y - box_.top, mirrored = std::int64_t(box_.bottom) - 1 - y;
        return rows_[std::size_t(k < mirrored ? k : mirrored)];
    }
    // Boxes that together cover the outline's pixels in the picture: bands of rows, with
    // each band's left and right spans apart, so the boxes stay thin along the curve. Two
    // outlines of boxes a small move apart have their boxes in the same order, band by band.
    const std::vector<Rect>& boxes() const { return boxes_; }

private:
    void traceWhole();
    void traceClipped(const Rect& bounds);
    void findBoxes();

    Rect box_, bounds_;
    bool whole_ = false;
    std::int64_t first_ = 0, last_ = -1;
    std::vector<OutlineSpans> rows_;
    std::vector<Rect> boxes_;
    ThinRowExtents extents_; // for a clipped outline
};

// Inverts the pixels on exactly one of the two outlines (each inverts its own pixels, so
// where both lie the picture is left as it was): the old outline comes off and the new one
// goes on in one pass over the rows. An outline of an empty box draws or takes nothing.
// Appends boxes that together cover every changed pixel. Both outlines must have been
// worked out for this picture's size.
void invertEllipseOutlineChange(const PixelView& view, const EllipseOutline& from,
                                const EllipseOutline& to, std::vector<Rect>& changed);

} // namespace raster
