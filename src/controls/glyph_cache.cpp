#include "controls/glyph_cache.h"

#include "controls/property_change.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr int kMaxFrames = 4;
constexpr QRgb kColourBits = 0xFFFFFF; // a pixel without its alpha byte
constexpr float kCheckedBlend = 0.25f;

std::unique_ptr<TGlyphCache>& cacheHolder() {
    static std::unique_ptr<TGlyphCache> cache;
    return cache;
}

} // namespace

int TGlyphList::Add(const QPixmap& image) {
    auto freeSlot = std::find(used_.begin(), used_.end(), false);
    int slot = int(freeSlot - used_.begin());
    if (freeSlot == used_.end()) {
        images_.push_back(image);
        used_.push_back(true);
    } else {
        images_[slot] = image;
        *freeSlot = true;
    }
    ++count_;
    return slot;
}

void TGlyphList::Delete(int slot) {
    if (slot < 0 || slot >= int(used_.size()) || !used_[slot])
        return;
    used_[slot] = false;
    images_[slot] = QPixmap();
    --count_;
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
    if (cacheHolder() && cacheHolder()->lists_.empty())
        cacheHolder().reset();
}

TGlyphList* TGlyphCache::GetList(QSize size) {
    for (auto it = lists_.rbegin(); it != lists_.rend(); ++it)
        if ((*it)->Size() == size)
            return it->get();
    lists_.push_back(std::make_unique<TGlyphList>(size));
    return lists_.back().get();
}

void TGlyphCache::ReturnList(TGlyphList* list) {
    if (!list || list->Count() > 0)
        return;
    std::erase_if(lists_, [list](const auto& held) { return held.get() == list; });
}

TButtonGlyph::~TButtonGlyph() {
    Invalidate();
    TGlyphCache::ReleaseIfEmpty();
}

void TButtonGlyph::setGlyph(const QImage& glyph) {
    Invalidate();
    glyph_ = glyph;
    if (glyph.height() > 0)
        transparentColor_ = QColor::fromRgb(glyph.pixel(0, glyph.height() - 1));
    changed();
}

void TButtonGlyph::setNumGlyphs(int count) {
    if (count <= 0)
        return;
    count = std::min(count, kMaxFrames);
    if (!changeProperty(numGlyphs_, count))
        return;
    Invalidate();
    changed();
}

void TButtonGlyph::setChecked(bool checked) {
    if (changeProperty(checked_, checked))
        changed();
}

void TButtonGlyph::setSelColor(const QColor& colour) {
    if (changeProperty(selColor_, colour))
        changed();
}

void TButtonGlyph::Invalidate() {
    if (!list_)
        return;
    for (int& slot : slots_) {
        list_->Delete(slot);
        slot = -1;
    }
    if (TGlyphCache* cache = TGlyphCache::Existing())
        cache->ReturnList(list_);
    list_ = nullptr;
}

void TButtonGlyph::changed() {
    if (OnChange)
        OnChange();
}

int TButtonGlyph::slotFor(QSize size, TButtonState state, bool transparent, const QColor& face) {
    // The pressed state has a frame of its own only from three frames on.
    const bool pressedFrame = state == TButtonState::bsDown && numGlyphs_ >= 3;
    int& slot = slots_[pressedFrame ? 1 : 0];
    if (list_ && list_->Size() != size)
        Invalidate(); // a target of another size than the built images: build anew
    if (slot >= 0)
        return slot;

    const int frameWidth = glyph_.width() / numGlyphs_;
    QImage frame = glyph_.copy((pressedFrame ? 2 : 0) * frameWidth, 0, frameWidth, glyph_.height())
                       .convertToFormat(QImage::Format_RGB32);
    if (transparent) {
        const QRgb key = transparentColor_.rgb() & kColourBits, fill = face.rgb();
        for (int y = 0; y < frame.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(frame.scanLine(y));
            for (int x = 0; x < frame.width(); ++x)
                if ((row[x] & kColourBits) == key)
                    row[x] = fill;
        }
    }
    // Stretched pixel for pixel, without smoothing, as the small 16-colour pictures want.
    QPixmap image =
        QPixmap::fromImage(frame.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    if (!list_)
        list_ = TGlyphCache::Instance().GetList(size);
    slot = list_->Add(image);
    ++buildCount_;
    return slot;
}

void TButtonGlyph::Prepare(QSize size, TButtonState state, bool transparent, const QColor& face) {
    if (glyph_.isNull() || state == TButtonState::bsDisabled || size.isEmpty() ||
        glyph_.width() < numGlyphs_)
        return;
    slotFor(size, state, transparent, face);
}

void TButtonGlyph::Draw(QPainter& painter, const QRect& target, TButtonState state,
                        bool transparent, const QColor& face) {
    if (glyph_.isNull() || state == TButtonState::bsDisabled || target.isEmpty() ||
        glyph_.width() < numGlyphs_)
        return;
    const int slot = slotFor(target.size(), state, transparent, face);
    painter.drawPixmap(target.topLeft(), list_->Image(slot));
    if (checked_) {
        QColor blend = selColor_;
        blend.setAlphaF(kCheckedBlend);
        painter.fillRect(target, blend);
    }
}
