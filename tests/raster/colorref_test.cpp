#include "raster/colorref.h"

#include <gtest/gtest.h>

TEST(Colorref, ConvertsBetweenColourReferencesAndPixels) {
    EXPECT_EQ(rgbColour(255, 255, 0), 0x00FFFFu);
    EXPECT_EQ(pixelOf(0xFF0000), 0xFF0000FFu); // blue COLORREF is the low byte of a pixel
    EXPECT_EQ(colourOfPixel(pixelOf(0x1234AB)), 0x1234ABu);
}
