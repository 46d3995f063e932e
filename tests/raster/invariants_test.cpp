// Invariants over seeded random figures: positions inside the picture, across its edges and
// far outside it, every pen width. Each failure names the figure that broke the rule.
#include "raster/canvas.h"
#include "raster_test_support.h"

#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <vector>

using namespace raster;
using namespace rastertest;

namespace {

enum class Kind { Line, Polyline, Rectangle, Ellipse };

struct Figure {
    Kind kind;
    int width;
    std::vector<QPoint> points;

    void draw(Canvas& canvas, Mix mix, COLORREF colour, QPoint offset = {}) const {
        canvas.setPen(colour, mix, width);
        std::vector<QPoint> moved;
        for (QPoint p : points)
            moved.push_back(p - offset);
        switch (kind) {
        case Kind::Line:
            canvas.Line(moved[0].x(), moved[0].y(), moved[1].x(), moved[1].y());
            break;
        case Kind::Polyline:
            canvas.Polyline(moved);
            break;
        case Kind::Rectangle:
            canvas.Rectangle(moved[0].x(), moved[0].y(), moved[1].x(), moved[1].y());
            break;
        case Kind::Ellipse:
            canvas.Ellipse(moved[0].x(), moved[0].y(), moved[1].x(), moved[1].y());
            break;
        }
    }

    // The figure's own box (lines: their points; shapes: the box, right/bottom exclusive),
    // grown by half the pen width, in 64 bits.
    bool mayWrite(int x, int y) const {
        std::int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
        for (QPoint p : points) {
            left = std::min<std::int64_t>(left, p.x()), top = std::min<std::int64_t>(top, p.y());
            right = std::max<std::int64_t>(right, p.x()),
            bottom = std::max<std::int64_t>(bottom, p.y());
        }
        if (kind == Kind::Rectangle || kind == Kind::Ellipse)
            --right, --bottom;
        const int half = width / 2;
        return x >= left - half && x <= right + half && y >= top - half && y <= bottom + half;
    }

    std::string describe() const {
        static const char* names[] = {"line", "polyline", "rectangle", "ellipse"};
        std::ostringstream text;
        text << names[int(kind)] << " width " << width << ":";
        for (QPoint p : points)
            text << " (" << p.x() << "," << p.y() << ")";
        return text.str();
    }
};

class Figures {
public:
    explicit Figures(unsigned seed) : random_(seed) {}

    // Coordinates near a picture of `size` pixels: inside, across the edges, or far out.
    int coordinate(int size) {
        switch (pick(10)) {
        case 0:
            return pick(2) ? INT32_MIN + int(pick(3)) : INT32_MAX - int(pick(3));
        case 1:
            return (pick(2) ? 1 : -1) * int(1000 + pick(2000000000));
        case 2:
            return -1;
        case 3:
        case 4:
            return -30 + int(pick(size + 60));
        default:
            return int(pick(size));
        }
    }
    // Moderate coordinates only, for comparisons that shift the picture.
    int nearby(int size) { return -40 + int(pick(size + 80)); }

    Figure next(int width, int height, bool moderate) {
        static const int widths[] = {1, 1, 2, 3, 7, 13, 21, 43};
        Figure figure{Kind(pick(4)), widths[pick(8)], {}};
        const int count = figure.kind == Kind::Polyline ? 2 + int(pick(4)) : 2;
        for (int i = 0; i < count; ++i) {
            if (moderate)
                figure.points.emplace_back(nearby(width), nearby(height));
            else
                figure.points.emplace_back(coordinate(width), coordinate(height));
        }
        return figure;
    }

    QImage noise(int width, int height) {
        QImage picture(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture.setPixel(x, y, 0xFF000000u | (std::uint32_t(random_()) & 0xFFFFFF));
        return picture;
    }
    COLORREF colour() { return std::uint32_t(random_()) & 0xFFFFFF; }

private:
    std::uint32_t pick(std::uint32_t n) {
        return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(random_);
    }
    std::mt19937 random_;
};

constexpr int kCases = 600;

} // namespace

TEST(Invariants, InvertingTwiceRestoresThePictureBitForBit) {
    Figures figures(11);
    for (int i = 0; i < kCases; ++i) {
        const Figure figure = figures.next(37, 23, false);
        QImage picture = figures.noise(37, 23);
        const QImage before = picture.copy();
        Canvas canvas(picture);
        figure.draw(canvas, Mix::Not, 0);
        figure.draw(canvas, Mix::Not, 0);
        ASSERT_TRUE(testsupport::samePixels(before, picture))
            << "case " << i << ": " << figure.describe();
    }
}

TEST(Invariants, MaskingTwiceEqualsMaskingOnce) {
    Figures figures(12);
    for (int i = 0; i < kCases; ++i) {
        const Figure figure = figures.next(37, 23, false);
        QImage picture = figures.noise(37, 23);
        const COLORREF colour = figures.colour();
        Canvas canvas(picture);
        figure.draw(canvas, Mix::Mask, colour);
        const QImage once = picture.copy();
        figure.draw(canvas, Mix::Mask, colour);
        ASSERT_TRUE(testsupport::samePixels(once, picture))
            << "case " << i << ": " << figure.describe();
    }
}

TEST(Invariants, NothingChangesOutsideTheFigureAndTouchedIsExact) {
    Figures figures(13);
    for (int i = 0; i < kCases; ++i) {
        const Figure figure = figures.next(41, 29, i % 2 == 0);
        QImage picture = figures.noise(41, 29);
        const QImage before = picture.copy();
        Canvas canvas(picture);
        figure.draw(canvas, Mix::Not, 0); // every pixel written changes
        Rect changed;
        for (int y = 0; y < 29; ++y)
            for (int x = 0; x < 41; ++x)
                if (picture.pixel(x, y) != before.pixel(x, y)) {
                    ASSERT_TRUE(figure.mayWrite(x, y)) << "case " << i << ": " << figure.describe()
                                                       << " wrote (" << x << "," << y << ")";
                    changed = changed.united({x, y, x + 1, y + 1});
                }
        ASSERT_EQ(canvas.takeTouched(), changed) << "case " << i << ": " << figure.describe();
    }
}

TEST(Invariants, ClippedFigureEqualsTheWholeFigureInsideTheClip) {
    Figures figures(14);
    for (int i = 0; i < kCases; ++i) {
        const Figure figure = figures.next(90, 70, true);
        QImage whole = figures.noise(90, 70);
        const QPoint offset(20 + i % 13, 15 + i % 7);
        QImage window = whole.copy(offset.x(), offset.y(), 37, 23);
        Canvas wholeCanvas(whole), windowCanvas(window);
        figure.draw(wholeCanvas, Mix::Not, 0);
        figure.draw(windowCanvas, Mix::Not, 0, offset);
        ASSERT_TRUE(testsupport::samePixels(whole.copy(offset.x(), offset.y(), 37, 23), window))
            << "case " << i << ": " << figure.describe() << " window at (" << offset.x() << ","
            << offset.y() << ")";
    }
}

TEST(Invariants, ALineCoversTheSamePixelsInBothDirections) {
    // Apart from the end point each direction leaves out, which the other includes.
    Figures figures(15);
    for (int i = 0; i < kCases; ++i) {
        Figure figure = figures.next(37, 23, true);
        figure.kind = Kind::Line;
        figure.width = 1;
        const QPoint a = figure.points[0], b = figure.points[1];
        QImage forward = blank(37, 23), backward = blank(37, 23);
        Canvas f(forward), r(backward);
        f.setPen(0, Mix::Copy, 1);
        r.setPen(0, Mix::Copy, 1);
        f.Polyline({a, b, b + QPoint(1, 0)}); // draws b as the start of a second segment
        r.Polyline({b, a, a + QPoint(1, 0)});
        f.MoveTo(0, 0);
        ASSERT_TRUE(testsupport::samePixels(forward, backward))
            << "case " << i << ": " << figure.describe();
    }
}
