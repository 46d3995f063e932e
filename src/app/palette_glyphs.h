#pragma once
// The 28 pictures of the palette's image list (18 x 18 each), drawn in code so they stay
// crisp on every screen scale. The menu items use the same pictures.

#include <QIcon>
#include <QPixmap>
#include <array>

constexpr int kGlyphCount = 28;
constexpr int kGlyphSize = 18;

// One glyph at a device pixel ratio (1 for plain screens, 2 for doubled ones).
QPixmap PaletteGlyphPixmap(int index, qreal devicePixelRatio = 1.0);

// The glyph as an icon holding both the 1x and the 2x picture.
QIcon PaletteGlyph(int index);

// The glyphs as icons, each drawn the first time it is asked for and then shared by every
// button and menu item that shows it.
class PaletteGlyphIcons {
public:
    const QIcon& icon(int index);

private:
    std::array<QIcon, kGlyphCount> icons_;
};
