#pragma once
// PNG through libpng: not interlaced, Sub filter on every row, zlib level 5 with the
// strategy libpng uses for filtered rows, image data in IDAT chunks of at most 65535 bytes.
// Pictures of 16 bits per pixel or more become 8-bit RGB without alpha (colour type 2); lower
// depths a palette image of their own depth.
//
// libpng writes the file (signature, IHDR, PLTE, IDAT, IEND, all CRCs); the compressed
// image data is made beforehand on all cores (output/parallel_deflate.h) and handed to it
// chunk by chunk.

#include "output/byte_sink.h"

#include <QImage>

struct PngSettings {
    int level = 5;
    int threads = 0; // 0: one per core
};

constexpr size_t kMaxIdatBytes = 65535;

Outcome writePng(const QImage& picture, ByteSink& sink, const PngSettings& settings = {});
