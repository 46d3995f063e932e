#pragma once
// The drawing engine of one drawing phase: the three pictures, the surface points and
// every tool's reaction to input. Plain C++ on the rasterizer; no widgets.

#include "surface/drawing_state.h"

#include <QImage>
#include <QPoint>

class DrawingSurface {
public:
    // The engine reads the palette's drawing state; it never writes it.
    explicit DrawingSurface(const DrawingState& state) : state_(state) {}

    // Freezes a new phase on a captured screen: the frozen screen, the undo snapshot and
    // the working picture all become the capture, and every point becomes none.
    void StartPhase(const QImage& capture);

    // The working picture: what the user sees, every tool draws into and output reads.
    const QImage& Picture() const { return picture_; }
    const QImage& ScreenPicture() const { return screenPicture_; }
    const QImage& UndoPicture() const { return undoPicture_; }

    static constexpr QPoint None{-1, -1};
    QPoint CurrentPoint = None;
    QPoint AnchorPoint = None;
    QPoint SavedPoint = None;
    QPoint SavedAnchor = None;

private:
    const DrawingState& state_;
    QImage screenPicture_;
    QImage undoPicture_;
    QImage picture_;
};
