#include "raster/mix.h"

namespace raster {

void fillLongSpan(std::uint32_t* pixel, int count, MixMasks masks) {
    if (count < 8) {
        // Skip the vector loops' set-up for short spans.
        for (int i = 0; i < count; ++i)
            pixel[i] = (pixel[i] & masks.andMask) ^ masks.xorMask;
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
