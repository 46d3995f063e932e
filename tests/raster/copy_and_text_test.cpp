// Block copies, whole-picture copies, fonts and text.
#include "raster/canvas.h"
#include "raster/fonts.h"
#include "raster/text_scan.h"
#include "raster_test_support.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace raster;
using namespace rastertest;

namespace {

QImage numbered(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, 0xFF000000u | std::uint32_t(y * 256 + x));
    return picture;
}

// The box of the pixels that differ from `background`.
Rect inkOf(const QImage& picture, QRgb background) {
    Rect box;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != background)
                box = box.united({x, y, x + 1, y + 1});
    return box;
}

} // namespace

TEST(BlockCopy, CopiesTheAreaToTheSamePlaceClippedToBothPictures) {
    const QImage source = numbered(9, 7);
    QImage target = blank(11, 5); // wider but lower than the source
    Canvas canvas(target);
    canvas.CopyRect(source, {-3, 2, 20, 40});
    EXPECT_EQ(canvas.takeTouched(), (Rect{0, 2, 9, 5}));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 11; ++x) {
            const QRgb expected = (y >= 2 && x < 9) ? source.pixel(x, y) : kWhite;
            ASSERT_EQ(target.pixel(x, y), expected) << x << "," << y;
        }
    canvas.CopyRect(source, {INT32_MIN, INT32_MIN, INT32_MIN + 5, INT32_MAX});
    EXPECT_TRUE(canvas.takeTouched().isEmpty());
}

TEST(BlockCopy, ConvertsOtherSourceFormats) {
    QImage source = numbered(4, 3).convertToFormat(QImage::Format_RGB888);
    QImage target = blank(4, 3);
    Canvas(target).CopyRect(source, {1, 1, 3, 3});
    EXPECT_EQ(target.pixel(2, 2), numbered(4, 3).pixel(2, 2));
    EXPECT_EQ(target.pixel(0, 0), kWhite);
}

TEST(CopyPicture, ReusesTheDestinationOfTheSameSize) {
    const QImage from = numbered(13, 9);
    QImage to = blank(13, 9);
    const uchar* memory = to.constBits();
    CopyPicture(from, to);
    EXPECT_EQ(to.constBits(), memory);
    EXPECT_TRUE(testsupport::samePixels(from, to));
    EXPECT_NE(to.constBits(), from.constBits()); // a copy, not shared pixels
}

TEST(CopyPicture, LeavesPicturesSharingTheDestinationAlone) {
    const QImage from = numbered(13, 9);
    QImage to = blank(13, 9);
    const QImage sharer = to; // e.g. a view still holding the old picture
    CopyPicture(from, to);
    EXPECT_TRUE(testsupport::samePixels(from, to));
    EXPECT_TRUE(testsupport::samePixels(blank(13, 9), sharer));
}

TEST(CopyPicture, TakesTheSizeOfTheSourceAndNullStaysNull) {
    const QImage from = numbered(5, 4);
    QImage to = blank(20, 20);
    CopyPicture(from, to);
    EXPECT_TRUE(testsupport::samePixels(from, to));
    CopyPicture(QImage(), to);
    EXPECT_TRUE(to.isNull());
}

TEST(Fonts, PointSizesAreTakenAt96DotsPerInch) {
    EXPECT_EQ(pixelSizeOf(9), 12);
    EXPECT_EQ(pixelSizeOf(24), 32);
    EXPECT_EQ(pixelSizeOf(39), 52);
    EXPECT_EQ(pixelSizeOf(17), 23); // 22.67 rounds up
    EXPECT_EQ(qfontOf({"Arial", 24, true, 0}).pixelSize(), 32);
}

TEST(Fonts, MissingWindowsFacesFallBackToInstalledOnes) {
    for (const char* family : {"Arial", "MS Sans Serif"}) {
        const QString resolved = resolveFamily(family);
        EXPECT_TRUE(QFontDatabase::hasFamily(resolved))
            << family << " -> " << resolved.toStdString();
    }
    EXPECT_EQ(resolveFamily("Liberation Sans"), "Liberation Sans");
}

TEST(Fonts, StampGlyphsExistInTheFontThatDrawsThem) {
    for (int code : {252, 251}) {
        const StampGlyph glyph = stampGlyph(code);
        ASSERT_EQ(glyph.text.size(), 1);
        QFont font(glyph.family);
        font.setPixelSize(40);
        EXPECT_TRUE(QFontMetrics(font).inFontUcs4(glyph.text.at(0).unicode())) << code;
    }
    EXPECT_NE(stampGlyph(252).text, stampGlyph(251).text);
}

TEST(Text, CellHeightIsTheSameForEveryTextAndWidthGrowsWithIt) {
    const Font font{"Arial", 24, true, 0};
    const int height = textHeight(font, "X");
    EXPECT_EQ(textHeight(font, "gj"), height);
    EXPECT_GE(height, 32);
    EXPECT_LE(height, 40);
    EXPECT_EQ(textWidth(font, ""), 0);
    EXPECT_GT(textWidth(font, "Xx"), textWidth(font, "X"));
    EXPECT_GT(textWidth({"Arial", 39, true, 0}, "X"), textWidth(font, "X"));
}

TEST(Text, IsWrittenOpaqueInTheFontColourInsideItsCell) {
    QImage picture = blank(120, 50);
    Canvas canvas(picture);
    canvas.setFont({"Arial", 16, true, 0x0000FF}); // red
    canvas.TextOut(10, 5, "Hey");
    const Rect ink = inkOf(picture, kWhite);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_EQ(canvas.takeTouched(), ink);
    const int width = canvas.TextWidth("Hey"), height = canvas.TextHeight("Hey");
    EXPECT_TRUE(Rect({10, 5, 10 + width + 1, 5 + height}).grown(1).intersected(ink) == ink);
    for (int y = ink.top; y < ink.bottom; ++y)
        for (int x = ink.left; x < ink.right; ++x)
            ASSERT_TRUE(picture.pixel(x, y) == kWhite || picture.pixel(x, y) == kRed);
    // Written again on top, nothing changes: text is a copy, not a blend.
    const QImage once = picture.copy();
    canvas.TextOut(10, 5, "Hey");
    EXPECT_TRUE(testsupport::samePixels(once, picture));
}

TEST(Text, CentredTextIsPlacedAroundX) {
    QImage left = blank(200, 60), centred = blank(200, 60);
    Canvas a(left), b(centred);
    a.setFont({"Wingdings", 24, true, 0});
    b.setFont({"Wingdings", 24, true, 0});
    b.setTextAlign(TextAlign::Centre);
    const QString check(QChar(252));
    const int width = a.TextWidth(check);
    ASSERT_GT(width, 0);
    a.TextOut(100 - width / 2, 10, check);
    b.TextOut(100, 10, check);
    EXPECT_FALSE(inkOf(left, kWhite).isEmpty());
    EXPECT_TRUE(testsupport::samePixels(left, centred));
}

TEST(Text, ACanvasMeasuresAndWritesInTheFaceLastSetNotTheFirst) {
    const Font arial{"Arial", 16, true, 0}, wingdings{"Wingdings", 32, true, 0x0000FF};
    const QString check(QChar(252));
    QImage reused = blank(120, 100), fresh = blank(120, 100);
    Canvas canvas(reused), freshCanvas(fresh);
    canvas.setFont(arial);
    ASSERT_GT(canvas.TextWidth("Hey"), 0);
    canvas.setFont(wingdings);
    EXPECT_EQ(canvas.TextWidth(check), textWidth(wingdings, check));
    EXPECT_EQ(canvas.TextHeight(check), textHeight(wingdings, check));
    freshCanvas.setFont(wingdings);
    canvas.TextOut(10, 5, check);
    freshCanvas.TextOut(10, 5, check);
    EXPECT_TRUE(testsupport::samePixels(fresh, reused));
    // Back to the first face, then the same face in another colour: written in that colour.
    canvas.setFont(arial);
    EXPECT_EQ(canvas.TextWidth("Hey"), textWidth(arial, "Hey"));
    canvas.setFont({"Arial", 16, true, 0x00FF00});
    canvas.TextOut(10, 70, "Hey");
    int green = 0, other = 0;
    for (int y = 65; y < reused.height(); ++y)
        for (int x = 0; x < reused.width(); ++x)
            reused.pixel(x, y) == 0xFF00FF00u ? ++green : other += reused.pixel(x, y) != kWhite;
    EXPECT_GT(green, 0);
    EXPECT_EQ(other, 0);
}

TEST(Text, TextFarOutsideThePictureIsHarmless) {
    QImage picture = blank(30, 20);
    Canvas canvas(picture);
    canvas.setFont({"Arial", 24, false, 0});
    canvas.TextOut(INT32_MAX - 3, INT32_MIN + 2, "far away");
    canvas.setTextAlign(TextAlign::Centre);
    canvas.TextOut(INT32_MIN, 0, "far away");
    EXPECT_TRUE(canvas.touched().isEmpty());
    EXPECT_TRUE(testsupport::samePixels(blank(30, 20), picture));
}

TEST(BlockCopy, OnlyRowsThatChangeCountAsTouched) {
    const QImage source = numbered(9, 7);
    QImage target = source.copy();
    target.setPixel(4, 3, kWhite);
    target.setPixel(6, 5, kWhite);
    Canvas canvas(target);
    canvas.CopyRect(source, {2, 1, 8, 7});
    EXPECT_EQ(canvas.takeTouched(), (Rect{2, 3, 8, 6}));
    EXPECT_TRUE(testsupport::samePixels(source, target));
    canvas.CopyRect(source, {0, 0, 9, 7}); // already equal: nothing to repaint
    EXPECT_TRUE(canvas.takeTouched().isEmpty());
}
