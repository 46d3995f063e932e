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
    explicit TGlyphList(QSize size) : m_size(size) {}
    QSize Size() const { return m_size; }
    // Takes the lowest free slot, or a new one when none is free.
    int Add(const QPixmap& image);
    void Delete(int slot);
    const QPixmap& Image(int slot) const { return m_images[slot]; }
    int Count() const { return m_count; }

private:
    QSize m_size;
    std::vector<QPixmap> m_images;
    std::vector<bool> m_used;
    int m_count = 0;
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
    int ListCount() const { return int(m_lists.size()); }

private:
    std::vector<std::unique_ptr<TGlyphList>> m_lists;
};

class TButtonGlyph {
public:
    TButtonGlyph() = default;
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    // NumGlyphs frames of equal width side by side. A picture with rows takes its
    // bottom-left pixel as its transparent colour.
    const QImage& Glyph() const { return m_glyph; }
    void setGlyph(const QImage& glyph);
    int NumGlyphs() const { return m_numGlyphs; }
    void setNumGlyphs(int count); // above 4 counts as 4, 0 or less changes nothing
    QColor TransparentColor() const { return m_transparentColor; }
    bool Checked() const { return m_checked; }
    void setChecked(bool checked);
    QColor SelColor() const { return m_selColor; }
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
    int BuildCount() const { return m_buildCount; }
    QSize BuiltSize() const { return m_list ? m_list->Size() : QSize(); }

    // Called after any change that alters the look.
    std::function<void()> OnChange;

private:
    int slotFor(QSize size, TButtonState state, bool transparent, const QColor& face);
    void changed();

    QImage m_glyph;
    int m_numGlyphs = 1;
    QColor m_transparentColor = QColor(0x80, 0x80, 0x00); // olive
    bool m_checked = false;
    QColor m_selColor = Qt::white;
    TGlyphList* m_list = nullptr;
    int m_slots[2] = {-1, -1}; // up, pressed
    int m_buildCount = 0;
};
