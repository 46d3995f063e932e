#pragma once
// The rubber band of one shape drag, from the press to the release: the figure shown over
// the picture in invert mode and what taking it off or moving it needs.
//
// A rectangle or an ellipse moves in one pass over the rows, the old and the new outline
// together (a rectangle's anchored sides are not written at all); the ellipse's outline is
// kept, so the old one is not worked out again. The other figures are taken off and drawn
// again. Every change is reported as thin boxes along the figure, not its bounding box,
// which can be most of the screen.

#include "raster/ellipse_outline.h"
#include "raster/rect.h"
#include "surface/overlay_figure.h"

#include <QImage>
#include <functional>
#include <vector>

namespace raster {
class Canvas;
}

class RubberBand {
public:
    // Told about the areas of the picture a change covers (inside the picture).
    using Report = std::function<void(const std::vector<raster::Rect>&)>;
    // What a band is drawn on, and who is told what changed.
    struct Target {
        QImage& picture;
        raster::Canvas& canvas; // over the picture
        const Report& report;
    };

    // Draws `figure` (a shape preview) on the picture.
    RubberBand(const Target& target, const OverlayFigure& figure);

    const OverlayFigure& figure() const { return figure_; }
    // Moves the band shown to `figure`.
    void moveTo(const Target& target, const OverlayFigure& figure);
    // Takes the band off the picture; the band is then spent.
    void remove(const Target& target);

private:
    // The outline of the band's rectangle or ellipse from `from` to `to`, either of which
    // may be none.
    void changeOutline(const Target& target, const OverlayFigure* from, const OverlayFigure* to);
    // Draws any other figure, keeping the boxes along its segments to report again when it
    // comes off.
    void drawFigure(const Target& target, const OverlayFigure& figure);

    OverlayFigure figure_;
    // The ellipse shown, and the one it moves to (their memory is reused move after move).
    raster::EllipseOutline outline_, next_;
    std::vector<raster::Rect> changed_;
    std::vector<raster::Rect> shownBoxes_;
};
