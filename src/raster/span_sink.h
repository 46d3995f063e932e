#pragma once
// Where scan conversion ends: figures emit horizontal spans, the sink clips them to its box
// and merges them per row, so that a figure covers each pixel at most once whatever its
// overlaps (round caps, joins, self-crossing polylines). Only then are pixels written.
//
// Figures whose spans never overlap (one segment, a rectangle, an ellipse) need none of
// that: a sink reset with a picture writes each span as it arrives.

#include "raster/mix.h"
#include "raster/pixel_view.h"
#include "raster/rect.h"

#include <QImage>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace raster {

struct Span {
    int y;
    int x0;
    int x1; // exclusive
    bool operator==(const Span&) const = default;
};

class SpanSink {
public:
    explicit SpanSink(Rect clip = {}) : clip_(clip) {}

    // Empties the sink and sets the box spans are clipped to; keeps the memory.
    void reset(Rect clip);
    // Writes spans straight into `picture` with `masks` from now on, clipped to `clip`
    // (which must lie inside the picture), until finish(). The figure drawn must not cover
    // a pixel twice. The picture's pixels are only asked for once something is written.
    void resetDirect(Rect clip, QImage& picture, MixMasks masks);
    // Ends direct writing and returns the box written since resetDirect (empty if none).
    Rect finish();
    bool writesDirectly() const { return picture_ != nullptr; }
    const Rect& clip() const { return clip_; }

    // Pixels x0 <= x < x1 of row y. Wide integers, so callers may pass unclamped values.
    void add(std::int64_t y, std::int64_t x0, std::int64_t x1) {
        if (y < clip_.top || y >= clip_.bottom)
            return;
        x0 = x0 < clip_.left ? clip_.left : x0;
        x1 = x1 > clip_.right ? clip_.right : x1;
        if (x0 >= x1)
            return;
        if (picture_)
            write({int(y), int(x0), int(x1)});
        else
            append({int(y), int(x0), int(x1)});
    }

    // The spans sorted by row and x, disjoint and not touching within a row.
    const std::vector<Span>& merged();
    // The box of all merged spans (empty when there are none).
    Rect bounds();
    bool empty() const { return spans_.empty(); }

    // Writes every merged span with the masks and returns the box written.
    Rect fill(const PixelView& view, MixMasks masks);

private:
    void append(Span span) {
        if (!spans_.empty()) {
            Span& last = spans_.back();
            // Runs of one row arrive pixel by pixel from line tracing; join them on the spot.
            if (last.y == span.y && span.x0 <= last.x1 && span.x1 >= last.x0) {
                // Grown to the left it may reach the row's previous span: merge them later.
                if (span.x0 < last.x0 && spans_.size() > 1) {
                    const Span& previous = spans_[spans_.size() - 2];
                    if (previous.y == span.y && span.x0 <= previous.x1)
                        merged_ = false;
                }
                last.x0 = last.x0 < span.x0 ? last.x0 : span.x0;
                last.x1 = last.x1 > span.x1 ? last.x1 : span.x1;
                return;
            }
            if (last.y > span.y || (last.y == span.y && last.x0 > span.x0))
                merged_ = false;
        }
        spans_.push_back(span);
    }

    void write(Span span) {
        if (!view_.bits)
            takePixels();
        fillSpan(view_.bits + view_.stride * span.y, span.x0, span.x1, masks_);
        // 64-bit bounds: pixel stores cannot alias them, so they stay in registers.
        left_ = left_ < span.x0 ? left_ : span.x0;
        right_ = right_ > span.x1 ? right_ : span.x1;
        top_ = top_ < span.y ? top_ : span.y;
        bottom_ = bottom_ > span.y ? bottom_ : span.y;
    }
    void takePixels();
    friend class DirectWriter;
    friend class UnclippedWriter;

    Rect clip_;
    std::vector<Span> spans_;
    bool merged_ = true;

    // Direct writing: the picture (null when collecting), its pixels once asked for, and
    // the box written (bottom inclusive here).
    QImage* picture_ = nullptr;
    PixelView view_;
    MixMasks masks_{};
    std::int64_t left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
};

// A figure's own loop writing into a direct sink: clip, pixels and the box written held in
// locals rather than behind the sink, for one-pixel figures whose spans are mostly a pixel
// or two long. Gives the box back to the sink at the end.
class DirectWriter {
public:
    explicit DirectWriter(SpanSink& sink)
        : sink_(sink), left_(sink.clip_.left), top_(sink.clip_.top), right_(sink.clip_.right),
          bottom_(sink.clip_.bottom), masks_(sink.masks_), bits_(sink.view_.bits),
          stride_(sink.view_.stride) {}
    ~DirectWriter() {
        sink_.left_ = std::min(sink_.left_, boxLeft_),
        sink_.right_ = std::max(sink_.right_, boxRight_);
        sink_.top_ = std::min(sink_.top_, boxTop_),
        sink_.bottom_ = std::max(sink_.bottom_, boxBottom_);
    }
    DirectWriter(const DirectWriter&) = delete;
    DirectWriter& operator=(const DirectWriter&) = delete;

    // The same as SpanSink::add, inlined into the row loops: a call per span would cost as
    // much as writing the span.
    [[gnu::always_inline]] void add(std::int64_t y, std::int64_t x0, std::int64_t x1) {
        if (y < top_ || y >= bottom_)
            return;
        x0 = x0 < left_ ? left_ : x0;
        x1 = x1 > right_ ? right_ : x1;
        if (x0 >= x1)
            return;
        if (!bits_)
            takePixels();
        fillSpan(bits_ + stride_ * y, int(x0), int(x1), masks_);
        boxLeft_ = boxLeft_ < x0 ? boxLeft_ : x0;
        boxRight_ = boxRight_ > x1 ? boxRight_ : x1;
        boxTop_ = boxTop_ < y ? boxTop_ : y;
        boxBottom_ = boxBottom_ > y ? boxBottom_ : y;
    }

private:
    void takePixels() {
        if (!sink_.view_.bits)
            sink_.takePixels();
        bits_ = sink_.view_.bits, stride_ = sink_.view_.stride;
    }

    SpanSink& sink_;
    std::int64_t left_, top_, right_, bottom_;
    MixMasks masks_;
    std::uint32_t* bits_; // null until the first pixel is written
    std::ptrdiff_t stride_;
    std::int64_t boxLeft_ = INT64_MAX, boxTop_ = INT64_MAX, boxRight_ = INT64_MIN,
                 boxBottom_ = INT64_MIN;
};

// For a figure that knows all its spans lie inside the clip, are never empty and cover
// `box` exactly: writes them with no test at all and tells the sink the box once.
class UnclippedWriter {
public:
    UnclippedWriter(SpanSink& sink, const Rect& box) : masks_(sink.masks_) {
        if (!sink.view_.bits)
            sink.takePixels();
        bits_ = sink.view_.bits, stride_ = sink.view_.stride;
        sink.left_ = std::min<std::int64_t>(sink.left_, box.left);
        sink.top_ = std::min<std::int64_t>(sink.top_, box.top);
        sink.right_ = std::max<std::int64_t>(sink.right_, box.right);
        sink.bottom_ = std::max<std::int64_t>(sink.bottom_, std::int64_t(box.bottom) - 1);
    }
    [[gnu::always_inline]] void add(std::int64_t y, std::int64_t x0, std::int64_t x1) {
        fillSpan(bits_ + stride_ * y, int(x0), int(x1), masks_);
    }
    // Pixel by pixel, for lines: offsets from the first pixel of the picture.
    std::ptrdiff_t offsetOf(std::int64_t x, std::int64_t y) const { return stride_ * y + x; }
    std::ptrdiff_t stride() const { return stride_; }
    [[gnu::always_inline]] void apply(std::ptrdiff_t offset) const {
        std::uint32_t& pixel = bits_[offset];
        pixel = (pixel & masks_.andMask) ^ masks_.xorMask;
    }

private:
    MixMasks masks_;
    std::uint32_t* bits_;
    std::ptrdiff_t stride_;
};

} // namespace raster
