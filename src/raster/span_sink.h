#pragma once
// Where scan conversion ends. Every scan converter hands its spans to a SpanSink through
// SpanSink::draw, which gives it the writer that fits:
// - a sink reset with a box only collects: it clips the spans and merges them per row, so
//   a figure whose spans overlap (round caps, joins, self-crossing polylines) covers each
//   pixel at most once; fill() then writes them;
// - a sink reset with a picture writes each span as it arrives, for figures whose spans
//   never overlap (one segment, a rectangle, an ellipse), through a SpanWriter.

#include "raster/mix.h"
#include "raster/pixel_view.h"
#include "raster/rect.h"

#include <QImage>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace raster {

struct Span {
    int y;
    int x0;
    int x1; // exclusive
    bool operator==(const Span&) const = default;
};

// Cuts pixels x0 <= x < x1 of row y to `clip`; false when nothing is left. Wide integers, so
// callers may pass unclamped values.
[[gnu::always_inline]] inline bool clipSpan(const Rect& clip, std::int64_t y, std::int64_t& x0,
                                            std::int64_t& x1) {
    if (y < clip.top || y >= clip.bottom)
        return false;
    x0 = x0 < clip.left ? clip.left : x0;
    x1 = x1 > clip.right ? clip.right : x1;
    return x0 < x1;
}

// Writes spans into a picture with a pair of masks. Made for one figure's loop, whose local
// it is: the pixels, the masks, the clip and the box written stay in registers (pixel
// stores cannot alias them), and add() inlines into the loop, where a call per span would
// cost as much as writing a thin span.
//
// `Clipped` false is for a figure that lies inside the picture: add() then has no test at
// all (its spans must not be empty) and the box written is the figure's own, told once.
template <bool Clipped> class SpanWriter {
public:
    // A view that is null takes nothing; `clip` must lie inside the view.
    SpanWriter(const PixelView& view, MixMasks masks, const Rect& clip)
        : bits_(view.bits), stride_(view.stride), masks_(masks),
          clip_(view.isNull() ? Rect{} : clip) {}
    // Into `picture` (32 bits deep, holding `clip`), whose pixels are asked for when the
    // first span reaches the clip: a shared picture is only detached when written to.
    SpanWriter(QImage& picture, MixMasks masks, const Rect& clip) requires Clipped
        : bits_(nullptr),
          stride_(0),
          masks_(masks),
          clip_(clip),
          picture_(&picture) {}

    [[gnu::always_inline]] void add(std::int64_t y, std::int64_t x0, std::int64_t x1) {
        if constexpr (Clipped) {
            if (!clipSpan(clip_, y, x0, x1))
                return;
            left_ = left_ < x0 ? left_ : x0;
            right_ = right_ > x1 ? right_ : x1;
            top_ = top_ < y ? top_ : y;
            bottom_ = bottom_ > y ? bottom_ : y;
            if (!bits_)
                takePixels();
        }
        fillSpan(bits_ + stride_ * y, int(x0), int(x1), masks_);
    }

    // The box of the spans written (empty when none); an unclipped writer leaves it to the
    // figure.
    Rect written() const {
        if (!Clipped || left_ >= right_)
            return {};
        return {int(left_), int(top_), int(right_), int(bottom_) + 1};
    }

private:
    // Only reached through the picture's constructor: a writer made with a view has its
    // pixels or an empty clip.
    void takePixels() {
        const PixelView view = picture_ ? PixelView::of(*picture_) : PixelView{};
        bits_ = view.bits, stride_ = view.stride;
    }

    std::uint32_t* bits_;
    std::ptrdiff_t stride_;
    MixMasks masks_;
    Rect clip_;
    QImage* picture_ = nullptr;
    // Bottom inclusive while writing.
    std::int64_t left_ = INT64_MAX, top_ = INT64_MAX, right_ = INT64_MIN, bottom_ = INT64_MIN;
};

class SpanSink {
public:
    explicit SpanSink(Rect clip = {}) : clip_(clip) {}

    // Empties the sink and sets the box spans are clipped to; keeps the memory.
    void reset(Rect clip);
    // Writes spans straight into `picture` with `masks` from now on, clipped to `clip`
    // (which must lie inside the picture), until finish(). The figure drawn must not cover
    // a pixel twice. The picture's pixels are only asked for once a figure reaches the clip.
    void resetDirect(Rect clip, QImage& picture, MixMasks masks);
    // Ends direct writing and returns the box written since resetDirect (empty if none).
    Rect finish();
    const Rect& clip() const { return clip_; }

    // Runs trace(out), where `out` takes the figure's spans with out.add(y, x0, x1) (pixels
    // x0 <= x < x1 of row y, any 64-bit values): the sink itself when it collects, else a
    // SpanWriter into the picture.
    //
    // `exactBox`, when given, is the box the spans cover exactly, reaching each of its sides
    // (a rectangle's box grown by half its pen, a thin ellipse's box, a thin line's from its
    // first pixel to its last). A figure whose box lies inside the clip is written with no
    // test per span, and then must not emit an empty span.
    template <typename Trace> void draw(const std::optional<Rect>& exactBox, Trace trace) {
        if (!picture_) {
            trace(*this);
            return;
        }
        if (exactBox && !exactBox->isEmpty() && exactBox->intersected(clip_) == *exactBox) {
            SpanWriter<false> out(PixelView::of(*picture_), masks_, clip_);
            trace(out);
            written_ = written_.united(*exactBox);
            return;
        }
        SpanWriter<true> out(*picture_, masks_, clip_);
        trace(out);
        written_ = written_.united(out.written());
    }
    template <typename Trace> void draw(Trace trace) { draw(std::nullopt, trace); }

    // Collects pixels x0 <= x < x1 of row y, clipped (a sink that writes directly takes
    // its spans through draw()).
    void add(std::int64_t y, std::int64_t x0, std::int64_t x1) {
        if (clipSpan(clip_, y, x0, x1))
            append({int(y), int(x0), int(x1)});
    }

    // The spans collected, sorted by row and x, disjoint and not touching within a row.
    const std::vector<Span>& merged();
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

    Rect clip_;
    std::vector<Span> spans_;
    bool merged_ = true;

    // Direct writing: the picture (null when collecting), the masks and the box written.
    QImage* picture_ = nullptr;
    MixMasks masks_{};
    Rect written_;
};

} // namespace raster
