#pragma once
// A view of the pixels of a 32-bit picture (QImage::Format_RGB32): the algorithms only see
// a pointer, a row stride, a width and a height.

#include "raster/rect.h"

#include <QImage>
#include <cstddef>
#include <cstdint>

namespace raster {

struct PixelView {
    std::uint32_t* bits = nullptr;
    std::ptrdiff_t stride = 0; // in pixels, not bytes
    int width = 0;
    int height = 0;

    // Writing through the view detaches a shared picture first (QImage::bits).
    static PixelView of(QImage& picture) {
        if (picture.isNull() || picture.depth() != 32)
            return {};
        return {reinterpret_cast<std::uint32_t*>(picture.bits()), picture.bytesPerLine() / 4,
                picture.width(), picture.height()};
    }
    bool isNull() const { return bits == nullptr || width <= 0 || height <= 0; }
    Rect bounds() const { return {0, 0, width, height}; }
    std::uint32_t* row(int y) const { return bits + stride * y; }
};

} // namespace raster
