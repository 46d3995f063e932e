// The sink's promise that a figure covers each pixel once, also where its spans arrive out
// of order within a row.
#include "raster/canvas.h"
#include "raster/span_sink.h"
#include "raster_test_support.h"

#include <gtest/gtest.h>
#include <vector>

using namespace raster;
using namespace rastertest;

TEST(SpanSink, ASpanJoinedLeftwardsOverTheRowsPreviousSpanMergesWithIt) {
    SpanSink sink({0, 0, 9, 1});
    sink.add(0, 0, 3);
    sink.add(0, 5, 8);
    sink.add(0, 2, 6); // joins 5..8 on the spot and reaches back over 0..3
    EXPECT_EQ(sink.merged(), (std::vector<Span>{{0, 0, 8}}));
}

TEST(SpanSink, AWidePolylineReturningAlongARowInvertsEachCoveredPixelOnce) {
    // Found by fuzzing: the last segments came back over the row's earlier spans.
    const std::vector<QPoint> points = {{-1, -1}, {-1073741832, 11}, {9, -10}, {10, -1}, {-1, -1}};
    QImage inverted = blank(9, 1, kBlack), covered = blank(9, 1, kBlack);
    Canvas invert(inverted), copy(covered);
    invert.setPen(0, Mix::Not, 5);
    copy.setPen(0xFFFFFF, Mix::Copy, 5);
    invert.Polyline(points);
    copy.Polyline(points);
    EXPECT_EQ(art(inverted), art(covered));
    EXPECT_EQ(art(covered), rows({"........."})) << "the whole row is covered";
}
