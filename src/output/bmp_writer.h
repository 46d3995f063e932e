#pragma once
// An uncompressed Windows bitmap file at the picture's own depth: file header, information
// header, colour table where the depth needs one, pixel rows bottom-up.
//
// Depths: 32 bits for the 32-bit pictures of the screen (stored as they lie in memory, the
// fourth byte unused), 24 for RGB888, 16 for RGB16 and RGB555 (5-6-5 and 5-5-5 bit fields), 8 with
// a colour table for indexed and grey pictures, 1 with a colour table for two-colour pictures. Any
// other format is written as 32 bits.

#include "output/byte_sink.h"

#include <QImage>

Outcome writeBmp(const QImage& picture, ByteSink& sink);
