#include "platform/printer_qt.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <cmath>

QtPrinter::QtPrinter() = default;

std::unique_ptr<QtPrinter> QtPrinter::ToPdfFile(const QString& path) {
    auto pdf = std::make_unique<QtPrinter>();
    pdf->printer_.setOutputFormat(QPrinter::PdfFormat);
    pdf->printer_.setOutputFileName(path);
    return pdf;
}

QString QtPrinter::DeviceName() const {
    if (printer_.outputFormat() == QPrinter::PdfFormat)
        return printer_.outputFileName().isEmpty() ? QString() : QStringLiteral("PDF");
    return printer_.isValid() ? printer_.printerName() : QString();
}

QString QtPrinter::PortName() const {
    if (printer_.outputFormat() == QPrinter::PdfFormat)
        return printer_.outputFileName();
    // CUPS does not tell Qt which device a queue prints to; the queue's location is what
    // the user knows it by instead.
    return QPrinterInfo(printer_).location();
}

PrinterMetrics QtPrinter::Metrics() const {
    const int dpi = printer_.resolution();
    QPageLayout layout = printer_.pageLayout();
    layout.setUnits(QPageLayout::Point);
    const QMarginsF unprintable = layout.minimumMargins();
    return {dpi, dpi, int(std::lround(unprintable.left() * dpi / 72.0)),
            int(std::lround(unprintable.top() * dpi / 72.0))};
}

// The job paints the whole paper (full-page mode) so that its origin does not depend on the
// margins chosen in the page settings; the printable area's corner is one translation away.
Outcome QtPrinter::PrintPage(const QString& documentName, const PagePainter& paint) {
    const PrinterMetrics metrics = Metrics(); // before full-page mode hides the margins
    printer_.setDocName(documentName);
    printer_.setFullPage(true);
    QPainter painter;
    Outcome outcome = Outcome::ok();
    if (painter.begin(&printer_)) {
        painter.translate(metrics.physicalOffsetX, metrics.physicalOffsetY);
        paint(painter);
        if (!painter.end() || printer_.printerState() == QPrinter::Error)
            outcome =
                Outcome::failed(QStringLiteral("Der Druckauftrag konnte nicht beendet werden."));
    } else {
        outcome = Outcome::failed(QStringLiteral("Der Druckauftrag konnte nicht begonnen werden."));
    }
    printer_.setFullPage(false);
    return outcome;
}

void QtPrinter::RunSetupDialog(QWidget* parent, const DialogRunner& run) {
    QPrintDialog dialog(&printer_, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    run(dialog);
}
