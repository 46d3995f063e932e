#pragma once
// The program's current printer on Qt's print support: one QPrinter kept for the whole run,
// at first the system's default printer, then whatever the user picks in the setup dialog.
// It is made when first asked for: making it loads the print system's libraries and asks
// its server for the default printer, which would hold up the program's start.

#include "platform/printer.h"

#include <QPrinter>
#include <memory>

class QtPrinter : public PrinterDevice {
public:
    // The system's default printer, if it has one.
    QtPrinter();
    // A printer that writes each job as a PDF file to `path`; its name is "PDF".
    static std::unique_ptr<QtPrinter> ToPdfFile(const QString& path);

    QString DeviceName() const override;
    QString PortName() const override;
    PrinterMetrics Metrics() const override;
    Outcome PrintPage(const QString& documentName, const PagePainter& paint) override;
    // Qt's print dialog; accepting it makes its choice current.
    void RunSetupDialog(QWidget* parent, const DialogRunner& run) override;

    QPrinter& printer() const;

private:
    mutable std::unique_ptr<QPrinter> printer_;
};
