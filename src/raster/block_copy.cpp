#include "raster/block_copy.h"

#include "raster/picture_memory.h"

#include <algorithm>
#include <cstring>

namespace raster {

namespace {

bool rawCopyable(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

Rect copyBlock(const PixelView& target, const QImage& source, const Rect& area) {
    if (target.isNull() || source.isNull())
        return {};
    const Rect box =
        area.intersected(target.bounds()).intersected({0, 0, source.width(), source.height()});
    if (box.isEmpty())
        return {};
    const int width = int(box.width());
    if (!rawCopyable(source.format())) {
        const QImage part = source.copy(box.left, box.top, width, int(box.height()))
                                .convertToFormat(QImage::Format_RGB32);
        for (int y = box.top; y < box.bottom; ++y)
            std::memcpy(target.row(y) + box.left, part.constScanLine(y - box.top),
                        size_t(width) * 4);
        return box;
    }
    // Rows that already hold the source's pixels are left alone: the eraser goes over clean
    // areas again and again, and what was not rewritten need not be repainted either.
    int top = box.bottom, bottom = box.top;
    for (int y = box.top; y < box.bottom; ++y) {
        std::uint32_t* to = target.row(y) + box.left;
        const auto* from =
            reinterpret_cast<const std::uint32_t*>(source.constScanLine(y)) + box.left;
        if (std::memcmp(to, from, size_t(width) * 4) == 0)
            continue;
        // memmove: the source may be the target picture itself.
        std::memmove(to, from, size_t(width) * 4);
        top = std::min(top, y);
        bottom = y + 1;
    }
    return top < bottom ? Rect{box.left, top, box.right, bottom} : Rect{};
}

void CopyPicture(const QImage& from, QImage& to) {
    if (&from == &to)
        return;
    if (from.isNull()) {
        to = QImage();
        return;
    }
    const bool reusable = to.size() == from.size() && to.format() == from.format() &&
                          to.bytesPerLine() == from.bytesPerLine() && to.isDetached();
    if (!reusable) {
        // A fresh buffer rather than a detach, which would copy the old pixels first.
        to = allocatePicture(from.size(), from.format());
        if (to.isNull())
            return;
    }
    std::memcpy(to.bits(), from.constBits(), size_t(from.sizeInBytes()));
}

} // namespace raster
