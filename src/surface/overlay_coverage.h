#pragma once
// Thin rectangles that together cover every pixel an overlay figure touches, so a moving
// rubber band repaints strips along its outline rather than its whole bounding box.

#include "surface/overlay_figure.h"

#include <QRect>
#include <vector>

// Strips for a rubber band (ShapePreview) into `out`, which is emptied first; none for the
// small tool symbols.
void overlayCoverage(const OverlayFigure& figure, std::vector<QRect>& out);
