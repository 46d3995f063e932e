#pragma once
// Where scan conversion ends: figures emit horizontal spans, the sink clips them to its box
// and merges them per row, so that a figure covers each pixel at most once whatever its
// overlaps (round caps, joins, self-crossing polylines). Only then are pixels written.

#include "raster/mix.h"
#include "raster/pixel_view.h"
#include "raster/rect.h"

#include <cstdint>
#include <vector>

namespace raster {

struct Span {
    int y;
    int x0;
    int x1; // exclusive
    bool operator==(const Span&) const = default;
};

class SpanSink {
public:
    explicit SpanSink(Rect clip = {}) : clip_(clip) {}

    // Empties the sink and sets the box spans are clipped to; keeps the memory.
    void reset(Rect clip);
    const Rect& clip() const { return clip_; }

    // Pixels x0 <= x < x1 of row y. Wide integers, so callers may pass unclamped values.
    void add(std::int64_t y, std::int64_t x0, std::int64_t x1) {
        if (y < clip_.top || y >= clip_.bottom)
            return;
        x0 = x0 < clip_.left ? clip_.left : x0;
        x1 = x1 > clip_.right ? clip_.right : x1;
        if (x0 >= x1)
            return;
        append({int(y), int(x0), int(x1)});
    }

    // The spans sorted by row and x, disjoint and not touching within a row.
    const std::vector<Span>& merged();
    // The box of all merged spans (empty when there are none).
    Rect bounds();
    bool empty() const { return spans_.empty(); }

    // Writes every merged span with the masks and returns the box written.
    Rect fill(const PixelView& view, MixMasks masks);

private:
    void append(Span span) {
        if (!spans_.empty()) {
            Span& last = spans_.back();
            // Runs of one row arrive pixel by pixel from line tracing; join them on the spot.
            if (last.y == span.y && span.x0 <= last.x1 && span.x1 >= last.x0) {
                last.x0 = last.x0 < span.x0 ? last.x0 : span.x0;
                last.x1 = last.x1 > span.x1 ? last.x1 : span.x1;
                return;
            }
            if (last.y > span.y || (last.y == span.y && last.x0 > span.x0))
                merged_ = false;
        }
        spans_.push_back(span);
    }

    Rect clip_;
    std::vector<Span> spans_;
    bool merged_ = true;
};

} // namespace raster
