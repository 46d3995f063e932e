#pragma once
// A printer that prints each page into a picture of the paper, as a preview would: white
// paper, the printable area starting at the unprintable margins.

#include "platform/printer.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <functional>

class PaperPrinter : public PrinterDevice {
public:
    // `paper` in device pixels at the resolution of `metrics`.
    PaperPrinter(QString name, QString port, PrinterMetrics metrics, QSize paper);

    QString DeviceName() const override { return name_; }
    QString PortName() const override { return port_; }
    PrinterMetrics Metrics() const override { return metrics_; }
    Outcome PrintPage(const QString& documentName, const PagePainter& paint) override;
    // Runs an empty dialog (the paper has no settings), then `onSetup` if given.
    void RunSetupDialog(QWidget* parent, const DialogRunner& run) override;
    std::function<void(PaperPrinter&)> onSetup;

    void setName(const QString& name) { name_ = name; }
    // A non-empty text makes every job fail to begin with it.
    void setBeginFailure(const QString& text) { beginFailure_ = text; }

    // The pages of every job ended so far, in order.
    const QList<QImage>& Pages() const { return pages_; }
    QString LastDocumentName() const { return documentName_; }

private:
    QString name_;
    QString port_;
    PrinterMetrics metrics_;
    QSize paper_;
    QString beginFailure_;
    QString documentName_;
    QList<QImage> pages_;
};
