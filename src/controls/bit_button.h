#pragma once
// TBitBtn2: the push button of all the program's dialogs. It paints itself: a flat face in
// its own colour inside a one-pixel raised edge, an optional picture stretched over the
// face, a centred caption that shrinks until it fits, a caption shadow, an engraved look
// when disabled, and a dark frame and dotted focus rectangle on the active button (the one
// Enter would press).
//
// Default is QPushButton's own (isDefault/setDefault): in a QDialog, Enter on another
// control presses it. Cancel makes Esc in the window press the button. ModalResult, when
// not 0, ends the dialog with that result on a click. Handlers connect to Click(), which
// comes after the modal result is set (bkHelp and bkClose may handle a click themselves).

#include "controls/button_kind.h"
#include "controls/glyph_cache.h"

#include <QPushButton>
#include <functional>

class QShortcut;

enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };

// The point size a caption is drawn at: from `points` one point smaller at a time while
// `measureWidth(points)` is wider than `available`, but never below 1 point.
double FitCaptionPoints(double points, int available,
                        const std::function<int(double points)>& measureWidth);

class TBitBtn2 : public QPushButton {
    Q_OBJECT
public:
    explicit TBitBtn2(QWidget* parent = nullptr);
    ~TBitBtn2() override;

    // Reads bkCustom (and keeps it) once Default, Cancel or ModalResult no longer match the
    // kind, or the picture was replaced (also by resizing) after the kind was set.
    TBitBtnKind Kind();
    void setKind(TBitBtnKind kind);

    QImage Glyph() const { return glyph_.Glyph(); }
    void setGlyph(const QImage& glyph);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void setNumGlyphs(int count);
    int Margin() const { return margin_; }
    void setMargin(int margin); // below -1 is ignored
    // A property of the control that the drawing does not look at.
    TButtonStyle Style() const { return style_; }
    void setStyle(TButtonStyle style) { style_ = style; }
    using QWidget::setStyle;
    // 1: the picture reaches one pixel further on every side; else it keeps two pixels off.
    int Style3D() const { return style3D_; }
    void setStyle3D(int style);
    // Offset of the caption's black shadow, right and down; 0 shows none.
    int Shadow() const { return shadow_; }
    void setShadow(int offset);
    // The picture's transparent colour shows as the button-face colour.
    bool Transparent() const { return transparent_; }
    void setTransparent(bool on);
    // The picture blended 25 % with SelColor.
    bool Checked() const { return glyph_.Checked(); }
    void setChecked(bool checked);
    QColor SelColor() const { return glyph_.SelColor(); }
    void setSelColor(const QColor& colour);
    // The face; invalid means the palette's button colour.
    QColor Color() const { return color_; }
    void setColor(const QColor& colour);

    bool Cancel() const { return cancel_; }
    void setCancel(bool cancel);
    int ModalResult() const { return modalResult_; }
    void setModalResult(int result) { modalResult_ = result; }

    // True while this is the button Enter would press.
    bool IsActive() const { return active_; }
    const TButtonGlyph& GlyphHolder() const { return glyph_; }

    // bkHelp buttons hand the first "HelpContext" property (not 0) found on themselves or
    // their parents to this handler instead of clicking.
    static void setHelpHandler(std::function<void(int context)> handler);

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void handleClick();
    void focusMoved(QWidget* now);
    void glyphReplaced();
    void followSize();
    TButtonState paintState() const;
    QRect pictureRect(TButtonState state) const;
    void drawFace(QPainter& painter, TButtonState state) const;
    void drawCaption(QPainter& painter, const QRect& box, TButtonState state) const;

    TButtonGlyph glyph_;
    TBitBtnKind kind_ = bkCustom;
    bool glyphModified_ = false;
    bool active_ = false;
    int margin_ = 0;
    TButtonStyle style_ = bsAutoDetect;
    int style3D_ = 2;
    int shadow_ = 1;
    bool transparent_ = false;
    QColor color_;
    bool cancel_ = false;
    int modalResult_ = 0;
    QShortcut* escape_ = nullptr;
    QSize pictureSize_; // the size the picture was last assigned for
};
