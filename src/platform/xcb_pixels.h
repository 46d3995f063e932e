#pragma once
// Reading an X server's ZPixmap pixels into a Format_RGB32 picture. Pure arithmetic, kept
// apart from the connection so that byte orders no local server produces can be tested.

#include <QImage>
#include <cstdint>

// How a server lays out the pixels of its root window's depth.
struct XPixelLayout {
    int depth = 0;
    int bitsPerPixel = 0;
    int scanlinePad = 32;  // bits; every row is a multiple of this long
    bool msbFirst = false; // the server's image byte order
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
};

// True for the layouts ConvertXPixels reads: 32 bits a pixel, each channel one whole byte
// (depth 24 or 32, RGB or BGR, either byte order). Anything else goes through Qt's grab.
bool ReadableXLayout(const XPixelLayout& layout);

// Bytes of one row of `width` pixels, padding included.
int XRowBytes(const XPixelLayout& layout, int width);

// Copies `height` rows of a ZPixmap picture in a readable layout into a new Format_RGB32
// picture (alpha byte 0xFF whatever the server left in the unused byte). Null when the
// layout is not readable or the picture cannot be allocated.
QImage ConvertXPixels(const XPixelLayout& layout, const uchar* data, int width, int height);

// The same for `rows` rows starting at `firstRow` of an existing Format_RGB32 picture as
// wide as the server's rows; `data` holds those rows only, and may be the picture's own
// memory (conversion in place). The layout must be readable.
void ConvertXRows(const XPixelLayout& layout, const uchar* data, QImage& picture, int firstRow,
                  int rows);
