#pragma once
// Colours as the drawing state stores them: a COLORREF, 0x00BBGGRR.

#include <QColor>
#include <cstdint>

using COLORREF = std::uint32_t;

constexpr COLORREF rgbColour(int red, int green, int blue) {
    return static_cast<COLORREF>(red & 0xFF) | (static_cast<COLORREF>(green & 0xFF) << 8) |
           (static_cast<COLORREF>(blue & 0xFF) << 16);
}
constexpr int redOf(COLORREF colour) {
    return colour & 0xFF;
}
constexpr int greenOf(COLORREF colour) {
    return (colour >> 8) & 0xFF;
}
constexpr int blueOf(COLORREF colour) {
    return (colour >> 16) & 0xFF;
}

// The pixel value of a 32-bit picture (QImage::Format_RGB32, 0xFFRRGGBB) for a colour.
constexpr std::uint32_t pixelOf(COLORREF colour) {
    return 0xFF000000u | (static_cast<std::uint32_t>(redOf(colour)) << 16) |
           (static_cast<std::uint32_t>(greenOf(colour)) << 8) |
           static_cast<std::uint32_t>(blueOf(colour));
}
constexpr COLORREF colourOfPixel(std::uint32_t pixel) {
    return rgbColour((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}
inline QColor qcolorOf(COLORREF colour) {
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}
