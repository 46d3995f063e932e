#pragma once
// Page placement for printing. Positions and sizes are tenths of a millimetre measured from
// the paper's edges, held as signed 32-bit integers; the painter works in device pixels with
// its origin at the printable area's top-left corner.

#include "platform/printer.h"

#include <QImage>
#include <cstdint>
#include <optional>

class QPainter;

// Centimetres to tenths of a millimetre: cm × 100 to the nearest integer, halves to the even
// neighbour. Empty when the result does not fit into 32 bits (or is not a number).
std::optional<int32_t> TenthsOfMillimetre(double centimetres);

// Left, top, right, bottom in tenths of a millimetre.
struct PlacementRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const PlacementRect&) const = default;
};

// The print layout as typed, in tenths of a millimetre.
struct Placement {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// The four field values in centimetres. Empty when any of them, or the right or bottom edge
// they give, falls outside 32 bits; a wrapped edge would print somewhere else entirely.
std::optional<Placement> PlacementFromCentimetres(double left, double top, double width,
                                                  double height);

// Turns distances from the paper's edges into distances from the printable area's edges:
// subtracts the unprintable margins, but never below 0, so a margin smaller than the
// printer's moves the picture to the printable edge without shrinking it.
void SubtractPrinterOffset(int32_t& left, int32_t& top, const PrinterMetrics& printer);

// Left L, top T, right L + W, bottom T + H. `left` and `top` already offset-corrected.
PlacementRect DestinationRect(int32_t left, int32_t top, const Placement& size);

// Makes one logical unit of `painter` a tenth of a millimetre, x to the right and y down,
// with the origin left where it is (the printable area's corner).
void SetPrinterMapping(QPainter& painter, const PrinterMetrics& printer);

// Draws the whole picture stretched to exactly `rect` in the painter's logical units,
// pixel by pixel without smoothing; a negative width or height mirrors it, a zero one
// draws nothing.
void StretchBitmapToPrinter(QPainter& painter, const PlacementRect& rect, const QImage& bitmap);
