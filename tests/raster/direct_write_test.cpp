// Segments, rectangles and ellipses are written as they are traced, without collecting and
// merging their spans. Over seeded random figures that must give the same pixels and the
// same touched box as collecting the spans first.
#include "raster/canvas.h"
#include "raster/line_scan.h"
#include "raster/shape_scan.h"
#include "raster_test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace raster;
using namespace rastertest;

namespace {

enum class Kind { Line, Rectangle, Ellipse };

struct Case {
    Kind kind;
    int width;
    bool brush;
    Mix mix;
    int x1, y1, x2, y2;
};

class Cases {
public:
    explicit Cases(unsigned seed) : random_(seed) {}

    Case next(int width, int height) {
        static const int widths[] = {1, 1, 1, 2, 3, 7, 13, 21};
        static const Mix mixes[] = {Mix::Not, Mix::Copy, Mix::Mask};
        Case c{Kind(pick(3)), widths[pick(8)], pick(2) == 1, mixes[pick(3)], 0, 0, 0, 0};
        c.x1 = coordinate(width), c.y1 = coordinate(height);
        c.x2 = coordinate(width), c.y2 = coordinate(height);
        // Thin and flat boxes, where outlines have no hole or rows end in one pixel.
        if (pick(4) == 0)
            c.x2 = near(c.x1);
        if (pick(4) == 0)
            c.y2 = near(c.y1);
        return c;
    }

private:
    // A coordinate within two of `value`, kept inside the int range at its ends.
    int near(int value) {
        long long moved = static_cast<long long>(value) + pick(5) - 2;
        return static_cast<int>(std::clamp<long long>(moved, INT32_MIN, INT32_MAX));
    }

    int coordinate(int size) {
        switch (pick(8)) {
        case 0:
            return pick(2) ? INT32_MIN + int(pick(3)) : INT32_MAX - int(pick(3));
        case 1:
            return (pick(2) ? 1 : -1) * int(1000 + pick(3000000));
        case 2:
            return -40 + int(pick(size + 80));
        default:
            return int(pick(size));
        }
    }
    std::uint32_t pick(std::uint32_t n) {
        return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(random_);
    }
    std::mt19937 random_;
};

QImage stripes(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, 0xFF000000u | std::uint32_t(x * 2654435761u + y * 40503u));
    return picture;
}

// The figure's spans collected in sinks, merged, then filled: interior first, then outline.
Rect drawCollected(QImage& picture, const Case& c) {
    const Rect clip{0, 0, picture.width(), picture.height()};
    SpanSink pen(clip), interior(clip);
    switch (c.kind) {
    case Kind::Line:
        if (c.width <= 1)
            scanThinLine(pen, c.x1, c.y1, c.x2, c.y2);
        else
            scanWideSegment(pen, c.x1, c.y1, c.x2, c.y2, c.width);
        break;
    case Kind::Rectangle:
        scanRectangle(&pen, c.brush ? &interior : nullptr, normalisedBox(c.x1, c.y1, c.x2, c.y2),
                      c.width);
        break;
    case Kind::Ellipse:
        scanEllipse(&pen, c.brush ? &interior : nullptr, normalisedBox(c.x1, c.y1, c.x2, c.y2),
                    c.width);
        break;
    }
    const PixelView view = PixelView::of(picture);
    const Rect inside = interior.fill(view, masksFor(Mix::Copy, 0x00FF00));
    return inside.united(pen.fill(view, masksFor(c.mix, 0x3366CC)));
}

Rect drawOnCanvas(QImage& picture, const Case& c) {
    Canvas canvas(picture);
    canvas.setPen(0x3366CC, c.mix, c.width);
    if (c.kind != Kind::Line && c.brush)
        canvas.setBrush(Brush::solidColour(0x00FF00));
    switch (c.kind) {
    case Kind::Line:
        canvas.Line(c.x1, c.y1, c.x2, c.y2);
        break;
    case Kind::Rectangle:
        canvas.Rectangle(c.x1, c.y1, c.x2, c.y2);
        break;
    case Kind::Ellipse:
        canvas.Ellipse(c.x1, c.y1, c.x2, c.y2);
        break;
    }
    return canvas.takeTouched();
}

std::string describe(const Case& c) {
    static const char* names[] = {"line", "rectangle", "ellipse"};
    return std::string(names[int(c.kind)]) + " width " + std::to_string(c.width) +
           (c.brush ? " brush" : "") + " mix " + std::to_string(int(c.mix)) + ": (" +
           std::to_string(c.x1) + "," + std::to_string(c.y1) + ") (" + std::to_string(c.x2) + "," +
           std::to_string(c.y2) + ")";
}

} // namespace

TEST(DirectWriting, GivesThePixelsAndBoxOfCollectedSpans) {
    Cases cases(21);
    for (int i = 0; i < 3000; ++i) {
        const int width = 24 + i % 53, height = 17 + i % 31;
        const Case c = cases.next(width, height);
        QImage collected = stripes(width, height), direct = collected.copy();
        const Rect collectedBox = drawCollected(collected, c);
        const Rect directBox = drawOnCanvas(direct, c);
        ASSERT_TRUE(testsupport::samePixels(collected, direct))
            << "case " << i << ": " << describe(c);
        ASSERT_EQ(directBox, collectedBox) << "case " << i << ": " << describe(c);
    }
}

TEST(DirectWriting, SharedPictureIsLeftAloneAndNonRgbPicturesTakeNothing) {
    QImage picture = blank(12, 9);
    const QImage shared = picture; // shares the pixels until written to
    Canvas canvas(picture);
    canvas.setPen(0, Mix::Not, 1);
    canvas.Ellipse(-30, -30, -20, -20); // entirely outside: nothing to write
    canvas.Rectangle(20, 2, 30, 6);     // its rows cross the picture, its columns do not
    EXPECT_EQ(picture.constBits(), shared.constBits());
    canvas.Rectangle(1, 1, 5, 5);
    EXPECT_NE(picture.constBits(), shared.constBits());
    EXPECT_EQ(shared.pixel(1, 1), kWhite);
    EXPECT_EQ(picture.pixel(1, 1), kBlack);

    QImage grey(12, 9, QImage::Format_Grayscale8);
    grey.fill(0x80);
    const QImage before = grey.copy();
    Canvas greyCanvas(grey);
    greyCanvas.setPen(0, Mix::Not, 3);
    greyCanvas.Line(0, 0, 11, 8);
    greyCanvas.Ellipse(0, 0, 12, 9);
    EXPECT_TRUE(greyCanvas.takeTouched().isEmpty());
    EXPECT_EQ(grey, before);
}

TEST(DirectWriting, AThinEllipseOfTheSameSizeElsewhereDrawsWhatAFreshCanvasDraws) {
    // One canvas keeps its last thin outline and moves it along the rows for the next of
    // the same size: across, down, clipped at the top and at either side.
    const Rect boxes[] = {{3, 4, 30, 21},   {20, 4, 47, 21},  {20, 9, 47, 26},
                          {-9, -6, 18, 11}, {30, -6, 57, 11}, {29, -6, 56, 11}};
    QImage kept = stripes(53, 41), fresh = kept.copy();
    Canvas canvas(kept);
    canvas.setPen(0, Mix::Not, 1);
    for (const Rect& box : boxes) {
        canvas.Ellipse(box.left, box.top, box.right, box.bottom);
        Canvas once(fresh);
        once.setPen(0, Mix::Not, 1);
        once.Ellipse(box.left, box.top, box.right, box.bottom);
        ASSERT_TRUE(testsupport::samePixels(fresh, kept))
            << "box " << box.left << "," << box.top << " " << box.right << "," << box.bottom;
    }
}
