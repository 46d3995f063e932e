#pragma once
// Fonts as the drawing code names them, and the installed fonts that stand in for them.

#include "raster/colorref.h"

#include <QFont>
#include <QString>

namespace raster {

struct Font {
    QString family = "Arial";
    int pointSize = 10; // points at 96 dots per inch
    bool bold = false;
    COLORREF colour = 0x000000;
    bool operator==(const Font&) const = default;
};

// The em height in pixels of a point size at 96 dpi, rounded like MulDiv(size, 96, 72).
int pixelSizeOf(int pointSize);

// An installed family for a requested one: the family itself when installed, else its
// stand-in ("Arial" and "MS Sans Serif" -> Liberation Sans, "Wingdings" -> DejaVu Sans).
QString resolveFamily(const QString& requested);

// The font and text that show the glyph of a "Wingdings" character code (252 check mark,
// 251 ballot cross): Wingdings itself when installed, else equivalent glyphs of an installed
// font, drawn in the same point size.
struct StampGlyph {
    QString family;
    QString text;
};
StampGlyph stampGlyph(int wingdingsCode);

// The Qt font that renders `font` (pixel-sized, so the screen's dpi does not matter).
QFont qfontOf(const Font& font);

// A font with its installed family looked up. Looking a family up asks the system's font
// configuration, which takes tens of microseconds; whatever measures or writes text again
// and again keeps one of these while its font stays the same.
struct ResolvedFont {
    QFont qfont;
    bool standInGlyphs = false; // Wingdings codes are shown with another font's glyphs
};
ResolvedFont resolvedFont(const Font& font);
// Whether two fonts render alike (the colour aside).
bool sameFace(const Font& a, const Font& b);

// The text as it is rendered with `font`: Wingdings codes become their stand-in glyphs when
// Wingdings is substituted; other text is unchanged.
QString renderedText(const ResolvedFont& font, const QString& text);

} // namespace raster
