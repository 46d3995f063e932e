#include "raster/mix.h"

#include <cstring>

namespace raster {

namespace {

// Four pixels at a time, loaded and stored unaligned.
using Pixels4 = std::uint32_t __attribute__((vector_size(16)));
using Pixels2 = std::uint64_t;

template <typename Block> Block load(const std::uint32_t* pixel) {
    Block block;
    std::memcpy(&block, pixel, sizeof block);
    return block;
}

template <typename Block> void store(std::uint32_t* pixel, Block block) {
    std::memcpy(pixel, &block, sizeof block);
}

// A span of n to 2n pixels as two blocks of n, one from each end, which overlap in the
// middle. Both are read before either is written, so the overlap gets the same value twice
// and every mix stays exact (inverting an overlapping pixel twice would not).
template <typename Block>
void fillFromBothEnds(std::uint32_t* pixel, int count, Block andMask, Block xorMask) {
    constexpr int n = int(sizeof(Block) / 4);
    const Block head = load<Block>(pixel), tail = load<Block>(pixel + count - n);
    store(pixel, Block((head & andMask) ^ xorMask));
    store(pixel + count - n, Block((tail & andMask) ^ xorMask));
}

} // namespace

void fillLongSpan(std::uint32_t* pixel, int count, MixMasks masks) {
    // The short spans of thin curves (3 to 8 pixels on the flat parts of an ellipse) come
    // in great numbers and with every length: no loop, no branch on the length per pixel.
    if (count <= 4) {
        const Pixels2 andMask = masks.andMask * 0x100000001ull;
        const Pixels2 xorMask = masks.xorMask * 0x100000001ull;
        fillFromBothEnds<Pixels2>(pixel, count, andMask, xorMask);
        return;
    }
    if (count <= 8) {
        const Pixels4 andMask = {masks.andMask, masks.andMask, masks.andMask, masks.andMask};
        const Pixels4 xorMask = {masks.xorMask, masks.xorMask, masks.xorMask, masks.xorMask};
        fillFromBothEnds<Pixels4>(pixel, count, andMask, xorMask);
        return;
    }
    if (masks.andMask == 0) {
        for (int i = 0; i < count; ++i)
            pixel[i] = masks.xorMask;
    } else if (masks.xorMask == 0) {
        for (int i = 0; i < count; ++i)
            pixel[i] &= masks.andMask;
    } else {
        for (int i = 0; i < count; ++i)
            pixel[i] = (pixel[i] & masks.andMask) ^ masks.xorMask;
    }
}

} // namespace raster
