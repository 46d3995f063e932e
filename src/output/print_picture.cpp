#include "output/print_picture.h"

#include "platform/printer.h"

#include <QPainter>

Outcome PrintPicture(PrinterDevice& printer, const QImage& picture, const Placement& placement) {
    if (printer.DeviceName().isEmpty())
        return Outcome::failed(kNoPrinterMessage);
    const PrinterMetrics metrics = printer.Metrics();
    int32_t left = placement.left;
    int32_t top = placement.top;
    SubtractPrinterOffset(left, top, metrics);
    return printer.PrintPage(QString(), [&](QPainter& painter) {
        SetPrinterMapping(painter, metrics);
        StretchBitmapToPrinter(painter, DestinationRect(left, top, placement), picture);
    });
}
