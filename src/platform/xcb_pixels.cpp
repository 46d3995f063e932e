#include "platform/xcb_pixels.h"

#include <bit>
#include <cstring>

namespace {

bool wholeByte(std::uint32_t mask) {
    return mask != 0 && (mask >> std::countr_zero(mask)) == 0xFF;
}

std::uint32_t byteSwapped(std::uint32_t value) {
    return (value >> 24) | ((value >> 8) & 0xFF00) | ((value << 8) & 0xFF0000) | (value << 24);
}

} // namespace

bool ReadableXLayout(const XPixelLayout& layout) {
    if (layout.bitsPerPixel != 32 || (layout.depth != 24 && layout.depth != 32))
        return false;
    if (!wholeByte(layout.redMask) || !wholeByte(layout.greenMask) || !wholeByte(layout.blueMask))
        return false;
    return (layout.redMask & layout.greenMask) == 0 && (layout.redMask & layout.blueMask) == 0 &&
           (layout.greenMask & layout.blueMask) == 0;
}

int XRowBytes(const XPixelLayout& layout, int width) {
    const int pad = layout.scanlinePad > 0 ? layout.scanlinePad : 8;
    const qint64 bits = qint64(width) * layout.bitsPerPixel;
    return int((bits + pad - 1) / pad * pad / 8);
}

QImage ConvertXPixels(const XPixelLayout& layout, const uchar* data, int width, int height) {
    if (!ReadableXLayout(layout) || width <= 0 || height <= 0)
        return {};
    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull())
        return {};
    ConvertXRows(layout, data, picture, 0, height);
    return picture;
}

void ConvertXRows(const XPixelLayout& layout, const uchar* data, QImage& picture, int firstRow,
                  int rows) {
    const int width = picture.width();
    const int rowBytes = XRowBytes(layout, width);
    const bool swap = layout.msbFirst != (std::endian::native == std::endian::big);
    const bool native = !swap && layout.redMask == 0xFF0000 && layout.greenMask == 0xFF00 &&
                        layout.blueMask == 0xFF;
    const int redShift = std::countr_zero(layout.redMask);
    const int greenShift = std::countr_zero(layout.greenMask);
    const int blueShift = std::countr_zero(layout.blueMask);
    for (int row = 0; row < rows; ++row) {
        const uchar* from = data + qint64(row) * rowBytes;
        auto* to = reinterpret_cast<std::uint32_t*>(picture.scanLine(firstRow + row));
        if (native) {
            // The usual case: the server's pixel is already 0x??RRGGBB; only the unused
            // byte needs setting. A plain loop the compiler vectorises.
            if (static_cast<const void*>(to) != from)
                std::memcpy(to, from, size_t(width) * 4);
            for (int x = 0; x < width; ++x)
                to[x] |= 0xFF000000u;
            continue;
        }
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel;
            std::memcpy(&pixel, from + x * 4, 4);
            if (swap)
                pixel = byteSwapped(pixel);
            to[x] = 0xFF000000u | (((pixel >> redShift) & 0xFF) << 16) |
                    (((pixel >> greenShift) & 0xFF) << 8) | ((pixel >> blueShift) & 0xFF);
        }
    }
}
