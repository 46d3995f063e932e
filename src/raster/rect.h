#pragma once
// Integer boxes with half-open edges: a Rect covers the pixels left <= x < right and
// top <= y < bottom. Right and bottom are exclusive everywhere in the rasterizer.

#include <algorithm>
#include <cstdint>

namespace raster {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0; // exclusive

    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr std::int64_t width() const { return std::int64_t(right) - left; }
    constexpr std::int64_t height() const { return std::int64_t(bottom) - top; }
    constexpr bool contains(int x, int y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    constexpr Rect intersected(const Rect& other) const {
        Rect r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
               std::min(bottom, other.bottom)};
        return r.isEmpty() ? Rect{} : r;
    }
    // The smallest box holding both; an empty box adds nothing.
    constexpr Rect united(const Rect& other) const {
        if (isEmpty())
            return other.isEmpty() ? Rect{} : other;
        if (other.isEmpty())
            return *this;
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
    // Grown by `margin` pixels on every side (saturating at the int range).
    constexpr Rect grown(int margin) const {
        auto clamp = [](std::int64_t v) {
            return int(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
        };
        return {clamp(std::int64_t(left) - margin), clamp(std::int64_t(top) - margin),
                clamp(std::int64_t(right) + margin), clamp(std::int64_t(bottom) + margin)};
    }
    constexpr bool operator==(const Rect&) const = default;
};

} // namespace raster
