// The text tool: a click opens (or moves) the box with its lower-left corner at the click;
// Enter writes the typed text into the picture, Esc drops it. Before a click, a caret bar
// of the box's height follows the pointer.
#include "surface/drawing_surface.h"

#include "raster/canvas.h"
#include "surface/figures.h"
#include "surface/text_keys.h"
#include "surface/tool_sizes.h"

namespace {
const QString kMeasureHeightOf = QStringLiteral("X");
const QString kWidthMargin = QStringLiteral("xx");
} // namespace

void DrawingSurface::TextStep(ShiftState shift, QPoint at) {
    removeSymbol();
    CurrentPoint = at;
    if (shift.left && isValid(at)) {
        AnchorPoint = CurrentPoint;
        OpenTextBox(at);
    }
    ShowCaretBar();
}

void DrawingSurface::ShowCaretBar() {
    if (!overlay_.symbol)
        drawSymbolAt(CurrentPoint); // nothing while the box is open or with no point
}

void DrawingSurface::ApplyTextFont() {
    textBox_.fontPoints = textFontPoints(state_.PenWidth);
    raster::Canvas& c = canvas();
    applyTextFont(c, textBox_.fontPoints, textBox_.colour);
    textBox_.height = textHeight(c, kMeasureHeightOf);
}

void DrawingSurface::OpenTextBox(QPoint at) {
    textBox_.colour = state_.PenColour;
    ApplyTextFont();
    raster::Canvas& c = canvas();
    textBox_.left = at.x();
    textBox_.top = at.y() - textBox_.height;
    textBox_.width = textWidth(c, textBox_.text + kWidthMargin);
    textBox_.open = true;
    notifyTextBox(true);
}

void DrawingSurface::Edit1Change(const QString& text) {
    textBox_.text = text;
    if (!picture_.isNull()) {
        raster::Canvas& c = canvas();
        applyTextFont(c, textBox_.fontPoints, textBox_.colour);
        textBox_.width = textWidth(c, text + kWidthMargin);
    }
    notifyTextBox(false);
}

bool DrawingSurface::Edit1KeyPress(int character) {
    if (character == kEnterKey) {
        CommitText();
        ShowCaretBar();
        return true;
    }
    if (character == kEscapeKey) {
        CloseTextBox();
        ShowCaretBar();
        return true;
    }
    return false;
}

void DrawingSurface::CommitText() {
    bool wasOpen = textBox_.open;
    textBox_.open = false;
    if (wasOpen && !picture_.isNull() && !textBox_.text.isEmpty()) {
        raster::Canvas& c = canvas();
        // Text is always opaque in the box colour: the pen's mix does not apply.
        applyTextFont(c, textBox_.fontPoints, textBox_.colour);
        writeText(c, textBox_.left, textBox_.top, textBox_.text, textBox_.colour,
                  textBox_.fontPoints >= kTextShadowFromPoints);
        reportChanges();
    }
    textBox_.text.clear();
    notifyTextBox(false);
}

void DrawingSurface::CloseTextBox() {
    textBox_.open = false;
    textBox_.text.clear();
    ApplyTextFont();
    notifyTextBox(false);
}

void DrawingSurface::SyncTextColour() {
    if (state_.Tool != ToolText)
        return;
    textBox_.colour = state_.PenColour;
    notifyTextBox(textBox_.open);
}

void DrawingSurface::notifyTextBox(bool wantsFocus) {
    if (textBoxChanged)
        textBoxChanged(wantsFocus);
}
