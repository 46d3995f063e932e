#pragma once
// Pixel sizes derived from the pen width: tool symbols, eraser block, arrow heads, stamp and
// text fonts. Every rounding is nearest() (halves to even); div truncates.

struct ToolSizes {
    int circleRadius;    // pen and shape symbol: circle of radius width div 2
    int eraserHalfWidth; // eraser block is (2w + 1) x (2h + 1)
    int eraserHalfHeight;
    int checkArm;        // k of the check-mark symbol
    int crossArm;        // k of the cross symbol
    int arrowHeadLength; // L of DrawArrow
    int stampFontPoints; // check and cross stamps
    int textFontPoints;  // text box and committed text
};

ToolSizes toolSizesFor(int penWidth);

int arrowHeadLength(int penWidth);
int textFontPoints(int penWidth);

// Committed text gets a black shadow from this font size up.
constexpr int kTextShadowFromPoints = 20;
