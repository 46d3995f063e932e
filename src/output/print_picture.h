#pragma once
// The print job of the print command: one page on the current printer with the whole
// picture at the given place and size.

#include "output/page_placement.h"
#include "platform/outcome.h"

#include <QImage>
#include <QString>

class PrinterDevice;

inline const QString kNoPrinterMessage =
    QString::fromUtf8("Zur Zeit ist kein Standard-Drucker gewählt.");
inline const QString kRangeCheckMessage = QString::fromUtf8("Fehler bei Bereichsprüfung.");

// Begins the job (empty document name), maps the page, corrects the margins for the
// printer's unprintable area, stretches the picture into place and ends the job. Nothing is
// printed when there is no printer.
Outcome PrintPicture(PrinterDevice& printer, const QImage& picture, const Placement& placement);
