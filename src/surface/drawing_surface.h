#pragma once
// The drawing engine of one drawing phase: the three pictures, the surface points and
// every tool's reaction to input. Plain C++ on the rasterizer; no widgets.
//
// Every input reaches the current tool through ToolStep. The tool symbol and the rubber
// band are drawn into the working picture in invert mode; the engine remembers each one as
// it drew it (OverlayFigure, RubberBand) and removes it by drawing it again, so the picture
// holds at any time exactly the figures the engine knows of.

#include "surface/drawing_state.h"
#include "surface/input_state.h"
#include "surface/overlay_figure.h"
#include "surface/rect_conversion.h"
#include "surface/rubber_band.h"
#include "surface/text_box.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace raster {
class Canvas;
}

class DrawingSurface {
public:
    // The engine reads the palette's drawing state; it never writes it.
    explicit DrawingSurface(const DrawingState& state);
    ~DrawingSurface();

    // Freezes a new phase on a captured screen: the capture itself becomes the frozen
    // screen (kept, never copied: only read from), the undo snapshot and the working
    // picture become copies of it in the memory of the last phase, and every point becomes
    // none. `screenDepth` is the depth of the screen it was read from, which saving keeps.
    void StartPhase(QImage capture, int screenDepth = 32);
    // Lets go of the frozen screen between phases, so the next grab can land in its memory
    // rather than in fresh pages. The undo snapshot and the working picture stay.
    void LetGoOfScreenPicture() { screenPicture_ = QImage(); }
    int ScreenDepth() const { return screenDepth_; }

    // The working picture: what the user sees, every tool draws into and output reads.
    const QImage& Picture() const { return picture_; }
    const QImage& ScreenPicture() const { return screenPicture_; }
    const QImage& UndoPicture() const { return undoPicture_; }

    // The working picture without the tool symbol or rubber band that may be drawn on it,
    // for saving, copying and printing. The picture on screen is left as it is. An open
    // text box is not part of it (its text is written only when committed).
    QImage PictureForOutput() const;

    // Parking leaves the points at kNoPoint, which means "no point". Every other position is a
    // real one, negative ones included: a held pointer past the picture's left or top edge
    // (over a monitor to the left, say) draws what falls on the picture.
    static constexpr QPoint kNoPoint{-1, -1};
    static bool isValid(QPoint point) { return point != kNoPoint; }
    QPoint CurrentPoint = kNoPoint;
    QPoint AnchorPoint = kNoPoint;
    QPoint SavedPoint = kNoPoint;
    QPoint SavedAnchor = kNoPoint;
    bool ButtonHeld = false;

    // Mouse and keyboard input, in picture pixels.
    void MouseDown(MouseButton button, ShiftState shift, QPoint at);
    void MouseMove(ShiftState shift, QPoint at);
    void MouseUp(MouseButton button, ShiftState shift, QPoint at);
    // Any key pressed while Shift is down (auto-repeat of Shift included).
    void KeyDownWithShift();
    // The Shift key released; `pointer` is where the mouse pointer is now.
    void ShiftKeyUp(QPoint pointer);

    // One step of the current tool for a shift state and a new pointer position.
    void ToolStep(ShiftState shift, QPoint at);

    // Palette operations.
    // Removes the tool symbol (committing an open text first); a shape being dragged is
    // dropped, never drawn towards the "none" point.
    void ParkToolSymbol();
    // Draws the current tool's symbol at the pointer and sizes the text font to the width.
    void RefreshToolSymbol(QPoint pointer);
    // The point that a tool choice forgets: CurrentPoint for the eraser, AnchorPoint for
    // every tool but the pen and the eraser. Runs after parking, before the refresh.
    void ResetPointForToolChoice(int chosenTool);
    // Undo takes back the last left press; a second undo gives the same picture.
    void Undo();
    // Clear brings back the frozen screen; the undo snapshot stays.
    void Clear();

    // The text tool's box (the widget shows it as Edit1).
    const TextBox& textBox() const { return textBox_; }
    // The box's text changed: it grows and shrinks with it.
    void Edit1Change(const QString& text);
    // Enter (kEnterKey) commits, Esc (kEscapeKey) drops; returns whether the key was consumed.
    bool Edit1KeyPress(int character);
    // Writes the box's text into the picture, then empties and hides the box.
    void CommitText();
    // A colour change with the text tool: the box takes the new colour at once.
    void SyncTextColour();
    // Hides the box and forgets its text without writing it (at every showing).
    void CloseTextBox();

    // Told about every changed picture area (device pixels), and about every change of
    // the text box (with wantsFocus when it was just opened or moved).
    std::function<void(const QRect&)> pictureChanged;
    std::function<void(bool wantsFocus)> textBoxChanged;

private:
    struct Overlay {
        std::optional<OverlayFigure> symbol;
        std::optional<RubberBand> preview; // from a shape's press to its release
    };

    // Tool families, dispatched by ToolStep.
    void PenStep(ShiftState shift, QPoint at);
    void EraserStep(ShiftState shift, QPoint at);
    void ShapeStep(ShapeFigure figure, ShiftState shift, QPoint at);
    void StampStep(StampKind kind, ShiftState shift, QPoint at);
    void TextStep(ShiftState shift, QPoint at);
    // Whether a held step would draw the very rubber band and symbol already shown.
    bool dragUnchanged(ShapeFigure figure, ShiftState shift, QPoint at) const;

    // The overlay under the invert discipline.
    void drawSymbolAt(QPoint at);
    void removeSymbol();
    void drawPreview(ShapeFigure figure);
    void removePreview();
    void drawOverlay(const OverlayFigure& figure);
    std::optional<OverlayFigure> symbolFor(QPoint at) const;

    // Text tool pieces.
    void OpenTextBox(QPoint at);
    void ApplyTextFont();
    void ShowCaretBar();
    void notifyTextBox(bool wantsFocus);

    void TakeUndoSnapshot();
    void replacePicture(const QImage& source);
    raster::Canvas& canvas();
    RubberBand::Target bandTarget();
    void reportChanges();
    void reportWholePicture();

    const DrawingState& state_;
    int screenDepth_ = 32;
    QImage screenPicture_;
    QImage undoPicture_;
    QImage picture_;
    std::unique_ptr<raster::Canvas> canvas_;
    Overlay overlay_;
    Overlay savedOverlay_;
    QPoint penPosition_ = kNoPoint;
    TextBox textBox_;
    // Passes the boxes a rubber band changed on to pictureChanged.
    const RubberBand::Report reportBoxes_ = [this](const std::vector<raster::Rect>& boxes) {
        if (pictureChanged)
            for (const raster::Rect& box : boxes)
                if (!box.isEmpty())
                    pictureChanged(toQRect(box));
    };
};
