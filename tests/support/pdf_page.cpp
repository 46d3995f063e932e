#include "support/pdf_page.h"

#include "support/private_cups.h"

#include <QStandardPaths>
#include <QTemporaryDir>

namespace testsupport {

bool havePoppler() {
    return !QStandardPaths::findExecutable("pdftoppm").isEmpty() &&
           !QStandardPaths::findExecutable("pdfimages").isEmpty();
}

QImage renderPdfPage(const QString& pdf, int dotsPerInch, QString* error) {
    QTemporaryDir folder;
    int code = 0;
    const QString said = runTool("pdftoppm",
                                 {"-r", QString::number(dotsPerInch), "-aa", "no", "-aaVector",
                                  "no", "-singlefile", "-f", "1", pdf, folder.path() + "/page"},
                                 QProcessEnvironment::systemEnvironment(), &code);
    QImage page(folder.path() + "/page.ppm");
    if (code != 0 || page.isNull()) {
        if (error)
            *error = "pdftoppm cannot render " + pdf + ": " + said;
        return {};
    }
    return page.convertToFormat(QImage::Format_RGB32);
}

QRect boundsWhere(const QImage& anyPicture, const std::function<bool(QRgb)>& wanted) {
    const QImage picture = anyPicture.convertToFormat(QImage::Format_RGB32);
    int left = picture.width(), top = picture.height(), right = -1, bottom = -1;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (!wanted(row[x]))
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = y;
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace testsupport
