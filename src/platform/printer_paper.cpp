#include "platform/printer_paper.h"

#include <QDialog>
#include <QPainter>

class PaperJob : public PrintJob {
public:
    explicit PaperJob(PaperPrinter& printer)
        : printer_(printer), page_(printer.paper_, QImage::Format_RGB32) {
        page_.fill(Qt::white);
        painter_.begin(&page_);
        painter_.translate(printer.metrics_.physicalOffsetX, printer.metrics_.physicalOffsetY);
    }

    QPainter& Painter() override { return painter_; }
    bool End(QString&) override {
        painter_.end();
        printer_.pages_.append(page_);
        return true;
    }

private:
    PaperPrinter& printer_;
    QImage page_;
    QPainter painter_;
};

PaperPrinter::PaperPrinter(QString name, QString port, PrinterMetrics metrics, QSize paper)
    : name_(std::move(name)), port_(std::move(port)), metrics_(metrics), paper_(paper) {}

std::unique_ptr<PrintJob> PaperPrinter::BeginJob(const QString& documentName, QString& error) {
    if (!beginFailure_.isEmpty()) {
        error = beginFailure_;
        return nullptr;
    }
    documentName_ = documentName;
    return std::make_unique<PaperJob>(*this);
}

void PaperPrinter::RunSetupDialog(QWidget* parent, const DialogRunner& run) {
    QDialog dialog(parent);
    dialog.setWindowTitle(name_);
    if (run(dialog) == QDialog::Accepted && onSetup)
        onSetup(*this);
}
