// Every primitive ends in fillSpan: each span length (the short ones have paths of their
// own) with each mix must change exactly its pixels, each once.
#include "raster/mix.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace raster;

TEST(FillSpan, EveryLengthAndMixChangesExactlyItsPixelsOnce) {
    std::mt19937 random(7);
    const COLORREF colour = 0x2040C0;
    const Mix mixes[] = {Mix::Black, Mix::Copy, Mix::Mask, Mix::Not, Mix::White};
    constexpr int kGuard = 8;
    for (Mix mix : mixes) {
        const MixMasks masks = masksFor(mix, colour);
        for (int count = 1; count <= 40; ++count) {
            for (int offset = 0; offset < 4; ++offset) {
                std::vector<std::uint32_t> row(size_t(2 * kGuard + offset + count));
                for (std::uint32_t& pixel : row)
                    pixel = 0xFF000000u | (std::uint32_t(random()) & 0xFFFFFF);
                std::vector<std::uint32_t> expected = row;
                for (int i = 0; i < count; ++i) {
                    std::uint32_t& pixel = expected[size_t(kGuard + offset + i)];
                    pixel = (pixel & masks.andMask) ^ masks.xorMask;
                }
                fillSpan(row.data(), kGuard + offset, kGuard + offset + count, masks);
                ASSERT_EQ(row, expected) << "mix " << int(mix) << ", " << count << " pixels";
            }
        }
    }
}
