#pragma once
// Exact integer helpers for scan conversion. Products of two coordinates can exceed 64 bits,
// so they are formed in 128 bits.

#include <cstdint>

namespace raster {

using Int128 = __int128;

// floor(num / den) and ceil(num / den) for den > 0, in 64 or 128 bits.
template <typename Int> constexpr Int floorDiv(Int num, Int den) {
    Int q = num / den;
    return (num % den != 0 && num < 0) ? q - 1 : q;
}
template <typename Int> constexpr Int ceilDiv(Int num, Int den) {
    Int q = num / den;
    return (num % den != 0 && num > 0) ? q + 1 : q;
}

} // namespace raster
