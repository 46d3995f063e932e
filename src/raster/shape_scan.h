#pragma once
// Scan conversion of rectangles and ellipses into spans: the outline (the pen) and the
// interior (the brush) go to separate sinks and never share a pixel. Either sink may be
// null when its part is not wanted.

#include "raster/rect.h"
#include "raster/span_sink.h"

namespace raster {

class EllipseOutline;

// The box corners as given, in any order, made into a box whose right and bottom edges are
// exclusive: the lesser coordinate becomes left/top, the greater right/bottom.
Rect normalisedBox(int x1, int y1, int x2, int y2);

// The outline of `box` traced through the pixels [left, right - 1] x [top, bottom - 1] with
// a pen `width` wide centred on that path, round outer corners. An empty box draws nothing.
void scanRectangle(SpanSink* pen, SpanSink* interior, const Rect& box, int width);

// The ellipse fitting `box`. A 1-pixel pen traces a thin 8-connected outline touching all
// four sides of the box; a wider pen covers the ring between the ellipses grown and shrunk
// by half the width. An empty box draws nothing.
void scanEllipse(SpanSink* pen, SpanSink* interior, const Rect& box, int width);
// The same with a 1-pixel pen's outline worked out in `thin`, whose memory the caller keeps
// for the next ellipse (a tool symbol is drawn on every pointer move).
void scanEllipse(SpanSink* pen, SpanSink* interior, const Rect& box, int width,
                 EllipseOutline& thin);

} // namespace raster
