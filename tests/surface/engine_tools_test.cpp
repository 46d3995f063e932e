// The engine without windows: tool symbols under the invert discipline, the committed
// figures of every tool, Shift constraints in a drag, stamps, eraser and pen.
#include "engine_fixture.h"

#include "surface/arrow_geometry.h"

#include <QPointF>
#include <algorithm>
#include <cmath>
#include <vector>

using testsupport::samePixels;

namespace {
const int kAllTools[] = {ToolPen,  ToolEraser, ToolLine,  ToolRectangle,   ToolArrow,
                         ToolText, ToolCheck,  ToolCross, ToolDoubleArrow, ToolEllipse};
}

TEST_F(EngineTest, HoveringWithEveryToolLeavesThePictureUnchangedOnceParked) {
    for (int width : {3, 21, 43}) {
        for (int tool : kAllTools) {
            SCOPED_TRACE(testing::Message() << "tool " << tool << ", width " << width);
            // Wide enough for the widest eraser box (397 x 297) to show.
            start(noisyCapture(421, 311, tool * 100 + width));
            state.PenWidth = width;
            choose(tool);
            surface.RefreshToolSymbol({30, 20});
            // Points inside, on the edges and off the picture.
            for (QPoint p : {QPoint(30, 20), QPoint(0, 0), QPoint(420, 310), QPoint(3, 308),
                             QPoint(-5, 10), QPoint(430, 320), QPoint(211, 151)})
                hover(p.x(), p.y());
            EXPECT_FALSE(samePixels(capture, surface.Picture()))
                << "the symbol shows while hovering";
            surface.ParkToolSymbol();
            EXPECT_TRUE(samePixels(capture, surface.Picture()));
            EXPECT_EQ(surface.CurrentPoint, DrawingSurface::kNoPoint);
        }
    }
}

TEST_F(EngineTest, ClickWithoutMovementCommitsAZeroLengthLineAndADegenerateRectangle) {
    // A 13-pixel pen's zero-length line is a round dot: the pixels whose centres lie within
    // 6.5 of the click. The rectangle's box has no pixels, so it draws nothing.
    const QString dot = changedArt({
        ".....#####.....",
        "...#########...",
        "..###########..",
        "..###########..",
        ".#############.",
        ".#############.",
        ".#############.",
        ".#############.",
        ".#############.",
        "..###########..",
        "..###########..",
        "...#########...",
        ".....#####.....",
    });
    for (int tool : {ToolLine, ToolRectangle}) {
        SCOPED_TRACE(testing::Message() << "tool " << tool);
        start(noisyCapture(61, 47));
        state.PenWidth = 13;
        choose(tool);
        hover(20, 20);
        press(20, 20);
        release(20, 20);
        if (tool == ToolLine) {
            EXPECT_EQ(changedArt(surface.Picture(), QRect(13, 14, 15, 13)), dot);
            EXPECT_EQ(changedPixels(surface.Picture()), QRect(14, 14, 13, 13));
            EXPECT_TRUE(everyChangedPixelIs(surface.Picture(), 0xFFFF0000u));
        } else {
            EXPECT_TRUE(samePixels(capture, surface.Picture()));
        }
        EXPECT_EQ(surface.AnchorPoint, DrawingSurface::kNoPoint);
        EXPECT_EQ(surface.CurrentPoint, DrawingSurface::kNoPoint)
            << "no symbol until the next move";
    }
}

TEST_F(EngineTest, EveryShapeCommitsItsFigureWithTheStrokePenAndNoRubberBandLeft) {
    // Dragged from (8, 9) and released at (50, 38) with a yellow mask pen 3 pixels wide:
    // every changed pixel is the capture masked with yellow (a pixel of a rubber band left
    // inverted never is), and the figure runs through the points it must and misses the
    // ones it must not.
    struct Case {
        int tool;
        std::vector<QPoint> on, off;
    };
    const std::vector<QPoint> ends = {{8, 9}, {50, 38}, {29, 23}, {29, 24}};
    const std::vector<QPoint> corners = {{8, 38}, {50, 9}};
    const Case cases[] = {
        {ToolLine, ends, corners},
        {ToolArrow, ends, corners},
        {ToolDoubleArrow, ends, corners},
        // Box [8, 50) x [9, 38): the pen is centred on its outer pixels, corners rounded.
        {ToolRectangle,
         {{8, 9}, {49, 9}, {8, 37}, {49, 37}, {50, 38}, {29, 8}},
         {{29, 23}, {51, 39}}},
        // Touching each side of the box in its middle, not its corners.
        {ToolEllipse,
         {{28, 9}, {29, 9}, {8, 23}, {49, 23}, {28, 37}},
         {{8, 9}, {49, 37}, {29, 23}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "tool " << c.tool);
        start(noisyCapture(61, 47, c.tool));
        state.PenMode = PenMix::pmMask;
        state.PenColour = rgbColour(255, 255, 0);
        choose(c.tool);
        hover(8, 9);
        press(8, 9);
        for (int x = 10; x < 50; x += 7)
            drag(x, x - 5);
        EXPECT_FALSE(samePixels(capture, surface.Picture()));
        release(50, 38);
        const QImage& shown = surface.Picture();
        EXPECT_TRUE(everyChangedPixelIs(shown, [](QRgb was) { return was & 0xFFFFFF00u; }));
        for (QPoint p : c.on)
            EXPECT_NE(shown.pixel(p), capture.pixel(p)) << "(" << p.x() << "," << p.y() << ")";
        for (QPoint p : c.off)
            EXPECT_EQ(shown.pixel(p), capture.pixel(p)) << "(" << p.x() << "," << p.y() << ")";
    }
}

TEST_F(EngineTest, ShiftSnapsADraggedLineAndReleasingShiftBringsTheEndBack) {
    hover(10, 10);
    press(10, 10);
    drag(40, 14, true); // shallow: horizontal
    EXPECT_EQ(surface.CurrentPoint, QPoint(40, 10));
    drag(30, 33, true); // near 45 degrees: m = nearest((20 + 23) / 2) = 22 (21.5, halves to even)
    EXPECT_EQ(surface.CurrentPoint, QPoint(32, 32));
    surface.KeyDownWithShift(); // Shift auto-repeat at the constrained point changes nothing
    EXPECT_EQ(surface.CurrentPoint, QPoint(32, 32));
    surface.ShiftKeyUp({30, 33});
    EXPECT_EQ(surface.CurrentPoint, QPoint(30, 33));
    release(30, 33);
    QImage want = expected([&](raster::Canvas& c) {
        ApplyStrokePen(c, state);
        c.Line(10, 10, 30, 33);
    });
    EXPECT_TRUE(samePixels(want, surface.Picture()));
}

TEST_F(EngineTest, ShiftMakesA100By40RectangleDragA40By40SquareOnThePointersSide) {
    start(noisyCapture(150, 60));
    choose(ToolRectangle);
    hover(120, 50);
    press(120, 50);
    drag(20, 10);
    surface.KeyDownWithShift(); // Shift pressed during the drag
    release(20, 10, true);
    QImage want = expected([&](raster::Canvas& c) {
        ApplyStrokePen(c, state);
        c.Rectangle(120, 50, 80, 10);
    });
    EXPECT_TRUE(samePixels(want, surface.Picture()));
}

TEST_F(EngineTest, DoubleArrowRubberBandShowsOneShaft) {
    start(QImage(61, 47, QImage::Format_RGB32));
    capture.fill(Qt::white);
    surface.StartPhase(capture);
    choose(ToolDoubleArrow);
    press(5, 20);
    drag(55, 20);
    // An inverted shaft drawn twice would cancel out; the middle of the shaft must show.
    EXPECT_EQ(surface.Picture().pixel(30, 20) & 0xFFFFFF, 0x000000u);
    // Both heads are mirror images of each other through the middle of the shaft.
    ArrowBarbs tip = arrowBarbs(5, 20, 55, 20, arrowHeadLength(3));
    ArrowBarbs tail = arrowBarbs(55, 20, 5, 20, arrowHeadLength(3));
    auto mirrored = [](QPoint p) {
        return QPoint(60 - p.x(), p.y());
    };
    EXPECT_TRUE((mirrored(tail.first) == tip.first && mirrored(tail.second) == tip.second) ||
                (mirrored(tail.first) == tip.second && mirrored(tail.second) == tip.first));
}

TEST_F(EngineTest, CheckToolStampsOncePerPressAtThePressPoint) {
    start(noisyCapture(120, 90));
    state.PenWidth = 7;
    state.PenMode = PenMix::pmMask; // the stamp ignores the pen's colour and mix
    choose(ToolCheck);
    hover(40, 40);
    press(40, 40);
    drag(70, 60);
    drag(80, 70);
    release(80, 70);
    surface.ParkToolSymbol();
    int points = toolSizesFor(7).stampFontPoints;
    QImage once =
        expected([&](raster::Canvas& c) { StampSymbol(c, 40, 40, StampKind::Check, points); });
    EXPECT_TRUE(samePixels(once, surface.Picture()));

    press(80, 70);
    release(80, 70);
    surface.ParkToolSymbol();
    QImage twice = expected(
        [&](raster::Canvas& c) { StampSymbol(c, 80, 70, StampKind::Check, points); }, &once);
    EXPECT_TRUE(samePixels(twice, surface.Picture()));
}

TEST_F(EngineTest, StampsAreOpaqueGreenAndRedWithABlackShadow) {
    start(QImage(120, 120, QImage::Format_RGB32));
    capture.fill(Qt::white);
    surface.StartPhase(capture);
    state.PenWidth = 21;
    state.PenMode = PenMix::pmMask;
    state.PenColour = rgbColour(0, 0, 255);
    for (int tool : {ToolCheck, ToolCross}) {
        surface.StartPhase(capture);
        choose(tool);
        press(60, 60);
        release(60, 60);
        surface.ParkToolSymbol();
        QRgb colour = tool == ToolCheck ? qRgb(0, 196, 0) : qRgb(220, 0, 0);
        int coloured = 0, black = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 120; ++x) {
                QRgb p = surface.Picture().pixel(x, y) | 0xFF000000u;
                coloured += p == (colour | 0xFF000000u);
                black += p == qRgb(0, 0, 0);
            }
        EXPECT_GT(coloured, 50) << "tool " << tool;
        EXPECT_GT(black, 5) << "tool " << tool;
    }
}

TEST_F(EngineTest, EraserRestoresExactlyTheCapturedBlock) {
    state.PenWidth = 3; // w 14, h 10: a 29 x 21 block
    state.PenColour = rgbColour(0, 0, 255);
    state.Tool = ToolPen;
    for (int y = 5; y < 45; y += 4)
        stroke({2, y}, {58, y});
    surface.ParkToolSymbol();
    QImage drawn = surface.Picture().copy();

    choose(ToolEraser);
    hover(30, 20);
    press(30, 20);
    release(30, 20);
    surface.ParkToolSymbol();
    QImage want = drawn.copy();
    for (int y = 10; y <= 30; ++y)
        for (int x = 16; x <= 44; ++x)
            want.setPixel(x, y, capture.pixel(x, y));
    EXPECT_TRUE(samePixels(want, surface.Picture()));
}

TEST_F(EngineTest, EraserWhereNothingWasDrawnChangesNothing) {
    choose(ToolEraser);
    stroke({10, 10}, {50, 35});
    surface.ParkToolSymbol();
    EXPECT_TRUE(samePixels(capture, surface.Picture()));
}

TEST_F(EngineTest, PenDrawsSegmentsBetweenEventPoints) {
    state.PenWidth = 7;
    choose(ToolPen);
    hover(5, 5);
    press(5, 5);
    drag(30, 10);
    drag(40, 40);
    release(40, 40);
    surface.ParkToolSymbol();
    // The stroke covers the pixels within 3.5 of the path (5, 5) - (30, 10) - (40, 40) in red
    // and no others: not the straight way from the first point to the last.
    auto distance = [](QPointF p, QPointF a, QPointF b) {
        const QPointF ab = b - a;
        const double t =
            std::clamp(QPointF::dotProduct(p - a, ab) / QPointF::dotProduct(ab, ab), 0.0, 1.0);
        const QPointF gap = p - (a + t * ab);
        return std::sqrt(QPointF::dotProduct(gap, gap));
    };
    const QImage& shown = surface.Picture();
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QPointF p(x, y);
            const double d =
                std::min(distance(p, {5, 5}, {30, 10}), distance(p, {30, 10}, {40, 40}));
            if (std::abs(d - 3.5) < 0.01)
                continue; // exactly on the pen's edge
            const QRgb want = d < 3.5 ? 0xFFFF0000u : capture.pixel(x, y);
            ASSERT_EQ(shown.pixel(x, y), want) << "(" << x << "," << y << ") at " << d;
        }
}

TEST_F(EngineTest, TransparentStrokeTwiceLooksLikeOnce) {
    state.PenMode = PenMix::pmMask;
    state.PenColour = rgbColour(255, 255, 0);
    state.PenWidth = 13;
    choose(ToolPen);
    stroke({5, 30}, {55, 10});
    surface.ParkToolSymbol();
    QImage once = surface.Picture().copy();
    stroke({5, 30}, {55, 10});
    surface.ParkToolSymbol();
    EXPECT_TRUE(samePixels(once, surface.Picture()));
}

TEST_F(EngineTest, NoToolChosenChangesNothing) {
    choose(ToolNone);
    surface.RefreshToolSymbol({10, 10});
    stroke({10, 10}, {40, 30});
    surface.KeyDownWithShift();
    surface.ShiftKeyUp({20, 20});
    EXPECT_TRUE(samePixels(capture, surface.Picture()));
}

TEST_F(EngineTest, ParkingDuringADragDropsTheShapeAndTheNextHeldMoveStartsANewOne) {
    hover(10, 10);
    press(10, 10);
    drag(40, 30);
    // A tool shortcut while the button is still down.
    choose(ToolLine);
    surface.RefreshToolSymbol({40, 30});
    surface.ParkToolSymbol();
    EXPECT_TRUE(samePixels(capture, surface.Picture())) << "nothing drawn towards (-1, -1)";
    surface.KeyDownWithShift(); // Shift with no symbol shown: nothing to constrain
    EXPECT_TRUE(samePixels(capture, surface.Picture()));
    drag(20, 25);
    drag(50, 25);
    release(50, 25);
    QImage want = expected([&](raster::Canvas& c) {
        ApplyStrokePen(c, state);
        c.Line(20, 25, 50, 25);
    });
    EXPECT_TRUE(samePixels(want, surface.Picture()));
}

TEST_F(EngineTest, OutputPictureHasNoSymbolOrRubberBand) {
    choose(ToolEllipse);
    hover(10, 10);
    press(10, 10);
    drag(50, 40);
    EXPECT_FALSE(samePixels(capture, surface.Picture()));
    EXPECT_TRUE(samePixels(capture, surface.PictureForOutput()));
    release(50, 40);
    hover(20, 20);
    QImage want = expected([&](raster::Canvas& c) {
        ApplyStrokePen(c, state);
        c.Ellipse(10, 10, 50, 40);
    });
    EXPECT_TRUE(samePixels(want, surface.PictureForOutput()));
    EXPECT_FALSE(samePixels(want, surface.Picture())) << "the screen keeps its symbol";
}

TEST_F(EngineTest, ReportedRectanglesCoverEveryChangedPixelAndStayThin) {
    start(noisyCapture(801, 601));
    std::vector<QRect> reported;
    surface.pictureChanged = [&](const QRect& r) {
        reported.push_back(r);
    };
    for (int tool : {ToolLine, ToolArrow, ToolDoubleArrow, ToolRectangle, ToolEllipse, ToolPen,
                     ToolEraser, ToolCheck, ToolText}) {
        SCOPED_TRACE(testing::Message() << "tool " << tool);
        choose(tool);
        hover(50, 40);
        press(50, 40);
        drag(700, 500);
        // A hand's step, a jump that changes the figure's size a lot, and a step that takes
        // the figure partly off the picture.
        for (QPoint to : {QPoint(705, 507), QPoint(300, 200), QPoint(900, 650)}) {
            SCOPED_TRACE(testing::Message() << "to " << to.x() << "," << to.y());
            QImage before = surface.Picture().copy();
            reported.clear();
            drag(to.x(), to.y());
            long long area = 0;
            for (const QRect& r : reported)
                area += static_cast<long long>(r.width()) * r.height();
            if (to == QPoint(705, 507)) { // a pen's long jump is one segment's box
                EXPECT_LT(area, 801 * 601 / 4) << "a move repaints strips, not the whole picture";
            }
            for (int y = 0; y < 601; ++y)
                for (int x = 0; x < 801; ++x)
                    if (before.pixel(x, y) != surface.Picture().pixel(x, y)) {
                        bool covered =
                            std::any_of(reported.begin(), reported.end(),
                                        [&](const QRect& r) { return r.contains(x, y); });
                        ASSERT_TRUE(covered) << "pixel " << x << "," << y << " changed unreported";
                    }
        }
        release(900, 650);
        surface.ParkToolSymbol();
        surface.CloseTextBox();
    }
}

TEST_F(EngineTest, AHeldStepThatSnapsToTheSamePointRedrawsNothing) {
    std::vector<QRect> reported;
    surface.pictureChanged = [&](const QRect& r) {
        reported.push_back(r);
    };
    press(10, 10);
    drag(40, 12, true); // snaps to (40, 10)
    QImage shown = surface.Picture().copy();
    reported.clear();
    drag(40, 14, true);         // snaps to (40, 10) again
    surface.KeyDownWithShift(); // auto-repeat of Shift
    EXPECT_TRUE(reported.empty());
    EXPECT_TRUE(samePixels(shown, surface.Picture()));
    drag(41, 14, true); // a real change still redraws
    EXPECT_FALSE(reported.empty());
    release(41, 14, true);
    QImage want = expected([&](raster::Canvas& c) {
        ApplyStrokePen(c, state);
        c.Line(10, 10, 41, 10);
    });
    EXPECT_TRUE(samePixels(want, surface.Picture()));
}

// A held pointer past the left or top edge is a real position: the strokes run into the
// edge and back, the eraser restores the part of its block on the picture, and a Shift
// rectangle released there is still constrained.
TEST_F(EngineTest, HeldStrokesPastTheLeftAndTopEdgesDrawWhatFallsOnThePicture) {
    const QRgb red = qRgb(255, 0, 0);
    auto unchanged = [&](int x, int y) {
        return surface.Picture().pixel(x, y) == capture.pixel(x, y);
    };
    choose(ToolPen);
    for (const QList<QPoint>& path : {QList<QPoint>{{30, 10}, {-20, 20}, {30, 30}},
                                      QList<QPoint>{{10, 40}, {20, -20}, {30, 40}}}) {
        hover(path[0].x(), path[0].y());
        press(path[0].x(), path[0].y());
        drag(path[1].x(), path[1].y());
        drag(path[2].x(), path[2].y());
        release(path[2].x(), path[2].y());
    }
    surface.ParkToolSymbol();
    // Where each stroke crosses the edge, and not on a shortcut between its ends.
    EXPECT_EQ(surface.Picture().pixel(0, 16), red);
    EXPECT_EQ(surface.Picture().pixel(0, 24), red);
    EXPECT_TRUE(unchanged(30, 20)) << "no line straight from (30,10) to (30,30)";
    EXPECT_EQ(surface.Picture().pixel(17, 0), red);
    EXPECT_EQ(surface.Picture().pixel(23, 0), red);
    EXPECT_TRUE(unchanged(20, 40)) << "no line straight from (10,40) to (30,40)";

    start(noisyCapture(61, 47));
    state.PenWidth = 43; // paints the picture's top-left part red
    stroke({0, 20}, {20, 20});
    state.PenWidth = 3; // an eraser block of 29 x 21
    choose(ToolEraser);
    hover(50, 40);
    press(50, 40);
    drag(-5, 20); // restores columns 0 to 9 of rows 10 to 30
    drag(20, -3); // restores rows 0 to 7 of columns 6 to 34
    release(20, -3);
    surface.ParkToolSymbol();
    for (int y = 0; y < 47; ++y)
        for (int x = 0; x < 35; ++x) {
            const bool erased = (x <= 9 && y >= 10 && y <= 30) || (x >= 6 && y <= 7);
            ASSERT_TRUE(!erased || unchanged(x, y)) << x << "," << y;
        }
    EXPECT_EQ(surface.Picture().pixel(10, 20), red);
    EXPECT_EQ(surface.Picture().pixel(20, 8), red);

    start(noisyCapture(61, 47));
    choose(ToolRectangle);
    hover(30, 20);
    press(30, 20, true);
    drag(-10, 5, true);
    release(-10, 5, true); // the square from (15, 5) to (30, 20)
    surface.ParkToolSymbol();
    EXPECT_EQ(surface.Picture().pixel(15, 12), red);
    EXPECT_TRUE(unchanged(5, 5)) << "the unconstrained box's top edge";
}
