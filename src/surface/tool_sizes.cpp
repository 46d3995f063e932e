#include "surface/tool_sizes.h"

#include "surface/nearest.h"

int arrowHeadLength(int penWidth) {
    // The factor is kept in single precision on purpose: width x 0.7 stored as a float
    // decides the halves (7 x 0.7 -> 4.9000001f -> 24.5000005 -> 25).
    float f = static_cast<float>(penWidth * 0.7);
    return nearest(5.0 * static_cast<double>(f));
}

int textFontPoints(int penWidth) {
    return nearest(24.0 * penWidth / 13) + (penWidth < 10 ? 3 : 0);
}

ToolSizes toolSizesFor(int penWidth) {
    ToolSizes sizes{};
    sizes.circleRadius = penWidth / 2;
    sizes.eraserHalfWidth = nearest(60.0 * penWidth / 13);
    sizes.eraserHalfHeight = nearest(3.0 * sizes.eraserHalfWidth / 4);
    sizes.checkArm = nearest(4.0 * penWidth / 13);
    sizes.crossArm = nearest(10.0 * penWidth / 13);
    sizes.arrowHeadLength = arrowHeadLength(penWidth);
    sizes.stampFontPoints = nearest(penWidth * 24.0 / 13 * 3);
    sizes.textFontPoints = textFontPoints(penWidth);
    return sizes;
}
