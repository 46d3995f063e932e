// A rubber band moved in one pass must leave the picture exactly as removing the old outline
// and drawing the new one would; a rectangle's must also report every pixel it changed.
#include "raster/canvas.h"
#include "raster/outline_change.h"
#include "raster/shape_scan.h"
#include "raster_test_support.h"

#include <gtest/gtest.h>
#include <random>
#include <sstream>

using namespace raster;
using namespace rastertest;

namespace {

struct Band {
    int x1, y1, x2, y2;
    bool ellipse = false;

    void drawInverted(Canvas& canvas) const {
        canvas.setPen(0, Mix::Not, 1);
        canvas.setBrush(Brush::clear());
        if (ellipse)
            canvas.Ellipse(x1, y1, x2, y2);
        else
            canvas.Rectangle(x1, y1, x2, y2);
    }
    Rect box() const { return normalisedBox(x1, y1, x2, y2); }
    std::string describe() const {
        std::ostringstream text;
        text << "(" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ")";
        return text.str();
    }
};

bool covered(const std::vector<Rect>& boxes, int x, int y) {
    return std::any_of(boxes.begin(), boxes.end(),
                       [&](const Rect& box) { return box.contains(x, y); });
}

QImage moved(QImage picture, const Band& from, const Band& to, std::vector<Rect>& changed) {
    if (to.ellipse)
        invertEllipseOutlineChange(PixelView::of(picture), from.box(), to.box());
    else
        invertRectangleOutlineChange(PixelView::of(picture), from.box(), to.box(), changed);
    return picture;
}

class OutlineChange : public testing::TestWithParam<bool> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(Shapes, OutlineChange, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& shape) {
                             return std::string(shape.param ? "Ellipse" : "Rectangle");
                         });

TEST_P(OutlineChange, EqualsRemovingTheOldOutlineAndDrawingTheNewOne) {
    const bool ellipse = GetParam();
    std::mt19937 random(21);
    auto pick = [&](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(random);
    };
    // Mostly a hand's small moves of one corner; sometimes any box, across the edges or far
    // outside the picture.
    auto coordinate = [&](int size) {
        switch (pick(8)) {
        case 0:
            return pick(2) ? INT32_MIN + pick(3) : INT32_MAX - pick(3);
        case 1:
            return -1;
        default:
            return -20 + pick(size + 40);
        }
    };
    const int width = 53, height = 41;
    for (int i = 0; i < 3000; ++i) {
        const Band from{coordinate(width), coordinate(height), coordinate(width),
                        coordinate(height), ellipse};
        Band to = from;
        if (pick(4) == 0) {
            to = {coordinate(width), coordinate(height), coordinate(width), coordinate(height),
                  ellipse};
        } else if (ellipse && pick(3) == 0) {
            // The anchor may be any corner: the other corner moves.
            to.x1 =
                int(std::clamp<std::int64_t>(std::int64_t(to.x1) + pick(9) - 4, -30, width + 30));
            to.y1 =
                int(std::clamp<std::int64_t>(std::int64_t(to.y1) + pick(9) - 4, -30, height + 30));
        } else {
            to.x2 = int(
                std::clamp<std::int64_t>(std::int64_t(to.x2) + pick(9) - 4, INT32_MIN, INT32_MAX));
            to.y2 = int(
                std::clamp<std::int64_t>(std::int64_t(to.y2) + pick(9) - 4, INT32_MIN, INT32_MAX));
        }
        QImage before(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                before.setPixel(x, y, 0xFF000000u | (std::uint32_t(random()) & 0xFFFFFF));

        QImage expected = before.copy();
        Canvas canvas(expected);
        from.drawInverted(canvas);
        to.drawInverted(canvas);
        std::vector<Rect> changed;
        const QImage actual = moved(before, from, to, changed);

        const std::string what =
            "case " + std::to_string(i) + ": " + from.describe() + " to " + to.describe();
        ASSERT_TRUE(testsupport::samePixels(expected, actual)) << what;
        if (ellipse)
            continue; // the engine reports the ellipse's own strips
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (actual.pixel(x, y) != before.pixel(x, y)) {
                    ASSERT_TRUE(covered(changed, x, y))
                        << what << ": (" << x << "," << y << ") changed unreported";
                }
    }
}

TEST(RectangleOutlineChange, AGrowingRectangleLeavesItsAnchoredEdgesAlone) {
    // The box grows one pixel to the right: its right column moves, its top and bottom
    // rows get one pixel longer, and the left column is neither written nor reported.
    std::vector<Rect> changed;
    const QImage grown = moved(blank(8, 6), {1, 1, 5, 5}, {1, 1, 6, 5}, changed);
    EXPECT_EQ(art(grown), rows({"........", //
                                ".....#..", //
                                "....##..", //
                                "....##..", //
                                ".....#..", //
                                "........"}));
    for (int y = 2; y <= 3; ++y)
        EXPECT_FALSE(covered(changed, 1, y)) << "row " << y;
}

TEST(EllipseOutlineChange, ADraggedRubberBandLeavesOnlyItsLastOutline) {
    // Each move takes off the outline drawn one move before: back and forth between boxes,
    // boxes of one size at other places, across the picture's edge and back.
    const std::vector<Band> path = {
        {5, 5, 40, 30, true}, {5, 5, 43, 32, true}, {5, 5, 40, 30, true}, {9, 7, 44, 32, true},
        {5, 5, 40, 30, true}, {44, 32, 9, 7, true}, {5, 5, 60, 30, true}, {5, 5, 41, 31, true},
        {40, 30, 5, 5, true}, {6, 6, 7, 7, true},   {6, 6, 6, 40, true},  {-3, 5, 20, 20, true},
        {5, 5, 20, 20, true}, {20, 20, 5, 5, true}, {5, 5, 21, 20, true}};
    QImage picture = blank(53, 41);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, 0xFF000000u | std::uint32_t(x * 4099 + y * 131));
    QImage expected = picture.copy();
    Canvas drawn(expected);
    path.back().drawInverted(drawn);

    Canvas canvas(picture);
    path.front().drawInverted(canvas);
    for (size_t i = 1; i < path.size(); ++i)
        invertEllipseOutlineChange(PixelView::of(picture), path[i - 1].box(), path[i].box());
    EXPECT_TRUE(testsupport::samePixels(expected, picture));
}
