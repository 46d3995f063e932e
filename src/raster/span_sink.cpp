#include "raster/span_sink.h"

#include <algorithm>

namespace raster {

void SpanSink::reset(Rect clip) {
    clip_ = clip;
    spans_.clear();
    merged_ = true;
}

void SpanSink::add(std::int64_t y, std::int64_t x0, std::int64_t x1) {
    if (y < clip_.top || y >= clip_.bottom)
        return;
    x0 = std::max<std::int64_t>(x0, clip_.left);
    x1 = std::min<std::int64_t>(x1, clip_.right);
    if (x0 >= x1)
        return;
    Span span{int(y), int(x0), int(x1)};
    if (!spans_.empty()) {
        Span& last = spans_.back();
        // Runs of one row arrive pixel by pixel from line tracing; join them on the spot.
        if (last.y == span.y && span.x0 <= last.x1 && span.x1 >= last.x0) {
            last.x0 = std::min(last.x0, span.x0);
            last.x1 = std::max(last.x1, span.x1);
            return;
        }
        if (last.y > span.y || (last.y == span.y && last.x0 > span.x0))
            merged_ = false;
    }
    spans_.push_back(span);
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
    if (view.isNull())
        return {};
    const Rect inside = view.bounds();
    const auto& spans = merged();
    Rect box;
    for (const Span& span : spans) {
        // The sink's clip is normally the picture; stay inside it whatever it was set to.
        if (span.y < 0 || span.y >= inside.bottom)
            continue;
        const int x0 = std::max(span.x0, 0), x1 = std::min(span.x1, inside.right);
        if (x0 >= x1)
            continue;
        fillSpan(view, span.y, x0, x1, masks);
        box = box.united({x0, span.y, x1, span.y + 1});
    }
    return box;
}

} // namespace raster
