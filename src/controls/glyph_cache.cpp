#include "controls/glyph_cache.h"

#include <QPainter>
#include <algorithm>

namespace {
std::unique_ptr<TGlyphCache>& cacheHolder() {
    static std::unique_ptr<TGlyphCache> cache;
    return cache;
}
} // namespace

int TGlyphList::Add(const QPixmap& image) {
    auto freeSlot = std::find(m_used.begin(), m_used.end(), false);
    int slot = int(freeSlot - m_used.begin());
    if (freeSlot == m_used.end()) {
        m_images.push_back(image);
        m_used.push_back(true);
    } else {
        m_images[slot] = image;
        *freeSlot = true;
    }
    ++m_count;
    return slot;
}

void TGlyphList::Delete(int slot) {
    if (slot < 0 || slot >= int(m_used.size()) || !m_used[slot])
        return;
    m_used[slot] = false;
    m_images[slot] = QPixmap();
    --m_count;
}

TGlyphCache& TGlyphCache::Instance() {
    if (!cacheHolder())
        cacheHolder() = std::make_unique<TGlyphCache>();
    return *cacheHolder();
}

TGlyphCache* TGlyphCache::Existing() {
    return cacheHolder().get();
}

void TGlyphCache::ReleaseIfEmpty() {
    if (cacheHolder() && cacheHolder()->m_lists.empty())
        cacheHolder().reset();
}

TGlyphList* TGlyphCache::GetList(QSize size) {
    for (auto it = m_lists.rbegin(); it != m_lists.rend(); ++it)
        if ((*it)->Size() == size)
            return it->get();
    m_lists.push_back(std::make_unique<TGlyphList>(size));
    return m_lists.back().get();
}

void TGlyphCache::ReturnList(TGlyphList* list) {
    if (!list || list->Count() > 0)
        return;
    std::erase_if(m_lists, [list](const auto& held) { return held.get() == list; });
}

TButtonGlyph::~TButtonGlyph() {
    Invalidate();
    TGlyphCache::ReleaseIfEmpty();
}

void TButtonGlyph::setGlyph(const QImage& glyph) {
    Invalidate();
    m_glyph = glyph;
    if (glyph.height() > 0)
        m_transparentColor = QColor::fromRgb(glyph.pixel(0, glyph.height() - 1));
    changed();
}

void TButtonGlyph::setNumGlyphs(int count) {
    if (count <= 0)
        return;
    count = std::min(count, 4);
    if (count == m_numGlyphs)
        return;
    Invalidate();
    m_numGlyphs = count;
    changed();
}

void TButtonGlyph::setChecked(bool checked) {
    if (checked == m_checked)
        return;
    m_checked = checked;
    changed();
}

void TButtonGlyph::setSelColor(const QColor& colour) {
    if (colour == m_selColor)
        return;
    m_selColor = colour;
    changed();
}

void TButtonGlyph::Invalidate() {
    if (!m_list)
        return;
    for (int& slot : m_slots) {
        m_list->Delete(slot);
        slot = -1;
    }
    if (TGlyphCache* cache = TGlyphCache::Existing())
        cache->ReturnList(m_list);
    m_list = nullptr;
}

void TButtonGlyph::changed() {
    if (OnChange)
        OnChange();
}

int TButtonGlyph::slotFor(QSize size, TButtonState state, bool transparent, const QColor& face) {
    // The pressed state has a frame of its own only from three frames on.
    const bool pressedFrame = state == TButtonState::bsDown && m_numGlyphs >= 3;
    int& slot = m_slots[pressedFrame ? 1 : 0];
    if (m_list && m_list->Size() != size)
        Invalidate(); // a target of another size than the built images: build anew
    if (slot >= 0)
        return slot;

    const int frameWidth = m_glyph.width() / m_numGlyphs;
    QImage frame =
        m_glyph.copy((pressedFrame ? 2 : 0) * frameWidth, 0, frameWidth, m_glyph.height())
            .convertToFormat(QImage::Format_RGB32);
    if (transparent) {
        const QRgb key = m_transparentColor.rgb() & 0xFFFFFF, fill = face.rgb();
        for (int y = 0; y < frame.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(frame.scanLine(y));
            for (int x = 0; x < frame.width(); ++x)
                if ((row[x] & 0xFFFFFF) == key)
                    row[x] = fill;
        }
    }
    // Stretched pixel for pixel, without smoothing, as the small 16-colour pictures want.
    QPixmap image =
        QPixmap::fromImage(frame.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    if (!m_list)
        m_list = TGlyphCache::Instance().GetList(size);
    slot = m_list->Add(image);
    ++m_buildCount;
    return slot;
}

void TButtonGlyph::Prepare(QSize size, TButtonState state, bool transparent, const QColor& face) {
    if (m_glyph.isNull() || state == TButtonState::bsDisabled || size.isEmpty() ||
        m_glyph.width() < m_numGlyphs)
        return;
    slotFor(size, state, transparent, face);
}

void TButtonGlyph::Draw(QPainter& painter, const QRect& target, TButtonState state,
                        bool transparent, const QColor& face) {
    if (m_glyph.isNull() || state == TButtonState::bsDisabled || target.isEmpty() ||
        m_glyph.width() < m_numGlyphs)
        return;
    const int slot = slotFor(target.size(), state, transparent, face);
    painter.drawPixmap(target.topLeft(), m_list->Image(slot));
    if (m_checked) {
        QColor blend = m_selColor;
        blend.setAlphaF(0.25f);
        painter.fillRect(target, blend);
    }
}
