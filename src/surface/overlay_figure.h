#pragma once
// A figure drawn over the picture in invert mode: a tool symbol or the rubber band of a
// shape. The engine keeps the figure exactly as it drew it and removes it by drawing that
// same figure again, so removal never depends on a width, tool or box height that changed
// since.

#include "surface/tool_family.h"

#include <QPoint>

enum class OverlayKind { Circle, EraserBox, CaretBar, CheckMarker, CrossMarker, ShapePreview };

struct OverlayFigure {
    OverlayKind kind = OverlayKind::Circle;
    QPoint at;                             // the pointer, or the anchor of a preview
    QPoint to;                             // end of a preview
    int size = 0;                          // radius, half width, bar height, arm, head length
    int size2 = 0;                         // eraser half height
    ShapeFigure shape = ShapeFigure::Line; // preview only

    bool operator==(const OverlayFigure&) const = default;
};
