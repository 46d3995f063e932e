#pragma once
// The drawing state: owned and written by the palette, read by the drawing engine.

#include "raster/colorref.h"

#include <cstdint>

// Pen mixes the palette chooses. pmBlack is what a fresh state holds (every pixel black).
enum class PenMix : std::uint8_t { pmBlack = 0, pmCopy, pmMask };

// Internal tool codes (not the stored codes of the palette's buttons).
enum ToolCode : int {
    ToolNone = 0,
    ToolPen = 1,
    ToolEraser = 2,
    ToolLine = 3,
    ToolRectangle = 4,
    ToolArrow = 5,
    ToolText = 6,
    ToolCheck = 7,
    ToolCross = 8,
    ToolDoubleArrow = 9,
    ToolEllipse = 10,
};

struct DrawingState {
    int Tool = ToolNone;
    COLORREF PenColour = 0x000000;
    PenMix PenMode = PenMix::pmBlack;
    int PenWidth = 0;
};
