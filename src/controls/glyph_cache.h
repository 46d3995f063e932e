#pragma once
// The pictures of bitmap buttons, stretched to their button once per state and size and
// kept in image lists shared by all buttons, so that painting only draws prepared images.
//
// TGlyphCache holds one TGlyphList per image size; each TButtonGlyph (one per button)
// takes slots in the list of its size and gives them back when its picture, transparency
// or size changes. Lists are freed when their last slot goes, the cache with its last list.

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

enum class TButtonState { bsUp, bsDisabled, bsDown };

class TGlyphList {
public:
    explicit TGlyphList(QSize size) : size_(size) {}
    QSize Size() const { return size_; }
    // Takes the lowest free slot, or a new one when none is free.
    int Add(const QPixmap& image);
    void Delete(int slot);
    const QPixmap& Image(int slot) const { return images_[slot]; }
    int Count() const { return count_; }

private:
    QSize size_;
    std::vector<QPixmap> images_;
    std::vector<bool> used_;
    int count_ = 0;
};

class TGlyphCache {
public:
    // The cache of the whole program, created on first use.
    static TGlyphCache& Instance();
    // The cache if it exists, without creating it.
    static TGlyphCache* Existing();
    // Frees the cache once it holds no list.
    static void ReleaseIfEmpty();

    // The list for images of `size`: the latest created of that size, or a new one.
    TGlyphList* GetList(QSize size);
    // A holder is done with `list`; it is freed when none of its slots is used.
    void ReturnList(TGlyphList* list);
    int ListCount() const { return int(lists_.size()); }

private:
    std::vector<std::unique_ptr<TGlyphList>> lists_;
};

class TButtonGlyph {
public:
    TButtonGlyph() = default;
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    // NumGlyphs frames of equal width side by side. A picture with rows takes its
    // bottom-left pixel as its transparent colour.
    const QImage& Glyph() const { return glyph_; }
    void setGlyph(const QImage& glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(int count); // above 4 counts as 4, 0 or less changes nothing
    QColor TransparentColor() const { return transparentColor_; }
    bool Checked() const { return checked_; }
    void setChecked(bool checked);
    QColor SelColor() const { return selColor_; }
    void setSelColor(const QColor& colour);

    // Drops the built images; the next draw builds them anew.
    void Invalidate();
    // Builds the image of `state` for `size` unless it exists.
    void Prepare(QSize size, TButtonState state, bool transparent, const QColor& face);
    // Draws the image of `state` into `target`; a disabled button and an empty picture
    // draw nothing.
    void Draw(QPainter& painter, const QRect& target, TButtonState state, bool transparent,
              const QColor& face);

    // Images built since creation; lets tests see that painting reuses them.
    int BuildCount() const { return buildCount_; }
    QSize BuiltSize() const { return list_ ? list_->Size() : QSize(); }

    // Called after any change that alters the look.
    std::function<void()> OnChange;

private:
    int slotFor(QSize size, TButtonState state, bool transparent, const QColor& face);
    void changed();

    QImage glyph_;
    int numGlyphs_ = 1;
    QColor transparentColor_ = QColor(0x80, 0x80, 0x00); // olive
    bool checked_ = false;
    QColor selColor_ = Qt::white;
    TGlyphList* list_ = nullptr;
    int slots_[2] = {-1, -1}; // up, pressed
    int buildCount_ = 0;
};
