// The pen and the eraser: tools that act at every pointer event while the button is held.
#include "surface/drawing_surface.h"

#include "raster/canvas.h"
#include "surface/figures.h"
#include "surface/tool_sizes.h"

void DrawingSurface::PenStep(ShiftState shift, QPoint at) {
    removeSymbol();
    CurrentPoint = at;
    if (shift.left && isValid(at)) {
        // A held move with no press before it (the press fell on another window) starts
        // the stroke here rather than at a stale position.
        if (!isValid(penPosition_))
            penPosition_ = at;
        raster::Canvas& c = canvas();
        ApplyStrokePen(c, state_);
        c.MoveTo(penPosition_.x(), penPosition_.y());
        c.LineTo(at.x(), at.y());
        penPosition_ = at;
        reportChanges();
    }
    drawSymbolAt(CurrentPoint);
}

void DrawingSurface::EraserStep(ShiftState shift, QPoint at) {
    removeSymbol();
    CurrentPoint = at;
    if (shift.left && isValid(at)) {
        ToolSizes sizes = toolSizesFor(state_.PenWidth);
        int w = sizes.eraserHalfWidth, h = sizes.eraserHalfHeight;
        // The captured pixels come back in exactly the block the eraser symbol outlines.
        canvas().CopyRect(screenPicture_, {at.x() - w, at.y() - h, at.x() + w + 1, at.y() + h + 1});
        reportChanges();
    }
    drawSymbolAt(CurrentPoint);
}
