#include "platform/printer_qt.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <cmath>

QtPrinter::QtPrinter() = default;

QPrinter& QtPrinter::printer() const {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

std::unique_ptr<QtPrinter> QtPrinter::ToPdfFile(const QString& path) {
    auto pdf = std::make_unique<QtPrinter>();
    pdf->printer().setOutputFormat(QPrinter::PdfFormat);
    pdf->printer().setOutputFileName(path);
    return pdf;
}

QString QtPrinter::DeviceName() const {
    if (printer().outputFormat() == QPrinter::PdfFormat)
        return printer().outputFileName().isEmpty() ? QString() : QStringLiteral("PDF");
    return printer().isValid() ? printer().printerName() : QString();
}

QString QtPrinter::PortName() const {
    if (printer().outputFormat() == QPrinter::PdfFormat)
        return printer().outputFileName();
    // CUPS does not tell Qt which device a queue prints to; the queue's location is what
    // the user knows it by instead.
    return QPrinterInfo(printer()).location();
}

PrinterMetrics QtPrinter::Metrics() const {
    const int dpi = printer().resolution();
    QPageLayout layout = printer().pageLayout();
    layout.setUnits(QPageLayout::Point);
    const QMarginsF unprintable = layout.minimumMargins();
    return {dpi, dpi, int(std::lround(unprintable.left() * dpi / 72.0)),
            int(std::lround(unprintable.top() * dpi / 72.0))};
}

// The job paints the whole paper (full-page mode) so that its origin does not depend on the
// margins chosen in the page settings; the printable area's corner is one translation away.
Outcome QtPrinter::PrintPage(const QString& documentName, const PagePainter& paint) {
    const PrinterMetrics metrics = Metrics(); // before full-page mode hides the margins
    printer().setDocName(documentName);
    printer().setFullPage(true);
    QPainter painter;
    Outcome outcome = Outcome::ok();
    if (painter.begin(&printer())) {
        painter.translate(metrics.physicalOffsetX, metrics.physicalOffsetY);
        paint(painter);
        if (!painter.end() || printer().printerState() == QPrinter::Error)
            outcome =
                Outcome::failed(QStringLiteral("Der Druckauftrag konnte nicht beendet werden."));
    } else {
        outcome = Outcome::failed(QStringLiteral("Der Druckauftrag konnte nicht begonnen werden."));
    }
    printer().setFullPage(false);
    return outcome;
}

void QtPrinter::RunSetupDialog(QWidget* parent, const DialogRunner& run) {
    QPrintDialog dialog(&printer(), parent);
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    run(dialog);
}
