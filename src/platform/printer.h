#pragma once
// The printer as the print command sees it: a name and port for the dialog's printer line,
// the device's resolution and unprintable margins, and jobs of one page.

#include "platform/outcome.h"

#include <QString>
#include <functional>
#include <memory>

class QDialog;
class QPainter;
class QWidget;

// What the page placement needs to know about the device, in device pixels.
struct PrinterMetrics {
    int logPixelsX = 0;
    int logPixelsY = 0;
    // The unprintable margin at the paper's left and top edges.
    int physicalOffsetX = 0;
    int physicalOffsetY = 0;
};

// Draws one page. The painter works in device pixels with the origin at the top-left corner of
// the printable area, whatever the device's own notion of origin.
using PagePainter = std::function<void(QPainter& painter)>;

class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;

    // Empty when there is no printer to print on.
    virtual QString DeviceName() const = 0;
    // Where the device is attached, or empty.
    virtual QString PortName() const = 0;
    virtual PrinterMetrics Metrics() const = 0;

    // Prints a document of one page that `paint` draws: begins the job, paints, and ends the
    // job, which hands it to the printer. Fails when the job cannot begin or end.
    virtual Outcome PrintPage(const QString& documentName, const PagePainter& paint) = 0;

    // Lets the user choose the printer and its page settings through a dialog that `run`
    // runs modally; the choice stays current for the rest of the run.
    using DialogRunner = std::function<int(QDialog& dialog)>;
    virtual void RunSetupDialog(QWidget* parent, const DialogRunner& run) = 0;
};
