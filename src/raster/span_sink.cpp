#include "raster/span_sink.h"

#include <algorithm>

namespace raster {

void SpanSink::reset(Rect clip) {
    clip_ = clip;
    spans_.clear();
    merged_ = true;
    picture_ = nullptr;
}

void SpanSink::resetDirect(Rect clip, QImage& picture, MixMasks masks) {
    // Only 32-bit pictures are written; any other takes nothing.
    reset(picture.isNull() || picture.depth() != 32 ? Rect{} : clip);
    picture_ = &picture;
    masks_ = masks;
    written_ = {};
}

Rect SpanSink::finish() {
    if (!picture_)
        return {};
    picture_ = nullptr;
    return written_;
}

const std::vector<Span>& SpanSink::merged() {
    if (merged_)
        return spans_;
    auto before = [](const Span& a, const Span& b) {
        return a.y != b.y ? a.y < b.y : a.x0 < b.x0;
    };
    // Lines traced upwards arrive in falling order; turning them round is cheaper than sorting.
    if (std::is_sorted(spans_.rbegin(), spans_.rend(), before))
        std::reverse(spans_.begin(), spans_.end());
    else
        std::sort(spans_.begin(), spans_.end(), before);
    size_t out = 0;
    for (size_t i = 1; i < spans_.size(); ++i) {
        Span& last = spans_[out];
        const Span& next = spans_[i];
        if (next.y == last.y && next.x0 <= last.x1)
            last.x1 = std::max(last.x1, next.x1);
        else
            spans_[++out] = next;
    }
    spans_.resize(spans_.empty() ? 0 : out + 1);
    merged_ = true;
    return spans_;
}

Rect SpanSink::fill(const PixelView& view, MixMasks masks) {
    if (spans_.empty())
        return {};
    // The sink's clip is normally the picture already; keep inside the picture regardless.
    SpanWriter<true> out(view, masks, clip_.intersected(view.bounds()));
    for (const Span& span : merged())
        out.add(span.y, span.x0, span.x1);
    return out.written();
}

} // namespace raster
