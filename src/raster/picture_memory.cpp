#include "raster/picture_memory.h"

#include <cstdlib>
#include <limits>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace raster {

namespace {

constexpr qsizetype kLargePage = qsizetype(2) << 20;
// Below this the picture's rows share few pages anyway, and rounding up would waste memory.
constexpr qsizetype kWorthLargePages = 4 * kLargePage;

void releasePixels(void* pixels) {
    std::free(pixels);
}

} // namespace

QImage allocatePicture(QSize size, QImage::Format format) {
    if (size.isEmpty() || format == QImage::Format_Invalid)
        return {};
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (depth % 8 != 0)
        return QImage(size, format); // packed formats keep QImage's own row alignment
    // Rows padded to 4 bytes, as QImage lays them out.
    const qsizetype rowBytes = ((qsizetype(size.width()) * depth / 8) + 3) & ~qsizetype(3);
    if (rowBytes > std::numeric_limits<int>::max() ||
        rowBytes > std::numeric_limits<qsizetype>::max() / size.height())
        return {};
    const qsizetype bytes = rowBytes * size.height();
    if (bytes < kWorthLargePages)
        return QImage(size, format);
    const qsizetype rounded = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    void* pixels = std::aligned_alloc(size_t(kLargePage), size_t(rounded));
    if (!pixels)
        return {};
#if defined(MADV_HUGEPAGE)
    madvise(pixels, size_t(rounded), MADV_HUGEPAGE); // a hint: refusal only costs speed
#endif
    QImage picture(static_cast<uchar*>(pixels), size.width(), size.height(), rowBytes, format,
                   releasePixels, pixels);
    if (picture.isNull())
        std::free(pixels);
    return picture;
}

} // namespace raster
