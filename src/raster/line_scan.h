#pragma once
// Scan conversion of lines into spans.

#include "raster/span_sink.h"

#include <vector>

namespace raster {

// A 1-pixel line from (x1, y1) towards (x2, y2), the end point excluded: Bresenham along
// the major axis, max(|dx|, |dy|) pixels. A zero-length line covers nothing.
void scanThinLine(SpanSink& sink, int x1, int y1, int x2, int y2);

// Appends boxes that together cover the pixels scanThinLine draws inside `clip`, each over
// a short stretch of the line: a long diagonal is reported as a narrow band, not its box.
void thinLineBoxes(const Rect& clip, int x1, int y1, int x2, int y2, std::vector<Rect>& out);

// A line of a pen `width` pixels wide, centred on the segment, with round ends: every pixel
// whose centre lies within width / 2 of the segment. A zero-length segment is a round dot.
// An even width thus covers width + 1 pixels across an axis-parallel line (the drawing
// tools only use odd widths, which are exact).
void scanWideSegment(SpanSink& sink, int x1, int y1, int x2, int y2, int width);

} // namespace raster
