#pragma once
// Moving a rubber band: a 1-pixel outline drawn in invert mode goes from one box to another
// in one pass over the rows, the old and the new outline inverted together on each row.
// A tall outline touches a new memory page on every row (a 4K picture's rows lie 15 KB
// apart), and reaching the page costs more than the few pixels written there: one visit a
// row instead of two halves that cost.
//
// Inverting is its own inverse and order-free, so the picture ends up exactly as removing
// the old outline and drawing the new one would leave it.

#include "raster/pixel_view.h"
#include "raster/rect.h"

#include <vector>

namespace raster {

// Inverts the pixels on exactly one of the outlines that Canvas::Rectangle draws with a
// 1-pixel pen over the boxes `from` and `to` (normalised, right and bottom exclusive),
// clipped to the picture, and appends boxes that together cover every changed pixel.
// The anchored sides are not written at all.
void invertRectangleOutlineChange(const PixelView& view, const Rect& from, const Rect& to,
                                  std::vector<Rect>& changed);

// The same for the outlines that Canvas::Ellipse draws with a 1-pixel pen, worked out on
// the spot (a rubber band keeps its EllipseOutline instead). Every row of an ellipse changes
// when its box does, so both outlines are written whole.
void invertEllipseOutlineChange(const PixelView& view, const Rect& from, const Rect& to);

} // namespace raster
