#pragma once
// Block copies between pictures of the same coordinates (eraser, undo, clear).

#include "raster/pixel_view.h"
#include "raster/rect.h"

#include <QImage>

namespace raster {

// Copies `area` of `source` to the same place in `target`, clipped to both pictures.
// Returns the box of the rows that changed (rows already equal to the source are skipped).
Rect copyBlock(const PixelView& target, const QImage& source, const Rect& area);

// Makes `to` a copy of `from`. When `to` already has the size and format and owns its pixels,
// they are overwritten in place (no allocation); otherwise `to` gets one fresh buffer, filled
// once. A null `from` makes `to` null.
void CopyPicture(const QImage& from, QImage& to);

} // namespace raster
