// The five two-point shapes: line, arrow, double arrow, rectangle and ellipse. One drag
// from the press to the release, with a rubber band and the Shift constraint.
#include "surface/drawing_surface.h"

#include "raster/canvas.h"
#include "surface/figures.h"
#include "surface/shift_constraint.h"
#include "surface/tool_sizes.h"

namespace {
QPoint constrained(ShapeFigure figure, QPoint anchor, QPoint pointer) {
    bool boxed = figure == ShapeFigure::Rectangle || figure == ShapeFigure::Ellipse;
    return boxed ? constrainToSquare(anchor, pointer) : constrainToAxisOrDiagonal(anchor, pointer);
}
} // namespace

void DrawingSurface::ShapeStep(ShapeFigure figure, ShiftState shift, QPoint at) {
    if (shift.left && dragUnchanged(figure, shift, at))
        return; // Shift auto-repeat or a jitter that snaps to the same point: nothing to redraw
    removeSymbol();
    CurrentPoint = at;
    if (shift.shift && isValid(AnchorPoint) && isValid(CurrentPoint))
        CurrentPoint = constrained(figure, AnchorPoint, CurrentPoint);
    drawSymbolAt(CurrentPoint);
    if (shift.left) {
        if (!isValid(AnchorPoint))
            AnchorPoint = CurrentPoint;
        drawPreview(figure); // moves the rubber band shown to the new end
        return;
    }
    removePreview();
    if (!isValid(AnchorPoint))
        return;
    // Commit with the stroke pen; no symbol shows until the next pointer event.
    removeSymbol();
    raster::Canvas& c = canvas();
    ApplyStrokePen(c, state_);
    drawShape(c, figure, AnchorPoint, CurrentPoint, arrowHeadLength(state_.PenWidth));
    reportChanges();
    AnchorPoint = kNoPoint;
    CurrentPoint = kNoPoint;
}

bool DrawingSurface::dragUnchanged(ShapeFigure figure, ShiftState shift, QPoint at) const {
    if (!overlay_.preview || !isValid(AnchorPoint) || !isValid(at))
        return false;
    QPoint end = shift.shift ? constrained(figure, AnchorPoint, at) : at;
    const OverlayFigure& shown = overlay_.preview->figure();
    return end == CurrentPoint && shown.to == end && shown.at == AnchorPoint &&
           shown.shape == figure && shown.size == arrowHeadLength(state_.PenWidth) &&
           overlay_.symbol == symbolFor(end);
}
