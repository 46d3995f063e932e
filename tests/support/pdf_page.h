#pragma once
// Looking at a printed page: a PDF's first page as a picture, and where colours lie on it.

#include <QImage>
#include <QRect>
#include <QString>
#include <functional>

namespace testsupport {

// Whether pdftoppm and pdfimages (poppler-utils) are installed.
bool havePoppler();

// The first page of `pdf` rendered at `dotsPerInch` without antialiasing, so edges fall on
// whole pixels; a null picture, with `error` saying why, when it cannot be rendered.
QImage renderPdfPage(const QString& pdf, int dotsPerInch, QString* error = nullptr);

// The smallest rectangle holding every pixel of `picture` that `wanted` accepts; empty when
// none does.
QRect boundsWhere(const QImage& picture, const std::function<bool(QRgb)>& wanted);

} // namespace testsupport
