// Printing from the running program: a shape drawn on the frozen screen, Ctrl+P, a layout
// typed into the print dialog, Enter; the job goes through a CUPS server of the test's own to
// a PDF printer, and the page that comes out is looked at.
#include "readme_screenshots.h"
#include "support/pdf_page.h"
#include "support/private_cups.h"
#include "support/test_support.h"
#include "x11_session.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using testsupport::boundsWhere;

// The page is rendered at 100 dots per inch.
constexpr int kDotsPerInch = 100;
constexpr double kMmPerDot = 25.4 / kDotsPerInch;

QRectF inMillimetres(QRect dots) {
    return QRectF(dots.x() * kMmPerDot, dots.y() * kMmPerDot, dots.width() * kMmPerDot,
                  dots.height() * kMmPerDot);
}

testing::AssertionResult near(const QRectF& actual, const QRectF& expected, double toleranceMm) {
    const bool close = std::abs(actual.left() - expected.left()) <= toleranceMm &&
                       std::abs(actual.top() - expected.top()) <= toleranceMm &&
                       std::abs(actual.right() - expected.right()) <= toleranceMm &&
                       std::abs(actual.bottom() - expected.bottom()) <= toleranceMm;
    auto text = [](const QRectF& r) {
        return QString("(%1, %2) to (%3, %4) mm")
            .arg(r.left(), 0, 'f', 1)
            .arg(r.top(), 0, 'f', 1)
            .arg(r.right(), 0, 'f', 1)
            .arg(r.bottom(), 0, 'f', 1)
            .toStdString();
    };
    if (close)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "found " << text(actual) << ", expected "
                                       << text(expected) << " within " << toleranceMm << " mm";
}

// The screen's grey (210) after the print path, which may round or compress the picture.
bool isPaperGrey(QRgb pixel) {
    const int low = std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)});
    const int high = std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)});
    return high - low <= 8 && low > 180 && high < 235;
}

bool isBlue(QRgb pixel) {
    return qBlue(pixel) > 200 && qRed(pixel) < 80 && qGreen(pixel) < 80;
}

TEST(PrintJourney, ARectangleDrawnOnTheScreenIsPrintedWhereTheLayoutPutsIt) {
    REQUIRE_OUTSIDE_WORLD(testsupport::havePoppler(),
                          "pdftoppm (poppler-utils) is needed to look at the page");
    X11Session session;
    REQUIRE_OUTSIDE_WORLD(session.ok(), session.error());
    QTemporaryDir folder(QDir::tempPath() + "/skribando-print-XXXXXX");
    ASSERT_TRUE(folder.isValid());
    testsupport::PrivateCups cups(folder.path());
    const QString whyNot = cups.start();
    REQUIRE_OUTSIDE_WORLD(whyNot.isEmpty(), "no CUPS server can run here: " + whyNot);

    // Light grey paper, so the picture's own edges show on the white page.
    QImage paper(session.size(), QImage::Format_RGB32);
    paper.fill(qRgb(210, 210, 210));
    ASSERT_TRUE(session.setBackground(paper));

    ProgramRun program(cups.environment(session.environment()), {});
    const unsigned long surface = startDrawingPhase(session);
    ASSERT_NE(surface, 0u) << program.output();
    session.key("ctrl+3 alt+shift+4 alt+r"); // 13 pixels, opaque blue, rectangle
    session.drag(QPoint(320, 200), QPoint(640, 400));
    session.run("xdotool", {"mousemove", "--sync", "1000", "700"});
    ASSERT_TRUE(X11Session::waitUntil([&] { return isBlue(session.screenshot().pixel(480, 200)); }))
        << "the rectangle is drawn before printing";

    session.key("ctrl+p");
    const unsigned long dialog = session.waitForWindow("Imprimer l'ecran");
    ASSERT_NE(dialog, 0u) << "the print dialog opens";
    session.activate(dialog);
    keepReadmeScreenshot("print-dialog", session.steadyScreenshot(), session.frameGeometry(dialog));
    // Print opens with the focus; the fields follow the three buttons. Tabbing into a field
    // selects its text, so typing replaces it. Width 16 cm keeps its default, and the kept
    // proportions make the height 10 cm for the 1280 × 800 picture.
    session.key("Tab Tab Tab");
    session.type("3");
    session.key("Tab");
    session.type("2");
    session.key("Return");
    ASSERT_TRUE(session.waitForWindowGone("Imprimer l'ecran", 30000));
    ASSERT_TRUE(cups.waitForCompletedJob("skribando-a", 60000)) << cups.log();
    EXPECT_FALSE(session.isWindowVisible("Information")) << "the wait window is gone";
    // A failed job would say so in a message box of the program's name, beside the palette.
    const QStringList named =
        session.run("xdotool", {"search", "--onlyvisible", "--name", "^Skribando$"})
            .split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(named.size(), 1) << "no message after printing";
    session.activate(surface);
    session.key("F9");
    EXPECT_TRUE(session.waitForWindowGone("ScreenForm"));

    QString error;
    const QImage page =
        testsupport::renderPdfPage(cups.output("skribando-a"), kDotsPerInch, &error);
    ASSERT_FALSE(page.isNull()) << error;
    EXPECT_TRUE(near(inMillimetres(page.rect()), QRectF(0, 0, 210, 297), 1)) << "an A4 page";
    // 30 mm from the left, 20 mm from the top, 160 × 100 mm: 8 screen pixels a millimetre.
    EXPECT_TRUE(near(inMillimetres(boundsWhere(page, isPaperGrey)), QRectF(30, 20, 160, 100), 1))
        << "the whole picture";
    // The rectangle's corners (320, 200) and (640, 400) fall at (70, 45) and (110, 70) mm; its
    // 13-pixel outline reaches 0.8 mm beyond them.
    EXPECT_TRUE(near(inMillimetres(boundsWhere(page, isBlue)),
                     QRectF(QPointF(69.2, 44.2), QPointF(110.8, 70.8)), 1))
        << "the rectangle";
}

} // namespace
