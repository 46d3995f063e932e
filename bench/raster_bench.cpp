// The per-event figures of the drawing surface on a 4K picture, drawn by our rasterizer and
// by QPainter (antialiasing off, the matching raster operation) side by side. QPainter's
// timings include beginning and ending the painter, as drawing on each mouse event needs.
#include "bench_harness.h"
#include "raster/canvas.h"

#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

using raster::Canvas;
using raster::Mix;

void report(bench::Summary& summary, const char* name, const bench::Pair& timing) {
    std::printf("  %-22s ours %9.1f us   QPainter %9.1f us\n", name, timing.ours * 1e6,
                timing.theirs * 1e6);
    summary.ratio(std::string("raster.") + name, timing.theirs / timing.ours);
}

} // namespace

SKRIBANDO_BENCH(raster) {
    QString source;
    const QImage screen = bench::screenshot4k(&source);
    std::printf("  picture %dx%d (%s)\n", screen.width(), screen.height(), qPrintable(source));
    QImage ours = screen.copy(), theirs = screen.copy();
    Canvas canvas(ours);
    constexpr int kRounds = 300;

    // The rubber band of the ellipse tool: a 1-pixel invert outline of 2000 x 1200.
    canvas.setPen(0, Mix::Not, 1);
    report(summary, "ellipse_invert",
           bench::sideBySide(
               kRounds, [&] { canvas.Ellipse(900, 480, 2900, 1680); },
               [&] {
                   QPainter painter(&theirs);
                   painter.setCompositionMode(QPainter::RasterOp_NotDestination);
                   painter.setPen(QPen(Qt::black, 1));
                   painter.drawEllipse(QRect(900, 480, 1999, 1199));
               }));

    report(summary, "rect_invert",
           bench::sideBySide(
               kRounds, [&] { canvas.Rectangle(900, 480, 2900, 1680); },
               [&] {
                   QPainter painter(&theirs);
                   painter.setCompositionMode(QPainter::RasterOp_NotDestination);
                   painter.setPen(QPen(Qt::black, 1));
                   painter.drawRect(QRect(900, 480, 1999, 1199));
               }));

    // A highlighter stroke: 13 pixels wide, 1500 pixels long on the diagonal.
    canvas.setPen(0x00FFFF, Mix::Mask, 13);
    report(summary, "line_mask13",
           bench::sideBySide(
               kRounds, [&] { canvas.Line(1000, 500, 2061, 1561); },
               [&] {
                   QPainter painter(&theirs);
                   painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
                   painter.setPen(
                       QPen(QColor(255, 255, 0), 13, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                   painter.drawLine(1000, 500, 2061, 1561);
               }));

    // One freehand segment of the widest pen.
    canvas.setPen(0x0000FF, Mix::Copy, 21);
    report(summary, "pen21_segment",
           bench::sideBySide(
               kRounds, [&] { canvas.Line(2000, 1000, 2016, 1012); },
               [&] {
                   QPainter painter(&theirs);
                   painter.setCompositionMode(QPainter::CompositionMode_Source);
                   painter.setPen(
                       QPen(QColor(255, 0, 0), 21, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                   painter.drawLine(2000, 1000, 2016, 1012);
               }));

    // The eraser of the 13-pixel width: one (2w + 1) x (2h + 1) block per event.
    report(summary, "blit_195x147",
           bench::sideBySide(
               kRounds,
               [&] {
                   canvas.CopyRect(screen, {1000, 800, 1195, 947});
               },
               [&] {
                   QPainter painter(&theirs);
                   painter.setCompositionMode(QPainter::CompositionMode_Source);
                   painter.drawImage(QPoint(1000, 800), screen, QRect(1000, 800, 195, 147));
               }));
    bench::keep(ours.constBits());
    bench::keep(theirs.constBits());

    // Undo and clear: the whole picture into a destination that is reused.
    // Both destinations are pictures allocated alike, and the two take turns going first:
    // memory-bound copies on a shared machine vary a lot from one moment to the next.
    QImage target = screen.copy(), plain = screen.copy();
    auto ourCopy = [&] {
        raster::CopyPicture(screen, target);
    };
    auto plainCopy = [&] {
        std::memcpy(plain.bits(), screen.constBits(), size_t(screen.sizeInBytes()));
    };
    bench::Samples oursSamples, memcpySamples;
    for (int round = 0; round < 60; ++round) {
        if (round % 2 == 0)
            oursSamples.seconds.push_back(bench::secondsOf(ourCopy));
        memcpySamples.seconds.push_back(bench::secondsOf(plainCopy));
        if (round % 2 == 1)
            oursSamples.seconds.push_back(bench::secondsOf(ourCopy));
    }
    std::sort(oursSamples.seconds.begin(), oursSamples.seconds.end());
    std::sort(memcpySamples.seconds.begin(), memcpySamples.seconds.end());
    const bench::Pair copy{oursSamples.median(), memcpySamples.median()};
    bench::keep(target.constBits());
    bench::keep(plain.constBits());
    std::printf("  %-22s ours %9.1f us   memcpy   %9.1f us\n", "full_copy", copy.ours * 1e6,
                copy.theirs * 1e6);
    summary.ratio("raster.full_copy_vs_memcpy", copy.theirs / copy.ours);
}
