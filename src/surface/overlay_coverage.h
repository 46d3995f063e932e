#pragma once
// Thin rectangles that together cover every pixel an overlay figure touches, so a moving
// rubber band repaints strips along its outline rather than its whole bounding box.

#include "surface/overlay_figure.h"

#include <QRect>
#include <vector>

// Strips for a rubber band (ShapePreview); empty for the small tool symbols.
std::vector<QRect> overlayCoverage(const OverlayFigure& figure);
