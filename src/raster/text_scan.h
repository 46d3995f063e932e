#pragma once
// Text rendered through Qt into glyph coverage, then emitted as spans: a pixel belongs to
// the text where the glyph covers at least half of it. Text is written opaque in one colour
// (never inverted), so no partial-coverage blending is needed.

#include "raster/fonts.h"
#include "raster/span_sink.h"

#include <QString>

namespace raster {

// The advance width and the cell height (ascent + descent) of a text, in pixels.
int textWidth(const Font& font, const QString& text);
int textHeight(const Font& font, const QString& text);
int textWidth(const ResolvedFont& font, const QString& text);
int textHeight(const ResolvedFont& font);

// The glyphs of `text` with the top-left corner of the text cell at (left, top).
void scanText(SpanSink& sink, const ResolvedFont& font, int left, int top, const QString& text);

} // namespace raster
