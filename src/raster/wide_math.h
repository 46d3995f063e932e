#pragma once
// Exact integer helpers for scan conversion. Products of two coordinates can exceed 64 bits,
// so they are formed in 128 bits.

#include <cstdint>

namespace raster {

using Int128 = __int128;

// floor(num / den) and ceil(num / den) for den > 0.
constexpr Int128 floorDiv(Int128 num, Int128 den) {
    Int128 q = num / den;
    return (num % den != 0 && num < 0) ? q - 1 : q;
}
constexpr Int128 ceilDiv(Int128 num, Int128 den) {
    Int128 q = num / den;
    return (num % den != 0 && num > 0) ? q + 1 : q;
}

} // namespace raster
