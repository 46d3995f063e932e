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

RubberBand::RubberBand(raster::Canvas& canvas, const OverlayFigure& figure, const Report& report)
    : figure_(figure) {
    if (outlined(figure.shape))
        changeOutline(canvas, nullptr, &figure, report);
    else
        drawFigure(canvas, figure, report);
}

void RubberBand::moveTo(raster::Canvas& canvas, const OverlayFigure& figure, const Report& report) {
    if (figure.shape == figure_.shape && outlined(figure.shape)) {
        changeOutline(canvas, &figure_, &figure, report);
    } else {
        remove(canvas, report);
        if (outlined(figure.shape))
            changeOutline(canvas, nullptr, &figure, report);
        else
            drawFigure(canvas, figure, report);
    }
    figure_ = figure;
}

void RubberBand::remove(raster::Canvas& canvas, const Report& report) {
    if (outlined(figure_.shape)) {
        changeOutline(canvas, &figure_, nullptr, report);
        return;
    }
    drawOverlayFigure(canvas, figure_); // drawn again, it comes off
    canvas.takeTouched();
    report(shownBoxes_);
}

void RubberBand::changeOutline(raster::Canvas& canvas, const OverlayFigure* from,
                               const OverlayFigure* to, const Report& report) {
    const raster::PixelView view = raster::PixelView::of(canvas.picture());
    changed_.clear();
    if (figure_.shape == ShapeFigure::Ellipse) {
        next_.trace(to ? boxOf(*to) : raster::Rect{}, view.bounds());
        raster::invertEllipseOutlineChange(view, outline_, next_, changed_);
        std::swap(outline_, next_);
    } else {
        raster::invertRectangleOutlineChange(view, from ? boxOf(*from) : raster::Rect{},
                                             to ? boxOf(*to) : raster::Rect{}, changed_);
    }
    for (raster::Rect& box : changed_)
        box = box.intersected(view.bounds());
    report(changed_);
}

void RubberBand::drawFigure(raster::Canvas& canvas, const OverlayFigure& figure,
                            const Report& report) {
    drawOverlayFigure(canvas, figure);
    canvas.takeTouched(); // the bounding box; the segments' own boxes are reported instead
    const raster::Rect bounds{0, 0, canvas.picture().width(), canvas.picture().height()};
    shownBoxes_.clear();
    const Segments segments = segmentsOf(figure.shape, figure.at, figure.to, figure.size);
    for (int i = 0; i < segments.count; ++i) {
        const Segment& s = segments.items[i];
        raster::thinLineBoxes(bounds, s.from.x(), s.from.y(), s.to.x(), s.to.y(), shownBoxes_);
    }
    report(shownBoxes_);
}
