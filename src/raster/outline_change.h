#pragma once
// Moving a rectangle rubber band: the 1-pixel outline drawn in invert mode goes from one box
// to another by inverting only where the two outlines differ. The anchored sides are not
// written at all, and the old and new moving sides are inverted together row by row.
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
void invertRectangleOutlineChange(const PixelView& view, const Rect& from, const Rect& to,
                                  std::vector<Rect>& changed);

} // namespace raster
