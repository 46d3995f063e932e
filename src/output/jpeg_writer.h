#pragma once
// JPEG (JFIF) through libjpeg: quality 99, three colour components, sequential baseline,
// every other setting at the library's defaults.

#include "output/byte_sink.h"

#include <QImage>

constexpr int kJpegQuality = 99;

Outcome writeJpeg(const QImage& picture, ByteSink& sink);
