// The check-mark and cross stamps: one stamp per press, at the press point.
#include "surface/drawing_surface.h"

#include "raster/canvas.h"
#include "surface/figures.h"
#include "surface/tool_sizes.h"

void DrawingSurface::StampStep(StampKind kind, ShiftState shift, QPoint at) {
    removeSymbol();
    CurrentPoint = at;
    // AnchorPoint marks the stamp this press has made; dragging only moves the marker.
    if (shift.left && AnchorPoint == kNoPoint && isValid(at)) {
        AnchorPoint = CurrentPoint;
        StampSymbol(canvas(), at.x(), at.y(), kind, toolSizesFor(state_.PenWidth).stampFontPoints);
        reportChanges();
    }
    drawSymbolAt(CurrentPoint);
}
