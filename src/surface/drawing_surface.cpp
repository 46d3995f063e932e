#include "surface/drawing_surface.h"

#include "raster/canvas.h"
#include "surface/figures.h"
#include "surface/rect_conversion.h"
#include "surface/tool_sizes.h"

#include <utility>

DrawingSurface::DrawingSurface(const DrawingState& state) : state_(state) {}
DrawingSurface::~DrawingSurface() = default;

void DrawingSurface::StartPhase(QImage capture, int screenDepth) {
    screenDepth_ = screenDepth;
    screenPicture_ = capture.format() == QImage::Format_RGB32
                         ? std::move(capture)
                         : capture.convertToFormat(QImage::Format_RGB32);
    raster::CopyPicture(screenPicture_, undoPicture_);
    raster::CopyPicture(screenPicture_, picture_);
    canvas_.reset();
    AnchorPoint = CurrentPoint = kNoPoint;
    SavedAnchor = SavedPoint = kNoPoint;
    overlay_ = {};
    savedOverlay_ = {};
    penPosition_ = kNoPoint;
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
        drawOverlayFigure(canvas, overlay_.preview->figure());
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
    AnchorPoint = kNoPoint;
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
        AnchorPoint = kNoPoint;
    }
    ToolStep({}, kNoPoint);
}

void DrawingSurface::RefreshToolSymbol(QPoint pointer) {
    // The font first, so that a caret bar drawn now already has the new height.
    ApplyTextFont();
    notifyTextBox(false);
    ToolStep({}, pointer);
}

void DrawingSurface::ResetPointForToolChoice(int chosenTool) {
    if (chosenTool == ToolEraser)
        CurrentPoint = kNoPoint;
    else if (chosenTool != ToolPen)
        AnchorPoint = kNoPoint;
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
    if (picture_.isNull() || screenPicture_.isNull())
        return;
    CurrentPoint = kNoPoint;
    AnchorPoint = kNoPoint;
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
    if (overlay_.preview)
        overlay_.preview->moveTo(bandTarget(), figure);
    else
        overlay_.preview.emplace(bandTarget(), figure);
}

void DrawingSurface::removePreview() {
    if (!overlay_.preview)
        return;
    overlay_.preview->remove(bandTarget());
    overlay_.preview.reset();
}

void DrawingSurface::drawOverlay(const OverlayFigure& figure) {
    drawOverlayFigure(canvas(), figure);
    reportChanges();
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

RubberBand::Target DrawingSurface::bandTarget() {
    return {picture_, canvas(), reportBoxes_};
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
