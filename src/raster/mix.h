#pragma once
// Pen mixes and the one place pixels are written. Every mix is reduced once to a pair of
// masks, D = (D & andMask) ^ xorMask, and every primitive ends in fillSpan.

#include "raster/colorref.h"
#include "raster/pixel_view.h"

#include <cstdint>

namespace raster {

enum class Mix : std::uint8_t {
    Black, // R2_BLACK: every pixel black (what a fresh drawing state holds)
    Copy,  // R2_COPYPEN: the pen colour
    Mask,  // R2_MASKPEN: pixel AND colour, per channel
    Not,   // R2_NOT: the inverse of the pixel; drawn twice it restores the pixel
    White, // R2_WHITE
};

struct MixMasks {
    std::uint32_t andMask;
    std::uint32_t xorMask;
    bool operator==(const MixMasks&) const = default;
};

// The masks of a mix with a colour. Pictures are Format_RGB32, whose alpha byte must stay
// 0xFF, so the xor masks never touch it (invert flips the 24 colour bits only).
constexpr MixMasks masksFor(Mix mix, COLORREF colour) {
    switch (mix) {
    case Mix::Black:
        return {0, 0xFF000000u};
    case Mix::Copy:
        return {0, pixelOf(colour)};
    case Mix::Mask:
        return {pixelOf(colour), 0};
    case Mix::Not:
        return {0xFFFFFFFFu, 0x00FFFFFFu};
    case Mix::White:
        return {0, 0xFFFFFFFFu};
    }
    return {0xFFFFFFFFu, 0};
}

// Applies the masks to `count` pixels from `pixel` on, count > 2.
void fillLongSpan(std::uint32_t* pixel, int count, MixMasks masks);

// Applies the masks to pixels x0 <= x < x1 of a row, x0 < x1. The caller has clipped the span.
// Thin figures write one or two pixels a row: that case is always inlined, with no loop.
[[gnu::always_inline]] inline void fillSpan(std::uint32_t* row, int x0, int x1, MixMasks masks) {
    std::uint32_t* pixel = row + x0;
    const int count = x1 - x0;
    if (count > 2) {
        fillLongSpan(pixel, count, masks);
        return;
    }
    pixel[0] = (pixel[0] & masks.andMask) ^ masks.xorMask;
    if (count == 2)
        pixel[1] = (pixel[1] & masks.andMask) ^ masks.xorMask;
}

inline void fillSpan(const PixelView& view, int y, int x0, int x1, MixMasks masks) {
    fillSpan(view.row(y), x0, x1, masks);
}

} // namespace raster
