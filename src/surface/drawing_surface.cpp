#include "surface/drawing_surface.h"

#include "raster/canvas.h"
#include "raster/outline_change.h"
#include "raster/shape_scan.h"
#include "surface/figures.h"
#include "surface/overlay_coverage.h"
#include "surface/rect_conversion.h"
#include "surface/tool_sizes.h"

#include <algorithm>

DrawingSurface::DrawingSurface(const DrawingState& state) : state_(state) {}
DrawingSurface::~DrawingSurface() = default;

void DrawingSurface::StartPhase(const QImage& capture) {
    raster::CopyPicture(capture.convertToFormat(QImage::Format_RGB32), screenPicture_);
    raster::CopyPicture(screenPicture_, undoPicture_);
    raster::CopyPicture(screenPicture_, picture_);
    canvas_.reset();
    AnchorPoint = CurrentPoint = None;
    SavedAnchor = SavedPoint = None;
    overlay_ = {};
    savedOverlay_ = {};
    penPosition_ = None;
    ButtonHeld = false;
    reportWholePicture();
}

QImage DrawingSurface::PictureForOutput() const {
    QImage output = picture_.copy();
    if (output.isNull() || (!overlay_.symbol && !overlay_.preview))
        return output;
    // Inverting is its own inverse and order-free, so drawing the overlay once more on the
    // copy takes it off whatever its drawing order was.
    raster::Canvas canvas(output);
    if (overlay_.preview)
        drawOverlayFigure(canvas, *overlay_.preview);
    if (overlay_.symbol)
        drawOverlayFigure(canvas, *overlay_.symbol);
    return output;
}

// ---- input ----

void DrawingSurface::MouseDown(MouseButton, ShiftState shift, QPoint at) {
    ButtonHeld = shift.left;
    if (!shift.left)
        return; // a right press only opens the popup menu
    TakeUndoSnapshot();
    penPosition_ = at;
    ToolStep(shift, at);
}

void DrawingSurface::MouseMove(ShiftState shift, QPoint at) {
    ButtonHeld = shift.left;
    ToolStep(shift, at);
}

void DrawingSurface::MouseUp(MouseButton, ShiftState shift, QPoint at) {
    ButtonHeld = shift.left;
    if (toolKindOf(state_.Tool).family == ToolFamily::Shape && isValid(AnchorPoint))
        ToolStep(shift, at); // the left button is no longer held: this commits the shape
    AnchorPoint = None;
}

void DrawingSurface::KeyDownWithShift() {
    // Re-runs the step at the symbol's point so the constraint shows at once. With no
    // symbol on the picture there is no point to constrain (the -1 "none" point is not a
    // position: a held pen would draw towards it).
    if (!isValid(CurrentPoint))
        return;
    ToolStep({.shift = true, .left = ButtonHeld}, CurrentPoint);
}

void DrawingSurface::ShiftKeyUp(QPoint pointer) {
    ToolStep({.shift = false, .left = ButtonHeld}, pointer);
}

void DrawingSurface::ToolStep(ShiftState shift, QPoint at) {
    if (picture_.isNull())
        return;
    ToolKind kind = toolKindOf(state_.Tool);
    switch (kind.family) {
    case ToolFamily::Pen:
        PenStep(shift, at);
        break;
    case ToolFamily::Eraser:
        EraserStep(shift, at);
        break;
    case ToolFamily::Shape:
        ShapeStep(kind.shape, shift, at);
        break;
    case ToolFamily::Stamp:
        StampStep(kind.stamp, shift, at);
        break;
    case ToolFamily::Text:
        TextStep(shift, at);
        break;
    case ToolFamily::None:
        break;
    }
}

// ---- palette operations ----

void DrawingSurface::ParkToolSymbol() {
    ToolKind kind = toolKindOf(state_.Tool);
    if (kind.family == ToolFamily::Text && textBox_.open) {
        CommitText();
        ShowCaretBar();
    }
    // A shape still being dragged is dropped: committing it would draw towards the "none"
    // point. The next move with the button held starts a new drag at the pointer.
    if (kind.family == ToolFamily::Shape) {
        removePreview();
        AnchorPoint = None;
    }
    ToolStep({}, None);
}

void DrawingSurface::RefreshToolSymbol(QPoint pointer) {
    // The font first, so that a caret bar drawn now already has the new height.
    ApplyTextFont();
    notifyTextBox(false);
    ToolStep({}, pointer);
}

void DrawingSurface::ResetPointForToolChoice(int chosenTool) {
    if (chosenTool == ToolEraser)
        CurrentPoint = None;
    else if (chosenTool != ToolPen)
        AnchorPoint = None;
}

void DrawingSurface::Undo() {
    if (picture_.isNull())
        return;
    CurrentPoint = SavedPoint;
    AnchorPoint = SavedAnchor;
    replacePicture(undoPicture_);
    // The snapshot holds the overlay that was drawn when it was taken. It comes off before
    // parking, which may write an open text over the place where the symbol was.
    overlay_ = savedOverlay_;
    removePreview();
    removeSymbol();
    reportWholePicture();
    ParkToolSymbol();
}

void DrawingSurface::Clear() {
    if (picture_.isNull())
        return;
    CurrentPoint = None;
    AnchorPoint = None;
    replacePicture(screenPicture_);
    overlay_ = {};
    reportWholePicture();
}

// ---- the overlay ----

std::optional<OverlayFigure> DrawingSurface::symbolFor(QPoint at) const {
    if (!isValid(at))
        return std::nullopt;
    ToolKind kind = toolKindOf(state_.Tool);
    ToolSizes sizes = toolSizesFor(state_.PenWidth);
    OverlayFigure figure;
    figure.at = at;
    switch (kind.family) {
    case ToolFamily::Pen:
    case ToolFamily::Shape:
        figure.kind = OverlayKind::Circle;
        figure.size = sizes.circleRadius;
        return figure;
    case ToolFamily::Eraser:
        figure.kind = OverlayKind::EraserBox;
        figure.size = sizes.eraserHalfWidth;
        figure.size2 = sizes.eraserHalfHeight;
        return figure;
    case ToolFamily::Stamp:
        figure.kind =
            kind.stamp == StampKind::Check ? OverlayKind::CheckMarker : OverlayKind::CrossMarker;
        figure.size = kind.stamp == StampKind::Check ? sizes.checkArm : sizes.crossArm;
        return figure;
    case ToolFamily::Text:
        if (textBox_.open)
            return std::nullopt; // the caret bar shows only while the box is hidden
        figure.kind = OverlayKind::CaretBar;
        figure.size = textBox_.height;
        return figure;
    case ToolFamily::None:
        break;
    }
    return std::nullopt;
}

void DrawingSurface::drawSymbolAt(QPoint at) {
    removeSymbol();
    if (auto figure = symbolFor(at)) {
        drawOverlay(*figure);
        overlay_.symbol = figure;
    }
}

void DrawingSurface::removeSymbol() {
    if (!overlay_.symbol)
        return;
    drawOverlay(*overlay_.symbol);
    overlay_.symbol.reset();
}

void DrawingSurface::drawPreview(ShapeFigure shape) {
    if (!isValid(AnchorPoint) || !isValid(CurrentPoint)) {
        removePreview();
        return;
    }
    OverlayFigure figure;
    figure.kind = OverlayKind::ShapePreview;
    figure.shape = shape;
    figure.at = AnchorPoint;
    figure.to = CurrentPoint;
    figure.size = arrowHeadLength(state_.PenWidth);
    if (overlay_.preview && movesInOnePass(*overlay_.preview, figure)) {
        moveBand(*overlay_.preview, figure);
    } else {
        removePreview();
        drawOverlay(figure);
    }
    overlay_.preview = figure;
}

bool DrawingSurface::movesInOnePass(const OverlayFigure& from, const OverlayFigure& to) {
    return from.kind == OverlayKind::ShapePreview && to.kind == OverlayKind::ShapePreview &&
           from.shape == to.shape &&
           (to.shape == ShapeFigure::Rectangle || to.shape == ShapeFigure::Ellipse);
}

// A rectangle or ellipse rubber band moves in one pass over the rows, old and new outline
// together; a rectangle's anchored sides are not written at all.
void DrawingSurface::moveBand(const OverlayFigure& from, const OverlayFigure& to) {
    auto box = [](const OverlayFigure& figure) {
        return raster::normalisedBox(figure.at.x(), figure.at.y(), figure.to.x(), figure.to.y());
    };
    const raster::PixelView view = raster::PixelView::of(picture_);
    if (to.shape == ShapeFigure::Ellipse) {
        raster::invertEllipseOutlineChange(view, box(from), box(to));
        reportMovedStrips(from, to);
        return;
    }
    changedBoxes_.clear();
    raster::invertRectangleOutlineChange(view, box(from), box(to), changedBoxes_);
    if (pictureChanged)
        for (const raster::Rect& changed : changedBoxes_)
            pictureChanged(toQRect(changed));
}

void DrawingSurface::removePreview() {
    if (!overlay_.preview)
        return;
    drawOverlay(*overlay_.preview);
    overlay_.preview.reset();
}

void DrawingSurface::drawOverlay(const OverlayFigure& figure) {
    raster::Canvas& c = canvas();
    drawOverlayFigure(c, figure);
    if (figure.kind != OverlayKind::ShapePreview) {
        reportChanges();
        return;
    }
    c.takeTouched();
    reportStrips(figure);
}

// A rubber band's bounding box can be most of the screen; the thin strips along it are
// reported instead. They depend on the figure and the picture's size alone: the rubber band
// taken off reports those it was drawn with.
const std::vector<QRect>& DrawingSurface::stripsOf(const OverlayFigure& figure) {
    const QRect bounds = picture_.rect();
    return strips_.get({figure, bounds}, [&](std::vector<QRect>& strips) {
        overlayCoverage(figure, strips);
        for (QRect& strip : strips) {
            const bool inside = strip.left() >= bounds.left() && strip.top() >= bounds.top() &&
                                strip.right() <= bounds.right() &&
                                strip.bottom() <= bounds.bottom();
            if (!inside) // rare: a figure by the picture's edge
                strip = strip.intersected(bounds);
        }
    });
}

void DrawingSurface::reportStrips(const OverlayFigure& figure) {
    if (!pictureChanged)
        return;
    for (const QRect& strip : stripsOf(figure))
        if (!strip.isEmpty())
            pictureChanged(strip);
}

// The strips of two ellipses a move apart follow each other arc by arc: each pair is
// reported as one area, half as many as the two lists.
void DrawingSurface::reportMovedStrips(const OverlayFigure& from, const OverlayFigure& to) {
    if (!pictureChanged)
        return;
    // Both stay valid: the cache holds the last two asked for.
    const std::vector<QRect>& old = stripsOf(from);
    const std::vector<QRect>& now = stripsOf(to);
    if (old.size() != now.size() || &old == &now) {
        reportStrips(from);
        reportStrips(to);
        return;
    }
    for (size_t i = 0; i < now.size(); ++i) {
        const QRect &a = old[i], &b = now[i];
        if (a.isEmpty() || b.isEmpty()) { // an empty strip adds nothing
            if (!a.isEmpty() || !b.isEmpty())
                pictureChanged(a.isEmpty() ? b : a);
            continue;
        }
        pictureChanged(
            QRect(QPoint(std::min(a.left(), b.left()), std::min(a.top(), b.top())),
                  QPoint(std::max(a.right(), b.right()), std::max(a.bottom(), b.bottom()))));
    }
}

// ---- pictures ----

void DrawingSurface::TakeUndoSnapshot() {
    SavedAnchor = AnchorPoint;
    SavedPoint = CurrentPoint;
    savedOverlay_ = overlay_;
    // Copies into the snapshot's own memory: no new picture per press.
    raster::CopyPicture(picture_, undoPicture_);
}

void DrawingSurface::replacePicture(const QImage& source) {
    raster::CopyPicture(source, picture_);
}

raster::Canvas& DrawingSurface::canvas() {
    if (!canvas_)
        canvas_ = std::make_unique<raster::Canvas>(picture_);
    return *canvas_;
}

void DrawingSurface::reportChanges() {
    QRect touched = toQRect(canvas().takeTouched());
    if (!touched.isEmpty() && pictureChanged)
        pictureChanged(touched);
}

void DrawingSurface::reportWholePicture() {
    if (canvas_)
        canvas_->takeTouched();
    if (pictureChanged && !picture_.isNull())
        pictureChanged(picture_.rect());
}
