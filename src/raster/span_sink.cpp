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
    view_ = {};
    masks_ = masks;
    left_ = top_ = INT64_MAX;
    right_ = bottom_ = INT64_MIN;
}

void SpanSink::takePixels() {
    view_ = PixelView::of(*picture_); // detaches a shared picture only when written to
}

Rect SpanSink::finish() {
    if (!picture_)
        return {};
    picture_ = nullptr;
    if (left_ >= right_)
        return {};
    return {int(left_), int(top_), int(right_), int(bottom_) + 1};
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

Rect SpanSink::bounds() {
    const auto& spans = merged();
    if (spans.empty())
        return {};
    Rect box{spans.front().x0, spans.front().y, spans.front().x1, spans.back().y + 1};
    for (const Span& span : spans) {
        box.left = std::min(box.left, span.x0);
        box.right = std::max(box.right, span.x1);
    }
    return box;
}

Rect SpanSink::fill(const PixelView& view, MixMasks masks) {
    if (view.isNull() || spans_.empty())
        return {};
    const std::vector<Span>& spans = merged();
    // The sink's clip is normally the picture already; keep inside the picture regardless.
    const Rect inside = clip_.intersected(view.bounds());
    if (!(inside == clip_)) {
        Rect box;
        for (const Span& span : spans) {
            if (span.y < inside.top || span.y >= inside.bottom)
                continue;
            const int x0 = std::max(span.x0, inside.left), x1 = std::min(span.x1, inside.right);
            if (x0 < x1) {
                fillSpan(view, span.y, x0, x1, masks);
                box = box.united({x0, span.y, x1, span.y + 1});
            }
        }
        return box;
    }
    std::uint32_t* const bits = view.bits;
    const std::ptrdiff_t stride = view.stride;
    int left = INT32_MAX, right = INT32_MIN;
    for (const Span& span : spans) {
        fillSpan(bits + stride * span.y, span.x0, span.x1, masks);
        left = std::min(left, span.x0), right = std::max(right, span.x1);
    }
    return {left, spans.front().y, right, spans.back().y + 1};
}

} // namespace raster
