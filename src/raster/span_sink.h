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
    void add(std::int64_t y, std::int64_t x0, std::int64_t x1);

    // The spans sorted by row and x, disjoint and not touching within a row.
    const std::vector<Span>& merged();
    // The box of all merged spans (empty when there are none).
    Rect bounds();
    bool empty() const { return spans_.empty(); }

    // Writes every merged span with the masks and returns the box written.
    Rect fill(const PixelView& view, MixMasks masks);

private:
    Rect clip_;
    std::vector<Span> spans_;
    bool merged_ = true;
};

} // namespace raster
