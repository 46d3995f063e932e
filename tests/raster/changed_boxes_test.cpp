// What a moving rubber band reports for repainting: boxes that cover every pixel the move
// changed, and that hug the figure rather than its bounding box.
#include "raster/canvas.h"
#include "raster/ellipse_outline.h"
#include "raster/line_scan.h"
#include "raster/shape_scan.h"
#include "raster_test_support.h"

#include <gtest/gtest.h>
#include <random>

using namespace raster;
using namespace rastertest;

namespace {

// The first changed pixel no box covers, or none.
std::optional<QPoint> uncovered(const QImage& before, const QImage& after,
                                const std::vector<Rect>& boxes) {
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y) &&
                std::none_of(boxes.begin(), boxes.end(),
                             [&](const Rect& box) { return box.contains(x, y); }))
                return QPoint(x, y);
    return std::nullopt;
}

std::int64_t areaOf(const std::vector<Rect>& boxes) {
    std::int64_t area = 0;
    for (const Rect& box : boxes)
        area += box.width() * box.height();
    return area;
}

} // namespace

TEST(ChangedBoxes, CoverEveryPixelThatAnEllipseMoveOrALineChanges) {
    std::mt19937 random(5);
    auto pick = [&](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(random);
    };
    const int width = 67, height = 45;
    const Rect bounds{0, 0, width, height};
    // Inside, across the edges and past them.
    auto x = [&] {
        return -30 + pick(width + 60);
    };
    auto y = [&] {
        return -30 + pick(height + 60);
    };
    for (int i = 0; i < 1500; ++i) {
        const QImage before = blank(width, height, kBlack);
        const Rect from = normalisedBox(x(), y(), x(), y());
        const Rect to = pick(3) == 0 ? normalisedBox(x(), y(), x(), y())
                                     : Rect{from.left, from.top, from.right + pick(7) - 3,
                                            from.bottom + pick(7) - 3};
        EllipseOutline old, now;
        old.trace(from, bounds);
        now.trace(to, bounds);
        QImage moved = before.copy();
        std::vector<Rect> boxes;
        invertEllipseOutlineChange(PixelView::of(moved), old, now, boxes);
        const auto missed = uncovered(before, moved, boxes);
        ASSERT_FALSE(missed) << "ellipse " << i << ": (" << missed->x() << "," << missed->y()
                             << ") changed unreported";

        const int x1 = x(), y1 = y(), x2 = x(), y2 = y();
        QImage line = before.copy();
        Canvas canvas(line);
        canvas.setPen(0, Mix::Not, 1);
        canvas.Line(x1, y1, x2, y2);
        boxes.clear();
        thinLineBoxes(bounds, x1, y1, x2, y2, boxes);
        const auto lineMissed = uncovered(before, line, boxes);
        ASSERT_FALSE(lineMissed) << "line " << i << ": (" << lineMissed->x() << ","
                                 << lineMissed->y() << ") unreported";
    }
}

TEST(ChangedBoxes, StayThinAlongLargeFigures) {
    const Rect bounds{0, 0, 3840, 2160};
    EllipseOutline none, ellipse;
    ellipse.trace({100, 100, 3700, 2000}, bounds);
    std::vector<Rect> boxes;
    QImage picture = blank(3840, 2160);
    invertEllipseOutlineChange(PixelView::of(picture), none, ellipse, boxes);
    EXPECT_LT(areaOf(boxes), 3600 * 1900 / 20);
    EXPECT_LT(boxes.size(), 300u);

    boxes.clear();
    thinLineBoxes(bounds, 0, 0, 3839, 2159, boxes);
    EXPECT_LT(areaOf(boxes), 3840 * 2160 / 20);
}

TEST(ChangedBoxes, AnEllipsesBoxesEachHugTheirPixels) {
    // Together with the cover above: no box reaches left or right of the pixels it holds
    // (a box spans its band's rows), so none is worked out wider than its spans (flat, tall,
    // narrow and round outlines).
    std::mt19937 random(9);
    auto pick = [&](int n) {
        return int(std::uniform_int_distribution<int>(0, n - 1)(random));
    };
    for (int i = 0; i < 300; ++i) {
        const int left = pick(20), top = pick(20);
        const Rect box{left, top, left + 1 + pick(i % 4 == 0 ? 4 : 270),
                       top + 1 + pick(i % 4 == 1 ? 4 : 170)};
        QImage picture = blank(300, 200);
        const QImage before = picture.copy();
        EllipseOutline none, ellipse;
        ellipse.trace(box, {0, 0, 300, 200});
        std::vector<Rect> boxes;
        invertEllipseOutlineChange(PixelView::of(picture), none, ellipse, boxes);
        for (const Rect& reported : boxes) {
            if (reported.isEmpty())
                continue;
            Rect held;
            for (int y = reported.top; y < reported.bottom; ++y)
                for (int x = reported.left; x < reported.right; ++x)
                    if (picture.pixel(x, y) != before.pixel(x, y))
                        held = held.united({x, y, x + 1, y + 1});
            ASSERT_TRUE(held.left == reported.left && held.right == reported.right)
                << "ellipse " << box.left << "," << box.top << " " << box.right << "," << box.bottom
                << ": box " << reported.left << ".." << reported.right << ", pixels " << held.left
                << ".." << held.right;
        }
    }
}
