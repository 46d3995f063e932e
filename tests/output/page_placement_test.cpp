#include "output/page_placement.h"
#include "output/print_picture.h"
#include "platform/printer_paper.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

// A device with 254 pixels to the inch: one device pixel is one tenth of a millimetre, so
// page pixels read directly as placement units.
constexpr PrinterMetrics kTenthPixels{254, 254, 20, 30};

// 3 × 2 pixels, every one a different colour, so a shift, a swap or a mirror shows.
QImage asymmetricPicture() {
    QImage picture(3, 2, QImage::Format_RGB32);
    const QRgb colours[2][3] = {{0xff0000, 0x00ff00, 0x0000ff}, {0xffff00, 0x00ffff, 0xff00ff}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            picture.setPixel(x, y, colours[y][x] | 0xff000000);
    return picture;
}

// The smallest rectangle holding every pixel that is not white.
QRect inkBounds(const QImage& page) {
    QRect bounds;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if ((page.pixel(x, y) & 0xffffff) != 0xffffff)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QImage printOnPaper(const Placement& placement, PrinterMetrics metrics = kTenthPixels) {
    PaperPrinter printer("Paper", "", metrics, QSize(600, 400));
    EXPECT_TRUE(PrintPicture(printer, asymmetricPicture(), placement));
    EXPECT_EQ(printer.Pages().size(), 1);
    EXPECT_EQ(printer.LastDocumentName(), "");
    return printer.Pages().value(0);
}

} // namespace

TEST(PagePlacement, CentimetresBecomeTenthsOfMillimetreWithHalvesToEven) {
    EXPECT_EQ(TenthsOfMillimetre(2.55), 255); // 254.99999999999997 in binary
    EXPECT_EQ(TenthsOfMillimetre(2.5), 250);
    EXPECT_EQ(TenthsOfMillimetre(0.125), 12); // 12.5
    EXPECT_EQ(TenthsOfMillimetre(0.375), 38); // 37.5
    EXPECT_EQ(TenthsOfMillimetre(-0.125), -12);
    EXPECT_EQ(TenthsOfMillimetre(-3.0), -300);
    EXPECT_EQ(TenthsOfMillimetre(21474836.47), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(TenthsOfMillimetre(-21474836.48), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(TenthsOfMillimetre(21474836.48), std::nullopt);
    EXPECT_EQ(TenthsOfMillimetre(-21474836.49), std::nullopt);
    EXPECT_EQ(TenthsOfMillimetre(std::numeric_limits<double>::infinity()), std::nullopt);
    EXPECT_EQ(TenthsOfMillimetre(std::nan("")), std::nullopt);
}

TEST(PagePlacement, PlacementIsRangeCheckedIncludingItsFarEdges) {
    const auto example = PlacementFromCentimetres(2.5, 1.8, 16.0, 12.8);
    ASSERT_TRUE(example);
    EXPECT_EQ(example->left, 250);
    EXPECT_EQ(example->top, 180);
    EXPECT_EQ(example->width, 1600);
    EXPECT_EQ(example->height, 1280);

    EXPECT_FALSE(PlacementFromCentimetres(3e7, 1, 1, 1));
    EXPECT_FALSE(PlacementFromCentimetres(1, 1, 1, -3e7));
    // Each value fits, but left + width would wrap round to a negative right edge.
    EXPECT_FALSE(PlacementFromCentimetres(2e7, 0, 2e7, 1));
    EXPECT_FALSE(PlacementFromCentimetres(0, 2e7, 1, 2e7));
    EXPECT_TRUE(PlacementFromCentimetres(-2e7, -2e7, 2e7, 2e7));
}

TEST(PagePlacement, PrinterOffsetTurnsPaperEdgesIntoPrintableEdges) {
    // 4.2 mm and 5.1 mm of unprintable margin, at 254 and at 600 dots per inch.
    for (PrinterMetrics printer :
         {PrinterMetrics{254, 254, 42, 51}, PrinterMetrics{600, 600, 99, 120}}) {
        int32_t left = 250, top = 180;
        SubtractPrinterOffset(left, top, printer);
        EXPECT_EQ(left, 208) << printer.logPixelsX;
        EXPECT_EQ(top, 129) << printer.logPixelsX;
        // A margin inside the unprintable one stops at the printable edge.
        left = 0, top = -500;
        SubtractPrinterOffset(left, top, printer);
        EXPECT_EQ(left, 0);
        EXPECT_EQ(top, 0);
    }
    int32_t left = std::numeric_limits<int32_t>::min(), top = 7;
    SubtractPrinterOffset(left, top, PrinterMetrics{0, 0, 10, 10}); // a device that says nothing
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 7);

    EXPECT_EQ(DestinationRect(208, 129, Placement{250, 180, 1600, 1280}),
              (PlacementRect{208, 129, 1808, 1409}));
}

TEST(PagePlacement, PrintsTheWholePictureAtItsPlaceAndSizeFromThePaperEdge) {
    // Margins 1 cm and 0.5 cm from the paper's edges; the printable area starts 2 mm and
    // 3 mm in, which the placement must not add a second time.
    const QImage page = printOnPaper({100, 50, 300, 200});
    EXPECT_EQ(inkBounds(page), QRect(100, 50, 300, 200));
    const QImage picture = asymmetricPicture();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(page.pixel(100 + 100 * x + 50, 50 + 100 * y + 50), picture.pixel(x, y))
                << x << ',' << y;
}

TEST(PagePlacement, StretchesToExactlyTheGivenSizeWhateverThePicturesProportions) {
    const QImage page = printOnPaper({100, 50, 90, 300});
    EXPECT_EQ(inkBounds(page), QRect(100, 50, 90, 300));
    EXPECT_EQ(page.pixel(100 + 15, 50 + 75), asymmetricPicture().pixel(0, 0));
    EXPECT_EQ(page.pixel(100 + 75, 50 + 225), asymmetricPicture().pixel(2, 1));
}

TEST(PagePlacement, MarginInsideTheUnprintableAreaMovesThePictureButKeepsItsSize) {
    EXPECT_EQ(inkBounds(printOnPaper({0, 10, 300, 200})), QRect(20, 30, 300, 200));
}

TEST(PagePlacement, NegativeSizeMirrorsAndZeroSizePrintsNothing) {
    // Width -300 from a left edge of 400: the picture covers 100..400, first column right.
    const QImage page = printOnPaper({400, 50, -300, 200});
    EXPECT_EQ(inkBounds(page), QRect(100, 50, 300, 200));
    EXPECT_EQ(page.pixel(350, 100), asymmetricPicture().pixel(0, 0));
    EXPECT_EQ(page.pixel(150, 100), asymmetricPicture().pixel(2, 0));
    EXPECT_TRUE(inkBounds(printOnPaper({100, 50, 0, 200})).isNull());
}

TEST(PagePlacement, NoPrinterOrAJobThatCannotBeginPrintsNothingAndSaysWhy) {
    PaperPrinter printer("", "LPT1:", kTenthPixels, QSize(100, 100));
    EXPECT_EQ(PrintPicture(printer, asymmetricPicture(), {0, 0, 10, 10}).message(),
              QString::fromUtf8("Zur Zeit ist kein Standard-Drucker gewählt."));
    printer.setName("Laser");
    printer.setBeginFailure("Drucker offline");
    EXPECT_EQ(PrintPicture(printer, asymmetricPicture(), {0, 0, 10, 10}).message(),
              "Drucker offline");
    EXPECT_TRUE(printer.Pages().isEmpty());
}
