#pragma once
// The controls shrink fonts one point at a time, but the dialogs give their fonts in pixels;
// these helpers move between the two on the device the text is drawn on.

#include <QFont>

class QPaintDevice;

// The font's size in points on `device` (a pixel-sized font is converted with its DPI).
double FontPoints(const QFont& font, const QPaintDevice& device);

// A copy of `font` at `points` points.
QFont FontAtPoints(const QFont& font, double points);

// The dialogs' fonts, given like "Arial" at 11 pixels. Where the family is missing, a
// font of the same widths stands in, so that texts fit the places the layouts give them.
QFont PixelFont(const QString& family, int pixels, bool bold = false);
