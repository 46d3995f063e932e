#include "platform/printer_paper.h"

#include <QDialog>
#include <QPainter>

PaperPrinter::PaperPrinter(QString name, QString port, PrinterMetrics metrics, QSize paper)
    : name_(std::move(name)), port_(std::move(port)), metrics_(metrics), paper_(paper) {}

Outcome PaperPrinter::PrintPage(const QString& documentName, const PagePainter& paint) {
    if (!beginFailure_.isEmpty())
        return Outcome::failed(beginFailure_);
    documentName_ = documentName;
    QImage page(paper_, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.translate(metrics_.physicalOffsetX, metrics_.physicalOffsetY);
        paint(painter);
    }
    pages_.append(page);
    return Outcome::ok();
}

void PaperPrinter::RunSetupDialog(QWidget* parent, const DialogRunner& run) {
    QDialog dialog(parent);
    dialog.setWindowTitle(name_);
    if (run(dialog) == QDialog::Accepted && onSetup)
        onSetup(*this);
}
