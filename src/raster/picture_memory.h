#pragma once
// Memory for large pictures. A 4K picture's rows lie 15 KB apart, so a figure crossing many
// rows touches a new 4 KB page on every row; with 2 MB pages the whole picture fits in the
// processor's address cache and a tall outline no longer waits on a page walk per row.

#include <QImage>
#include <QSize>

namespace raster {

// A picture of `size` and `format` whose pixels lie in memory that the system may back with
// large pages (where it offers them). Null when the memory cannot be had. The pixels are
// not initialised.
QImage allocatePicture(QSize size, QImage::Format format);

} // namespace raster
