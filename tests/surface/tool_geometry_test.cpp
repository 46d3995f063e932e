// Pure geometry of the tools: derived sizes, Shift constraints and arrow barbs.
#include "surface/arrow_geometry.h"
#include "surface/shift_constraint.h"
#include "surface/tool_sizes.h"

#include <gtest/gtest.h>

TEST(ToolSizes, FollowTheWidthTablesIncludingTheHiddenWidths) {
    struct Row {
        int width, r, w, h, checkK, crossK, head, stampPt, textPt;
    };
    const Row rows[] = {
        {3, 1, 14, 10, 1, 2, 10, 17, 9},          {7, 3, 32, 24, 2, 5, 25, 39, 16},
        {13, 6, 60, 45, 4, 10, 46, 72, 24},       {21, 10, 97, 73, 6, 16, 73, 116, 39},
        {31, 15, 143, 107, 10, 24, 109, 172, 57}, {43, 21, 198, 148, 13, 33, 151, 238, 79},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "width " << row.width);
        ToolSizes s = toolSizesFor(row.width);
        EXPECT_EQ(s.circleRadius, row.r);
        EXPECT_EQ(s.eraserHalfWidth, row.w);
        EXPECT_EQ(s.eraserHalfHeight, row.h);
        EXPECT_EQ(s.checkArm, row.checkK);
        EXPECT_EQ(s.crossArm, row.crossK);
        EXPECT_EQ(s.arrowHeadLength, row.head);
        EXPECT_EQ(s.stampFontPoints, row.stampPt);
        EXPECT_EQ(s.textFontPoints, row.textPt);
    }
}

TEST(ShiftConstraint, LinesSnapToAxesOrTheDiagonal) {
    struct Row {
        QPoint pointer, expected;
    };
    const QPoint a(100, 100);
    const Row rows[] = {
        {{200, 100}, {200, 100}},       // already horizontal
        {{200, 110}, {200, 100}},       // shallow: horizontal
        {{110, 30}, {100, 30}},         // steep upward: vertical
        {{100, 100}, {100, 100}},       // no movement: dx = 0 counts as 90 degrees, stays put
        {{100, 140}, {100, 140}},       // straight down
        {{150, 160}, {155, 155}},       // 50 x 60 is near 45: m = nearest(55) = 55
        {{40, 150}, {45, 155}},         // up-left/down: signs follow the pointer (m = 55)
        {{151, 150}, {150, 150}},       // m = nearest(50.5) = 50, halves to even
        {{153, 150}, {152, 152}},       // m = nearest(51.5) = 52
        {{200, 100 + 36}, {200, 100}},  // 19.8 degrees: outside 27..63, horizontal
        {{200, 100 + 33}, {200, 100}},  // 18.3 degrees: horizontal
        {{200, 100 + 51}, {176, 176}},  // 27.0 degrees: just inside, diagonal (m = 75.5 -> 76)
        {{200, 200 + 100}, {100, 300}}, // 63.4 degrees: outside, vertical
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "pointer " << row.pointer.x() << "," << row.pointer.y());
        QPoint got = constrainToAxisOrDiagonal(a, row.pointer);
        EXPECT_EQ(got, row.expected) << "got " << got.x() << "," << got.y();
    }
}

TEST(ShiftConstraint, EqualAxesGiveTheDiagonalInEveryQuadrant) {
    // |dx| = |dy| is exactly 45 degrees: the diagonal, whatever the quadrant.
    EXPECT_EQ(constrainToAxisOrDiagonal({0, 0}, {-7, 7}), QPoint(-7, 7));
    EXPECT_EQ(constrainToAxisOrDiagonal({0, 0}, {7, -7}), QPoint(7, -7));
}

TEST(ShiftConstraint, ShapesBecomeSquaresOnThePointersSide) {
    EXPECT_EQ(constrainToSquare({10, 10}, {110, 50}), QPoint(50, 50));  // 100 x 40 -> 40 x 40
    EXPECT_EQ(constrainToSquare({10, 10}, {-90, 50}), QPoint(-30, 50)); // to the left
    EXPECT_EQ(constrainToSquare({10, 10}, {50, -90}), QPoint(50, -30)); // upwards
    EXPECT_EQ(constrainToSquare({10, 10}, {10, 80}), QPoint(10, 10));   // no width: a point
}

TEST(ShiftConstraint, FarPointsDoNotOverflow) {
    QPoint far(2000000000, -2000000000);
    EXPECT_EQ(constrainToSquare({-2000000000, 2000000000}, far), far);
    EXPECT_EQ(constrainToAxisOrDiagonal({0, 0}, {2000000000, 5}), QPoint(2000000000, 0));
}

TEST(ArrowBarbs, HeadOfWidth3PointingDownIsSymmetric) {
    ArrowBarbs b = arrowBarbs(50, 10, 50, 90, 10);
    EXPECT_EQ(b.first, QPoint(47, 81));
    EXPECT_EQ(b.second, QPoint(53, 81));
}

TEST(ArrowBarbs, HeadOfWidth21) {
    ArrowBarbs right = arrowBarbs(0, 0, 100, 0, 73);
    EXPECT_EQ(right.first, QPoint(31, 25));
    EXPECT_EQ(right.second, QPoint(31, -25));
    ArrowBarbs down = arrowBarbs(50, 10, 50, 90, 73);
    EXPECT_EQ(down.first, QPoint(25, 21));
    EXPECT_EQ(down.second, QPoint(75, 21));
    // Diagonal both ways: the heads are mirror images through the shaft.
    ArrowBarbs downRight = arrowBarbs(0, 0, 100, 100, 73);
    EXPECT_EQ(downRight.first, QPoint(34, 69));
    EXPECT_EQ(downRight.second, QPoint(69, 34));
    ArrowBarbs upLeft = arrowBarbs(100, 100, 0, 0, 73);
    EXPECT_EQ(upLeft.first, QPoint(66, 31));
    EXPECT_EQ(upLeft.second, QPoint(31, 66));
}

TEST(ArrowBarbs, ClickWithoutMovementPointsUp) {
    ArrowBarbs b = arrowBarbs(20, 20, 20, 20, 10);
    EXPECT_EQ(b.first, QPoint(23, 29));
    EXPECT_EQ(b.second, QPoint(17, 29));
}
