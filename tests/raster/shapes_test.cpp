// Pixel-exact shapes on small, odd-sized pictures, checked by hand.
#include "raster/canvas.h"
#include "raster_test_support.h"

#include <gtest/gtest.h>

using namespace raster;
using namespace rastertest;

namespace {

struct Drawing {
    QImage picture;
    Canvas canvas{picture};
    Drawing(int width, int height, QRgb colour = kWhite) : picture(blank(width, height, colour)) {
        canvas.setPen(0x000000, Mix::Copy, 1);
    }
};

} // namespace

TEST(Lines, OnePixelLineLeavesOutItsEndPoint) {
    Drawing d(6, 3);
    d.canvas.Line(0, 0, 4, 0);
    EXPECT_EQ(art(d.picture), rows({"####..", "......", "......"}));
    EXPECT_EQ(d.canvas.position(), QPoint(4, 0));
}

TEST(Lines, ZeroLengthOnePixelLineDrawsNothing) {
    Drawing d(3, 3);
    d.canvas.Line(1, 1, 1, 1);
    EXPECT_EQ(art(d.picture), rows({"...", "...", "..."}));
    EXPECT_TRUE(d.canvas.touched().isEmpty());
}

TEST(Lines, ExactHalfStepsGoToTheSmallerCoordinateInBothDirections) {
    // (0,0)-(4,1) passes x = 2 exactly between rows 0 and 1: row 0 either way.
    Drawing forward(5, 2), backward(5, 2);
    forward.canvas.Line(0, 0, 4, 1);
    backward.canvas.Line(4, 1, 0, 0);
    EXPECT_EQ(art(forward.picture), rows({"###..", "...#."}));
    EXPECT_EQ(art(backward.picture), rows({".##..", "...##"}));
    // Steep lines: the half step goes to the smaller column.
    Drawing down(2, 5), up(2, 5);
    down.canvas.Line(0, 0, 1, 4);
    up.canvas.Line(1, 4, 0, 0);
    EXPECT_EQ(art(down.picture), rows({"#.", "#.", "#.", ".#", ".."}));
    EXPECT_EQ(art(up.picture), rows({"..", "#.", "#.", ".#", ".#"}));
}

TEST(Lines, LineToContinuesFromTheEndOfTheLastLine) {
    Drawing d(5, 4);
    d.canvas.MoveTo(0, 0);
    d.canvas.LineTo(3, 0);
    d.canvas.LineTo(3, 3);
    EXPECT_EQ(art(d.picture), rows({"####.", "...#.", "...#.", "....."}));
}

TEST(Lines, ThirteenPixelLineIsCentredWithRoundEnds) {
    Drawing d(25, 15);
    d.canvas.setPen(0x000000, Mix::Copy, 13);
    d.canvas.Line(8, 7, 14, 7);
    EXPECT_EQ(art(d.picture), rows({
                                  ".........................",
                                  "......###########........",
                                  "....###############......",
                                  "...#################.....",
                                  "...#################.....",
                                  "..###################....",
                                  "..###################....",
                                  "..###################....",
                                  "..###################....",
                                  "..###################....",
                                  "...#################.....",
                                  "...#################.....",
                                  "....###############......",
                                  "......###########........",
                                  ".........................",
                              }));
}

TEST(Lines, ZeroLengthWideLineIsARoundDot) {
    // A press with the pen draws a zero-length segment; it leaves a dot of the pen's width.
    Drawing d(9, 9);
    d.canvas.setPen(0x000000, Mix::Copy, 7);
    d.canvas.Line(4, 4, 4, 4);
    EXPECT_EQ(art(d.picture), rows({
                                  ".........",
                                  "...###...",
                                  "..#####..",
                                  ".#######.",
                                  ".#######.",
                                  ".#######.",
                                  "..#####..",
                                  "...###...",
                                  ".........",
                              }));
}

TEST(Rectangles, OnePixelOutlineCoversLeftToRightMinusOne) {
    Drawing d(6, 6);
    d.canvas.Rectangle(1, 1, 4, 4);
    EXPECT_EQ(art(d.picture), rows({"......", ".###..", ".#.#..", ".###..", "......", "......"}));
}

TEST(Rectangles, CornersInAnyOrderGiveTheSameBox) {
    Drawing a(6, 6), b(6, 6), c(6, 6);
    a.canvas.Rectangle(1, 1, 4, 4);
    b.canvas.Rectangle(4, 4, 1, 1);
    c.canvas.Rectangle(4, 1, 1, 4);
    EXPECT_TRUE(testsupport::samePixels(a.picture, b.picture));
    EXPECT_TRUE(testsupport::samePixels(a.picture, c.picture));
}

TEST(Rectangles, EmptyBoxDrawsNothingWhateverThePen) {
    for (int width : {1, 13}) {
        Drawing d(9, 9);
        d.canvas.setPen(0x000000, Mix::Copy, width);
        d.canvas.Rectangle(4, 2, 4, 7);
        d.canvas.Ellipse(2, 4, 7, 4);
        EXPECT_EQ(art(d.picture), art(blank(9, 9))) << "width " << width;
    }
}

TEST(Rectangles, WidePenIsCentredOnTheOutline) {
    Drawing d(13, 12);
    d.canvas.setPen(0x000000, Mix::Copy, 3);
    d.canvas.Rectangle(2, 2, 10, 9);
    EXPECT_EQ(art(d.picture), rows({
                                  ".............",
                                  ".##########..",
                                  ".##########..",
                                  ".##########..",
                                  ".###....###..",
                                  ".###....###..",
                                  ".###....###..",
                                  ".##########..",
                                  ".##########..",
                                  ".##########..",
                                  ".............",
                                  ".............",
                              }));
}

TEST(Rectangles, WidePenRoundsTheOuterCornersLikeItsEnds) {
    // Path x 4..14, y 4..13; pen 7 reaches 3 pixels either side, the corners follow a disc.
    Drawing d(19, 18);
    d.canvas.setPen(0x000000, Mix::Copy, 7);
    d.canvas.Rectangle(15, 14, 4, 4);
    EXPECT_EQ(art(d.picture), rows({
                                  "...................",
                                  "...#############...",
                                  "..###############..",
                                  ".#################.",
                                  ".#################.",
                                  ".#################.",
                                  ".#################.",
                                  ".#################.",
                                  ".#######...#######.",
                                  ".#######...#######.",
                                  ".#################.",
                                  ".#################.",
                                  ".#################.",
                                  ".#################.",
                                  ".#################.",
                                  "..###############..",
                                  "...#############...",
                                  "...................",
                              }));
}

TEST(Rectangles, SolidBrushFillsTheInteriorAndClearBrushNothing) {
    Drawing d(7, 6);
    d.canvas.setBrush(Brush::solidColour(0x0000FF));
    d.canvas.Rectangle(1, 1, 6, 5);
    d.canvas.setBrush(Brush::clear());
    d.canvas.setPen(0xFF0000, Mix::Copy, 1);
    d.canvas.Rectangle(0, 0, 0, 0);
    EXPECT_EQ(art(d.picture),
              rows({".......", ".#####.", ".#rrr#.", ".#rrr#.", ".#####.", "......."}));
}

TEST(Ellipses, FiveByFiveBoxGivesARoundedSquare) {
    Drawing d(7, 6);
    d.canvas.Ellipse(1, 0, 6, 5);
    EXPECT_EQ(art(d.picture),
              rows({"..###..", ".#...#.", ".#...#.", ".#...#.", "..###..", "......."}));
}

TEST(Ellipses, EvenAndFlatBoxesTouchAllFourSides) {
    Drawing even(6, 5), flat(9, 3), narrow(3, 5);
    even.canvas.Ellipse(1, 0, 5, 4);
    flat.canvas.Ellipse(0, 0, 9, 2);
    narrow.canvas.Ellipse(1, 0, 2, 5);
    EXPECT_EQ(art(even.picture), rows({"..##..", ".#..#.", ".#..#.", "..##..", "......"}));
    EXPECT_EQ(art(flat.picture), rows({"#########", "#########", "........."}));
    EXPECT_EQ(art(narrow.picture), rows({".#.", ".#.", ".#.", ".#.", ".#."}));
}

TEST(Ellipses, WidePenCoversTheRingAroundTheOutline) {
    // Box x 2..12, y 2..10: a 3-pixel pen lies one pixel outside and one inside the thin
    // outline, at the sides as at the top.
    Drawing d(15, 13);
    d.canvas.setPen(0x000000, Mix::Copy, 3);
    d.canvas.Ellipse(2, 2, 13, 11);
    EXPECT_EQ(art(d.picture), rows({
                                  "...............",
                                  ".....#####.....",
                                  "...#########...",
                                  "..###########..",
                                  ".####.....####.",
                                  ".###.......###.",
                                  ".###.......###.",
                                  ".###.......###.",
                                  ".####.....####.",
                                  "..###########..",
                                  "...#########...",
                                  ".....#####.....",
                                  "...............",
                              }));
}

TEST(Ellipses, SolidBrushFillsInsideTheOutline) {
    Drawing d(7, 7);
    d.canvas.setBrush(Brush::solidColour(0x0000FF));
    d.canvas.Ellipse(0, 0, 7, 7);
    EXPECT_EQ(art(d.picture), rows({
                                  "..###..",
                                  ".#rrr#.",
                                  "#rrrrr#",
                                  "#rrrrr#",
                                  "#rrrrr#",
                                  ".#rrr#.",
                                  "..###..",
                              }));
}

TEST(Polylines, OnePixelPolylineTakesTheMixOncePerPixel) {
    // The last segment crosses the first at (2, 2), and the second starts where the first
    // leaves off: inverted once each, those pixels are black.
    Drawing d(5, 5);
    d.canvas.setPen(0x000000, Mix::Not, 1);
    d.canvas.Polyline({QPoint(0, 2), QPoint(4, 2), QPoint(2, 0), QPoint(2, 4)});
    EXPECT_EQ(art(d.picture), rows({"..#..", "..##.", "#####", "..#..", "....."}));
}

TEST(Polylines, WideInvertPolylineWithRoundJoinsInvertsEachPixelOnce) {
    Drawing d(21, 21);
    d.canvas.setPen(0x000000, Mix::Not, 7);
    d.canvas.Polyline({QPoint(4, 4), QPoint(16, 4), QPoint(4, 16), QPoint(16, 16)});
    // Every covered pixel went from white to black; none was inverted back.
    int black = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x) {
            ASSERT_TRUE(d.picture.pixel(x, y) == kWhite || d.picture.pixel(x, y) == kBlack);
            black += d.picture.pixel(x, y) == kBlack;
        }
    EXPECT_GT(black, 3 * 12 * 7);
    EXPECT_EQ(d.picture.pixel(10, 10), kBlack); // the diagonal crosses the centre
}

TEST(Mixes, MaskGivesTheColourOverWhiteAndKeepsBlack) {
    QImage picture = blank(4, 1);
    picture.setPixel(2, 0, kBlack);
    Canvas canvas(picture);
    canvas.setPen(0x00FFFF, Mix::Mask, 1); // yellow
    canvas.Line(0, 0, 4, 0);
    EXPECT_EQ(art(picture), rows({"yy#y"}));
    const QImage once = picture.copy();
    canvas.Line(0, 0, 4, 0);
    EXPECT_TRUE(testsupport::samePixels(once, picture));
}

TEST(Mixes, EveryMixKeepsThePictureOpaque) {
    EXPECT_EQ(masksFor(Mix::Not, 0), (MixMasks{0xFFFFFFFFu, 0x00FFFFFFu}));
    QImage picture = blank(5, 1, 0xFF123456);
    Canvas canvas(picture);
    const Mix mixes[] = {Mix::Black, Mix::Copy, Mix::Mask, Mix::Not, Mix::White};
    const QRgb expected[] = {0xFF000000, 0xFF0F0FFF, 0xFF020456, 0xFFEDCBA9, 0xFFFFFFFF};
    for (int i = 0; i < 5; ++i) {
        canvas.setPen(0xFF0F0F, mixes[i], 1); // blue 0xFF, green and red 0x0F
        canvas.Line(i, 0, i + 1, 0);
        EXPECT_EQ(picture.pixel(i, 0), expected[i]) << "mix " << i;
    }
}

TEST(Touched, ReportsTheBoxOfEverythingWrittenUntilTaken) {
    Drawing d(20, 20);
    d.canvas.Line(2, 3, 6, 3);
    d.canvas.setPen(0x000000, Mix::Copy, 5);
    d.canvas.Line(10, 10, 12, 10);
    EXPECT_EQ(d.canvas.takeTouched(), (Rect{2, 3, 15, 13}));
    EXPECT_TRUE(d.canvas.touched().isEmpty());
    d.canvas.Line(-50, -50, -40, -40); // entirely outside
    EXPECT_TRUE(d.canvas.takeTouched().isEmpty());
}

TEST(Robustness, NullPictureAndExtremeCoordinatesAreHarmless) {
    QImage none;
    Canvas empty(none);
    empty.setPen(0, Mix::Not, 13);
    empty.Line(0, 0, 100, 100);
    empty.Ellipse(0, 0, 10, 10);
    empty.TextOut(0, 0, "x");
    EXPECT_TRUE(empty.touched().isEmpty());

    Drawing d(9, 7);
    d.canvas.setPen(0x000000, Mix::Copy, 13);
    d.canvas.Line(INT32_MIN, 3, INT32_MAX, 3);
    d.canvas.setPen(0x000000, Mix::Copy, 1);
    d.canvas.Line(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    d.canvas.Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    d.canvas.Ellipse(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    d.canvas.Ellipse(-1, -1, -1, -1);
    EXPECT_EQ(d.picture.pixel(4, 3), kBlack);
    // The wide line fills the picture: 13 pixels reach rows -3..9.
    EXPECT_EQ(d.picture.pixel(0, 0), kBlack);
    EXPECT_EQ(d.picture.pixel(8, 6), kBlack);
}
