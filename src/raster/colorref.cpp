#include "raster/colorref.h"

static_assert(pixelOf(rgbColour(255, 0, 0)) == 0xFFFF0000u, "red is the high byte of a pixel");
static_assert(colourOfPixel(0xFF123456u) == 0x563412u, "pixels turn back into COLORREFs");
