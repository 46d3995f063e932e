#include "surface/rubber_band.h"

#include "raster/canvas.h"
#include "raster/line_scan.h"
#include "raster/outline_change.h"
#include "raster/shape_scan.h"
#include "surface/figures.h"

#include <utility>

namespace {

raster::Rect boxOf(const OverlayFigure& figure) {
    return raster::normalisedBox(figure.at.x(), figure.at.y(), figure.to.x(), figure.to.y());
}

bool outlined(ShapeFigure shape) {
    return shape == ShapeFigure::Rectangle || shape == ShapeFigure::Ellipse;
}

} // namespace

RubberBand::RubberBand(const Target& target, const OverlayFigure& figure) : figure_(figure) {
    if (outlined(figure.shape))
        changeOutline(target, nullptr, &figure);
    else
        drawFigure(target, figure);
}

void RubberBand::moveTo(const Target& target, const OverlayFigure& figure) {
    if (figure.shape == figure_.shape && outlined(figure.shape)) {
        changeOutline(target, &figure_, &figure);
    } else {
        remove(target);
        if (outlined(figure.shape))
            changeOutline(target, nullptr, &figure);
        else
            drawFigure(target, figure);
    }
    figure_ = figure;
}

void RubberBand::remove(const Target& target) {
    if (outlined(figure_.shape)) {
        changeOutline(target, &figure_, nullptr);
        return;
    }
    drawOverlayFigure(target.canvas, figure_); // drawn again, it comes off
    target.canvas.takeTouched();
    target.report(shownBoxes_);
}

// Both outline changes report boxes inside the picture.
void RubberBand::changeOutline(const Target& target, const OverlayFigure* from,
                               const OverlayFigure* to) {
    const raster::PixelView view = raster::PixelView::of(target.picture);
    changed_.clear();
    if (figure_.shape == ShapeFigure::Ellipse) {
        next_.trace(to ? boxOf(*to) : raster::Rect{}, view.bounds());
        raster::invertEllipseOutlineChange(view, outline_, next_, changed_);
        std::swap(outline_, next_);
    } else {
        raster::invertRectangleOutlineChange(view, from ? boxOf(*from) : raster::Rect{},
                                             to ? boxOf(*to) : raster::Rect{}, changed_);
    }
    target.report(changed_);
}

void RubberBand::drawFigure(const Target& target, const OverlayFigure& figure) {
    drawOverlayFigure(target.canvas, figure);
    target.canvas.takeTouched(); // the bounding box; the segments' own boxes are reported instead
    const raster::Rect bounds{0, 0, target.picture.width(), target.picture.height()};
    shownBoxes_.clear();
    const Segments segments = segmentsOf(figure.shape, figure.at, figure.to, figure.size);
    for (int i = 0; i < segments.count; ++i) {
        const Segment& s = segments.items[i];
        raster::thinLineBoxes(bounds, s.from.x(), s.from.y(), s.to.x(), s.to.y(), shownBoxes_);
    }
    target.report(shownBoxes_);
}
