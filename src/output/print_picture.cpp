#include "output/print_picture.h"

#include "platform/printer.h"

#include <QPainter>

std::optional<QString> PrintPicture(PrinterDevice& printer, const QImage& picture,
                                    const Placement& placement) {
    if (printer.DeviceName().isEmpty())
        return noPrinterMessage;
    QString error;
    std::unique_ptr<PrintJob> job = printer.BeginJob(QString(), error);
    if (!job)
        return error;
    const PrinterMetrics metrics = printer.Metrics();
    SetPrinterMapping(job->Painter(), metrics);
    int32_t left = placement.left;
    int32_t top = placement.top;
    SubtractPrinterOffset(left, top, metrics);
    StretchBitmapToPrinter(job->Painter(), DestinationRect(left, top, placement), picture);
    if (!job->End(error))
        return error;
    return std::nullopt;
}
