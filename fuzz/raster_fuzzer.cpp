// The rasterizer fed random figures, pens, brushes, fonts and coordinates (the -1 "none"
// points and values near the int limits among them) on small pictures. After every figure:
// - nothing is written outside the picture: it lies inside a larger buffer whose guard
//   pixels must stay as they were, and the alpha byte of every pixel stays 0xFF;
// - nothing changes outside the figure's box or outside the box the canvas reports;
// - drawing is repeatable: the same figure on a copy of the picture gives the same pixels,
//   and a second time it changes nothing more, except an inverting one, which restores;
// - a figure covers each pixel once: the pixels an inverting pen changes are the pixels a
//   copying pen covers, and the outline never shares a pixel with the interior;
// - clipping changes nothing inside the clip: the same figures drawn shifted into a larger
//   picture give the same pixels where the small picture lies;
// - a rubber band moved in one pass from the last rectangle's (or ellipse's) box to this
//   one's leaves the pixels that taking the old outline off and drawing the new one leave.
#include "fuzz_check.h"
#include "guarded_picture.h"
#include "raster/canvas.h"
#include "raster/outline_change.h"
#include "raster/shape_scan.h"
#include "raster_figure.h"

#include <QPoint>
#include <climits>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <optional>
#include <string>
#include <vector>

using namespace raster;
using fuzz::copySource;
using fuzz::draw;
using fuzz::Figure;
using fuzz::GuardedPicture;
using fuzz::Kind;

namespace {

constexpr int kMaxOperations = 48;

class Run {
public:
    explicit Run(FuzzedDataProvider& input)
        : input_(input), width_(input.ConsumeIntegralInRange(0, 20)),
          height_(input.ConsumeIntegralInRange(0, 20)), shift_(input.ConsumeIntegralInRange(1, 24)),
          picture_(width_, height_), wide_(width_ + 2 * shift_, height_ + 2 * shift_),
          canvas_(picture_.picture()), wideCanvas_(wide_.picture()) {
        const std::uint32_t seed = input.ConsumeIntegral<std::uint32_t>();
        for (int y = 0; y < wide_.height(); ++y)
            for (int x = 0; x < wide_.width(); ++x)
                wide_.at(x, y) = 0xFF000000u | ((seed ^ (x * 40503u + y * 2246822519u)) & 0xFFFFFF);
        if (width_ > 0 && height_ > 0)
            picture_.setPixels(wide_.pixels(shift_, shift_, width_, height_));
        const int sourceWidth = width_ + input.ConsumeIntegralInRange(-3, 3);
        const int sourceHeight = height_ + input.ConsumeIntegralInRange(-3, 3);
        source_ = copySource(sourceWidth, sourceHeight, seed);
        wideSource_ = QImage(source_.width() + 2 * shift_, source_.height() + 2 * shift_,
                             QImage::Format_RGB32);
        wideSource_.fill(0xFF808080u);
        for (int y = 0; y < source_.height(); ++y)
            for (int x = 0; x < source_.width(); ++x)
                wideSource_.setPixel(x + shift_, y + shift_, source_.pixel(x, y));
        wideCanvas_.MoveTo(shift_, shift_); // where the small canvas's (0, 0) lies
    }

    void go() {
        for (int n = 0; n < kMaxOperations && input_.remaining_bytes() > 0; ++n)
            step();
        require(picture_.guardIntact() && wide_.guardIntact(), "a write outside the picture");
        if (qEnvironmentVariableIsSet("SKRIBANDO_FUZZ_TRACE")) // what an input decodes to
            printLog();
    }

private:
    int coordinate(int size) {
        switch (input_.ConsumeIntegralInRange(0, 15)) {
        case 0:
            return -1;
        case 1:
            return INT_MIN + input_.ConsumeIntegralInRange(0, 3);
        case 2:
            return INT_MAX - input_.ConsumeIntegralInRange(0, 3);
        case 3:
            return (input_.ConsumeBool() ? 1 : -1) *
                   ((1 << 30) + input_.ConsumeIntegralInRange(0, 99));
        case 4:
            return input_.ConsumeIntegral<int>();
        case 5:
            return size + input_.ConsumeIntegralInRange(-2, 2);
        default:
            return input_.ConsumeIntegralInRange(-2 * size - 8, 3 * size + 8);
        }
    }
    QPoint point() { return {coordinate(width_), coordinate(height_)}; }

    int penWidth() {
        static const int widths[] = {-3, 0, 1,  1,  1,  2,   3,      4,      5,
                                     7,  8, 13, 20, 41, 255, 100000, INT_MAX};
        return widths[input_.ConsumeIntegralInRange<size_t>(0, std::size(widths) - 1)];
    }
    COLORREF colour() { return input_.ConsumeIntegral<std::uint32_t>() & 0xFFFFFF; }

    Font font() {
        static const char* families[] = {"Arial", "MS Sans Serif", "Wingdings"};
        Font font;
        font.family = families[input_.ConsumeIntegralInRange(0, 2)];
        font.pointSize = input_.ConsumeIntegralInRange(1, 40);
        font.bold = input_.ConsumeBool();
        font.colour = colour();
        return font;
    }
    QString text() {
        static const char16_t letters[] = {u'A', u'g', u'É', u'|', u'.', u'W', u' ', 251, 252};
        QString text;
        const int length = input_.ConsumeIntegralInRange(0, 6);
        for (int i = 0; i < length; ++i)
            text +=
                QChar(letters[input_.ConsumeIntegralInRange<size_t>(0, std::size(letters) - 1)]);
        return text;
    }

    // Reads one operation; state changes are applied here, figures are drawn by `figure`.
    void step() {
        switch (input_.ConsumeIntegralInRange(0, 10)) {
        case 0: {
            const Pen pen{colour(), Mix(input_.ConsumeIntegralInRange(0, 4)), penWidth()};
            log("pen colour " + std::to_string(pen.colour) + " mix " +
                std::to_string(int(pen.mix)) + " width " + std::to_string(pen.width));
            canvas_.setPen(pen);
            wideCanvas_.setPen(pen);
            return;
        }
        case 1: {
            const Brush brush =
                input_.ConsumeBool() ? Brush::solidColour(colour()) : Brush::clear();
            log(std::string("brush ") + (brush.solid ? std::to_string(brush.colour) : "clear"));
            canvas_.setBrush(brush);
            wideCanvas_.setBrush(brush);
            return;
        }
        case 2: {
            const Font f = font();
            const TextAlign align = input_.ConsumeBool() ? TextAlign::Centre : TextAlign::Left;
            log("font " + f.family.toStdString() + " " + std::to_string(f.pointSize) +
                (f.bold ? " bold" : "") + (align == TextAlign::Centre ? " centred" : ""));
            canvas_.setFont(f);
            wideCanvas_.setFont(f);
            canvas_.setTextAlign(align);
            wideCanvas_.setTextAlign(align);
            return;
        }
        case 3: {
            const QPoint to = point();
            log("move to (" + std::to_string(to.x()) + "," + std::to_string(to.y()) + ")");
            canvas_.MoveTo(to.x(), to.y());
            moveWide(to);
            return;
        }
        case 4: { // LineTo: a line from the position, drawn through LineTo itself
            const QPoint from = canvas_.position(), to = point();
            figure({Kind::Line, {from, to}, {}}, true);
            return;
        }
        case 5:
            figure({Kind::Line, {point(), point()}, {}});
            return;
        case 6: {
            std::vector<QPoint> points(size_t(input_.ConsumeIntegralInRange(0, 7)));
            for (QPoint& p : points)
                p = point();
            figure({Kind::Polyline, points, {}});
            return;
        }
        case 7:
            figure({Kind::Rectangle, {point(), point()}, {}});
            return;
        case 8:
            figure({Kind::Ellipse, {point(), point()}, {}});
            return;
        case 9:
            figure({Kind::CopyRect, {point(), point()}, {}});
            return;
        default:
            figure({Kind::Text, {point()}, text()});
            return;
        }
    }

    void moveWide(QPoint to) {
        wideAt_ =
            Figure{Kind::Line, {to}, {}}.fitsShifted(shift_) ? std::optional(to) : std::nullopt;
        if (wideAt_)
            wideCanvas_.MoveTo(to.x() + shift_, to.y() + shift_);
    }

    // A canvas over `target` in the state of the main canvas.
    Canvas twin(GuardedPicture& target) const {
        Canvas canvas(target.picture());
        canvas.setPen(canvas_.pen());
        canvas.setBrush(canvas_.brush());
        canvas.setFont(canvas_.font());
        canvas.setTextAlign(canvas_.textAlign());
        return canvas;
    }

    void figure(const Figure& f, bool throughLineTo = false) {
        log(f.describe() + (throughLineTo ? " (line to)" : ""));
        const std::vector<std::uint32_t> before = picture_.pixels();
        canvas_.takeTouched();
        if (throughLineTo)
            canvas_.LineTo(f.points[1].x(), f.points[1].y());
        else
            draw(canvas_, f, source_);
        const Rect touched = canvas_.takeTouched();
        const std::vector<std::uint32_t> after = picture_.pixels();
        require(picture_.guardIntact(), "a write outside the picture");
        if (picture_.picture().isNull()) {
            require(touched.isEmpty(), "a null picture reports a touched box");
            if (f.kind == Kind::Line)
                moveWide(f.points[1]);
            return;
        }

        const Pen pen = canvas_.pen();
        const bool plainOutline =
            f.kind != Kind::CopyRect && f.kind != Kind::Text &&
            (f.kind == Kind::Line || f.kind == Kind::Polyline || !canvas_.brush().solid);
        Rect changed;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const size_t i = size_t(y) * size_t(width_) + size_t(x);
                require((after[i] >> 24) == 0xFF, "a pixel lost its alpha byte");
                if (after[i] == before[i])
                    continue;
                require(touched.contains(x, y), "a change outside the touched box at " + at(x, y));
                require(f.mayWrite(x, y, pen.width), "a change outside the figure at " + at(x, y));
                changed = changed.united({x, y, x + 1, y + 1});
            }
        require(touched.intersected({0, 0, width_, height_}) == touched,
                "touched box beyond the picture");
        if (plainOutline && pen.mix == Mix::Not)
            require(touched == changed, "the touched box is not the changed pixels' box");

        checkRepeatable(f, before, after, plainOutline && pen.mix == Mix::Not);
        checkBandMove(f, before);
        if (f.kind != Kind::CopyRect && f.kind != Kind::Text)
            checkSingleCover(f);
        checkClipping(f, throughLineTo);
    }

    // The same figure on a copy of the picture as it was gives the same pixels; a second time
    // it restores them when inverting, else changes nothing more.
    void checkRepeatable(const Figure& f, const std::vector<std::uint32_t>& before,
                         const std::vector<std::uint32_t>& after, bool inverting) {
        GuardedPicture copy(width_, height_);
        copy.setPixels(before);
        Canvas canvas = twin(copy);
        draw(canvas, f, source_);
        require(copy.pixels() == after, "the same figure drew differently on a copy");
        if (f.kind != Kind::CopyRect && f.kind != Kind::Text && !plainShape(f) &&
            canvas_.pen().mix == Mix::Not)
            return; // an inverted outline around a filled interior: the second fill differs
        draw(canvas, f, source_);
        require(copy.pixels() == (inverting ? before : after),
                inverting ? "inverting twice did not restore" : "drawing twice changed more");
        require(copy.guardIntact(), "a write outside the picture");
    }
    // Rubber bands are 1-pixel inverted outlines; this box and the last of the same kind.
    void checkBandMove(const Figure& f, const std::vector<std::uint32_t>& before) {
        if (f.kind != Kind::Rectangle && f.kind != Kind::Ellipse)
            return;
        const bool ellipse = f.kind == Kind::Ellipse;
        const Rect box =
            normalisedBox(f.points[0].x(), f.points[0].y(), f.points[1].x(), f.points[1].y());
        std::optional<Rect>& last = ellipse ? lastEllipse_ : lastRectangle_;
        if (last) {
            GuardedPicture moved(width_, height_), redrawn(width_, height_);
            moved.setPixels(before);
            redrawn.setPixels(before);
            Canvas canvas(redrawn.picture());
            canvas.setPen(0, Mix::Not, 1);
            canvas.setBrush(Brush::clear());
            for (const Rect& band : {*last, box}) {
                if (ellipse)
                    canvas.Ellipse(band.left, band.top, band.right, band.bottom);
                else
                    canvas.Rectangle(band.left, band.top, band.right, band.bottom);
            }
            const PixelView view = PixelView::of(moved.picture());
            std::vector<Rect> changed;
            if (ellipse)
                invertEllipseOutlineChange(view, *last, box);
            else
                invertRectangleOutlineChange(view, *last, box, changed);
            require(moved.guardIntact(), "a rubber band's move wrote outside the picture");
            require(moved.pixels() == redrawn.pixels(),
                    "a rubber band's move differs from taking it off and drawing it again");
        }
        last = box;
    }

    bool plainShape(const Figure& f) const {
        return f.kind == Kind::Line || f.kind == Kind::Polyline || !canvas_.brush().solid;
    }

    // Each pixel is covered once: an inverting pen changes exactly the pixels a copying pen
    // covers, and a filled shape's outline and interior share no pixel.
    void checkSingleCover(const Figure& f) {
        constexpr std::uint32_t ground = 0xFF102030u;
        constexpr COLORREF ink = 0x605040, fill = 0xA09080;
        GuardedPicture inverted(width_, height_), covered(width_, height_), filled(width_, height_);
        for (GuardedPicture* p : {&inverted, &covered, &filled})
            p->fill(ground);
        Canvas invert = twin(inverted), copy = twin(covered), both = twin(filled);
        const int width = canvas_.pen().width;
        invert.setPen(0, Mix::Not, width);
        copy.setPen(ink, Mix::Copy, width);
        both.setPen(0, Mix::Not, width);
        invert.setBrush(Brush::clear());
        copy.setBrush(Brush::clear());
        both.setBrush(Brush::solidColour(fill));
        draw(invert, f, source_);
        draw(copy, f, source_);
        const bool shape = f.kind == Kind::Rectangle || f.kind == Kind::Ellipse;
        if (shape)
            draw(both, f, source_);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const bool outline = covered.at(x, y) != ground;
                require((inverted.at(x, y) != ground) == outline,
                        "a pixel covered twice (or inverted without cover) at " + at(x, y));
                if (shape)
                    require((filled.at(x, y) == (ground ^ 0xFFFFFFu)) == outline,
                            "the outline and the interior share " + at(x, y));
            }
    }

    // Wide strokes are exact for coordinates within 2^24; farther ends are first cut, in
    // floating point, to the picture's neighbourhood, which may move the stroke's edge by a
    // pixel depending on where the picture lies.
    bool approximate(const Figure& f) const {
        constexpr int kExactRange = 1 << 24;
        if ((f.kind != Kind::Line && f.kind != Kind::Polyline) || canvas_.pen().width <= 1)
            return false;
        for (QPoint p : f.points)
            if (std::abs(std::int64_t(p.x())) + shift_ > kExactRange ||
                std::abs(std::int64_t(p.y())) + shift_ > kExactRange)
                return true;
        return false;
    }

    // The wide picture draws every figure shifted; where the small picture lies, it must show
    // the same pixels. Figures that cannot be shifted (coordinates at the int limit) are
    // drawn in the small picture only, and the wide one takes its pixels over.
    void checkClipping(const Figure& f, bool throughLineTo) {
        // Copies compare only when the source covers the picture: where it does not, the
        // small picture keeps its pixels and the wide one takes its source's margin.
        const bool sourceCovers = source_.width() >= width_ && source_.height() >= height_;
        const bool comparable = f.fitsShifted(shift_) && (!throughLineTo || wideAt_) &&
                                (f.kind != Kind::CopyRect || sourceCovers) && !approximate(f);
        if (comparable) {
            const Figure moved = f.shifted(shift_);
            if (throughLineTo)
                wideCanvas_.LineTo(moved.points[1].x(), moved.points[1].y());
            else
                draw(wideCanvas_, moved, wideSource_);
            require(wide_.guardIntact(), "a write outside the wide picture");
            std::string differences;
            for (int y = 0; y < height_; ++y)
                for (int x = 0; x < width_; ++x)
                    if (wide_.at(x + shift_, y + shift_) != picture_.at(x, y))
                        differences += " " + at(x, y);
            require(differences.empty(),
                    "the clipped figure differs from the whole figure inside the clip at" +
                        differences);
        } else {
            wide_.setPixels(picture_.pixels(), shift_, shift_, width_, height_);
        }
        if (f.kind == Kind::Line) // a line leaves the position at its end
            moveWide(f.points[1]);
    }

    static std::string at(int x, int y) {
        return "(" + std::to_string(x) + "," + std::to_string(y) + ")";
    }
    void log(std::string line) { log_.push_back(std::move(line)); }
    void printLog() const {
        std::fprintf(stderr, "picture %dx%d, wide picture shifted by %d\n", width_, height_,
                     shift_);
        for (const std::string& line : log_)
            std::fprintf(stderr, "  %s\n", line.c_str());
    }
    void require(bool ok, const std::string& what) const {
        if (ok)
            return;
        printLog();
        FUZZ_CHECK(false, "%s", what.c_str());
    }

    FuzzedDataProvider& input_;
    int width_, height_, shift_;
    GuardedPicture picture_, wide_;
    Canvas canvas_, wideCanvas_;
    QImage source_, wideSource_;
    std::optional<Rect> lastRectangle_, lastEllipse_;
    std::optional<QPoint> wideAt_ = QPoint(0, 0); // the wide canvas's position, shifted back
    std::vector<std::string> log_;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startQtApplication(); // text needs fonts
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    Run run(input);
    run.go();
    return 0;
}
