// A real print: the picture goes through the print dialog's code path to a print queue of a
// private CUPS server whose device is a file, and the PDF that comes out is measured. Where
// no CUPS server can be started here, the same check runs on Qt's own PDF printer.

#include "controls/bit_button.h"
#include "controls/message_box.h"
#include "controls/modal.h"
#include "controls/num_edit.h"
#include "output/druck_form.h"
#include "platform/printer_qt.h"
#include "support/pdf_page.h"
#include "support/private_cups.h"
#include "support/test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>
#include <optional>

using testsupport::boundsWhere;
using testsupport::havePoppler;
using testsupport::kPrivateCupsLeftMarginMm;
using testsupport::PrivateCups;
using testsupport::renderPdfPage;
using testsupport::runTool;

namespace {

// The layout typed into the dialog, in centimetres. The left margin lies inside the CUPS
// printer's unprintable margin, so there the picture starts at the printable edge.
constexpr double kLeftCm = 0.2, kTopCm = 1.8, kWidthCm = 8.0, kHeightCm = 5.0;

// 160 × 100 pixels, red in the top-left quarter and blue elsewhere: a mirrored or turned
// print shows.
QImage testPicture() {
    QImage picture(160, 100, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 255));
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 80; ++x)
            picture.setPixel(x, y, qRgb(255, 0, 0));
    return picture;
}

// Picks `queue` in Qt's print dialog as a user would, and confirms the choice.
int choosePrinter(QDialog& dialog, const QString& queue) {
    auto* printers = dialog.findChild<QComboBox*>("printers");
    if (!printers) {
        ADD_FAILURE() << "the print dialog has no printer list";
        return QDialog::Rejected;
    }
    const int index = printers->findText(queue, Qt::MatchStartsWith);
    EXPECT_GE(index, 0) << queue;
    printers->setCurrentIndex(index);
    dialog.accept();
    return dialog.result();
}

struct PrinterLines {
    QString opened;     // when the dialog opened
    QString afterSetup; // after the setup dialog, when one was used
};

// The user's part: opens the print dialog the palette's way, picks `otherPrinter` in the
// setup dialog unless empty, types the layout and presses Print. Messages fail the test.
PrinterLines printThroughDialog(PrinterDevice& printer, const QString& otherPrinter = {}) {
    TDruckForm form(printer);
    const QImage picture = testPicture();
    form.setPictureSource([&] { return picture; });
    setMessageHandler([](MessageKind, const QString& text) { ADD_FAILURE() << text; });
    PrinterLines lines;
    setModalHandler([&](QDialog& dialog) {
        if (&dialog != &form)
            return choosePrinter(dialog, otherPrinter);
        lines.opened = form.DruckerInfo->text();
        if (!otherPrinter.isEmpty()) {
            form.DrEinrBtn->click();
            lines.afterSetup = form.DruckerInfo->text();
        }
        form.LiRandEdit->setValue(kLeftCm);
        form.ObRandEdit->setValue(kTopCm);
        form.SeitRatio->setChecked(false);
        form.BreiteEdit->setValue(kWidthCm);
        form.HoeheEdit->setValue(kHeightCm);
        form.DruckBtn->click();
        return form.result();
    });
    EXPECT_EQ(form.Execute(), 1);
    setModalHandler({});
    setMessageHandler({});
    return lines;
}

struct MeasuredPrint {
    QRectF pictureMm; // where the ink is on the page
    QSizeF pageMm;
    bool redTopLeft = false;
    QString imageList; // pdfimages -list
};

// Renders the page at 254 dots per inch (0.1 mm a pixel) and finds the picture on it.
std::optional<MeasuredPrint> measure(const QString& pdf) {
    QString error;
    const QImage page = renderPdfPage(pdf, 254, &error);
    if (page.isNull()) {
        ADD_FAILURE() << error;
        return std::nullopt;
    }
    const QRect ink = boundsWhere(page, [](QRgb pixel) { return qGray(pixel) < 200; });
    const double mm = 25.4 / 254;
    MeasuredPrint result;
    result.pageMm = QSizeF(page.width() * mm, page.height() * mm);
    result.pictureMm = QRectF(ink.x() * mm, ink.y() * mm, ink.width() * mm, ink.height() * mm);
    const QRgb corner = page.pixel(ink.topLeft() + QPoint(ink.width() / 4, ink.height() / 4));
    const QRgb farCorner =
        page.pixel(ink.bottomRight() - QPoint(ink.width() / 4, ink.height() / 4));
    result.redTopLeft =
        qRed(corner) > 200 && qBlue(corner) < 80 && qBlue(farCorner) > 200 && qRed(farCorner) < 80;
    result.imageList =
        runTool("pdfimages", {"-list", pdf}, QProcessEnvironment::systemEnvironment());
    return result;
}

void expectPlacedAt(const MeasuredPrint& print, double leftMm) {
    const double tolerance = 0.5;
    std::cout << "[ picture at " << print.pictureMm.left() << " mm, " << print.pictureMm.top()
              << " mm, " << print.pictureMm.width() << " x " << print.pictureMm.height()
              << " mm on a page of " << print.pageMm.width() << " x " << print.pageMm.height()
              << " mm ]" << std::endl;
    EXPECT_NEAR(print.pageMm.width(), 210, 1);
    EXPECT_NEAR(print.pageMm.height(), 297, 1);
    EXPECT_NEAR(print.pictureMm.left(), leftMm, tolerance);
    EXPECT_NEAR(print.pictureMm.top(), kTopCm * 10, tolerance);
    EXPECT_NEAR(print.pictureMm.width(), kWidthCm * 10, tolerance);
    EXPECT_NEAR(print.pictureMm.height(), kHeightCm * 10, tolerance);
    EXPECT_TRUE(print.redTopLeft) << "the picture is mirrored or turned";
    // The whole picture, at its own size, is what the page holds.
    EXPECT_TRUE(print.imageList.contains(QRegularExpression(R"(\b160\s+100\b)")))
        << print.imageList;
}

void printOnQtPdfPrinter(const QString& folder) {
    const QString pdf = folder + "/qt.pdf";
    std::unique_ptr<QtPrinter> printer = QtPrinter::ToPdfFile(pdf);
    printer->printer().setPageSize(QPageSize(QPageSize::A4));
    EXPECT_EQ(printThroughDialog(*printer).opened, "PDF an " + pdf);
    const auto print = measure(pdf);
    ASSERT_TRUE(print);
    expectPlacedAt(*print, kLeftCm * 10); // the PDF printer has no unprintable margin
}

} // namespace

// Run in a process of its own by the test below, with the private server's environment
// (libcups reads the server's address once per process).
TEST(PrintJobWorker, PrintsTheTestPictureOnTheDefaultPrinter) {
    if (qgetenv("SKRIBANDO_PRINT_WORKER") != "cups")
        GTEST_SKIP() << "runs only inside PrintedPage.PictureSitsAtItsPlaceAndSize";
    // The second queue, chosen in the setup dialog, is the one that prints.
    QtPrinter printer;
    const PrinterLines lines = printThroughDialog(printer, "skribando-b");
    EXPECT_EQ(lines.opened, "skribando-a an Bureau 2");
    EXPECT_EQ(lines.afterSetup, "skribando-b an Bureau 3");
}

TEST(PrintJobWorker, FindsNoPrinterWithoutAPrintServer) {
    if (qgetenv("SKRIBANDO_PRINT_WORKER") != "none")
        GTEST_SKIP() << "runs only inside PrintedPage.NothingIsPrintedWithoutAPrinter";
    QtPrinter printer;
    TDruckForm form(printer);
    const QImage picture = testPicture();
    form.setPictureSource([&] { return picture; });
    QStringList shown;
    setMessageHandler([&](MessageKind kind, const QString& text) {
        EXPECT_EQ(kind, MessageKind::AppError);
        shown << text;
    });
    QString printerLine;
    setModalHandler([&](QDialog&) {
        printerLine = form.DruckerInfo->text();
        form.DruckBtn->click();
        return form.result();
    });
    EXPECT_EQ(form.Execute(), 1);
    setModalHandler({});
    setMessageHandler({});
    EXPECT_EQ(printerLine, "- Kein Drucker -");
    EXPECT_EQ(shown, QStringList{QString::fromUtf8("Zur Zeit ist kein Standard-Drucker gewählt.")});
}

namespace {

// Runs one worker test above in a process of its own; its output when it did not pass.
QString runWorker(const QString& test, const QProcessEnvironment& environment) {
    QProcess worker;
    worker.setProcessEnvironment(environment);
    worker.setProcessChannelMode(QProcess::MergedChannels);
    worker.start(QCoreApplication::applicationFilePath(),
                 {"--gtest_filter=PrintJobWorker." + test});
    if (!worker.waitForFinished(30000)) {
        worker.kill();
        worker.waitForFinished(2000);
        return "the printing process hangs: " + QString::fromLocal8Bit(worker.readAll());
    }
    const QString said = QString::fromLocal8Bit(worker.readAll());
    const bool passed = worker.exitStatus() == QProcess::NormalExit && worker.exitCode() == 0 &&
                        said.contains("[  PASSED  ] 1 test");
    return passed ? QString() : said;
}

} // namespace

TEST(PrintedPage, NothingIsPrintedWithoutAPrinter) {
    QTemporaryDir folder(QDir::tempPath() + "/skribando-print-XXXXXX");
    ASSERT_TRUE(folder.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("CUPS_SERVER", folder.path() + "/no-server.sock");
    environment.insert("HOME", folder.path());
    environment.remove("PRINTER");
    environment.remove("LPDEST");
    environment.insert("SKRIBANDO_PRINT_WORKER", "none");
    EXPECT_EQ(runWorker("FindsNoPrinterWithoutAPrintServer", environment), "");
}

TEST(PrintedPage, PictureSitsAtItsPlaceAndSize) {
    REQUIRE_OUTSIDE_WORLD(havePoppler(),
                          "pdftoppm and pdfimages (poppler-utils) are needed to measure the page");
    QTemporaryDir folder(QDir::tempPath() + "/skribando-print-XXXXXX");
    ASSERT_TRUE(folder.isValid());

    PrivateCups cups(folder.path());
    const QString whyNot = cups.start();
    REQUIRE_OUTSIDE_WORLD(whyNot.isEmpty(), "no CUPS server can run here: " + whyNot);
    QProcessEnvironment environment = cups.environment();
    environment.insert("SKRIBANDO_PRINT_WORKER", "cups");
    ASSERT_EQ(runWorker("PrintsTheTestPictureOnTheDefaultPrinter", environment), "");
    ASSERT_TRUE(cups.waitForCompletedJob("skribando-b", 30000)) << cups.log();
    EXPECT_FALSE(QFile::exists(cups.output("skribando-a")));
    const auto print = measure(cups.output("skribando-b"));
    ASSERT_TRUE(print);
    expectPlacedAt(*print, std::max(kLeftCm * 10, kPrivateCupsLeftMarginMm));
}

// Qt's PDF printer on its own, wherever CUPS is: the same page, from the same code path.
TEST(PrintedPage, QtPdfPrinterPlacesThePictureToo) {
    REQUIRE_OUTSIDE_WORLD(havePoppler(),
                          "pdftoppm and pdfimages (poppler-utils) are needed to measure the page");
    QTemporaryDir folder(QDir::tempPath() + "/skribando-print-XXXXXX");
    ASSERT_TRUE(folder.isValid());
    printOnQtPdfPrinter(folder.path());
}
