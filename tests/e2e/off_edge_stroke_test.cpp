// A stroke that leaves the frozen screen over a second monitor on its left and comes back.
#include "support/picture_diff.h"
#include "support/test_support.h"
#include "x11_session.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(OffEdgeStroke, APenStrokeOverTheLeftMonitorRunsIntoTheEdgeAndBack) {
    X11Session session(1920, 1080);
    REQUIRE_OUTSIDE_WORLD(session.ok(), session.error());
    REQUIRE_OUTSIDE_WORLD(session.splitIntoMonitors(X11Session::primaryOnTheRight()),
                          session.error());
    QImage white(session.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    ASSERT_TRUE(session.setBackground(white));
    ProgramRun program(session);
    const unsigned long surface = startDrawingPhase(session);
    ASSERT_NE(surface, 0u) << program.output();
    ASSERT_EQ(session.windowGeometry(surface).left(), 960) << "the surface covers the primary";
    session.key("ctrl+2 alt+shift+1 alt+s"); // a 7-pixel opaque red pen

    // Picture (140, 500) out to (-60, 550) on the left monitor and back to (140, 600).
    session.stroke({QPoint(1100, 500), QPoint(900, 550), QPoint(1100, 600)});
    session.run("xdotool", {"mousemove", "--sync", "1600", "900"});
    const QRgb red = qRgb(255, 0, 0);
    QImage shot;
    EXPECT_TRUE(X11Session::waitUntil([&] {
        shot = session.screenshot();
        return testsupport::countColour(shot, red, QRect(960, 525, 8, 20)) > 0 &&
               testsupport::countColour(shot, red, QRect(960, 555, 8, 20)) > 0;
    })) << "both segments reach the picture's left edge (at rows 535 and 565)";
    EXPECT_EQ(testsupport::countColour(shot, red, QRect(1090, 530, 20, 40)), 0)
        << "no line straight down from where the stroke left to where it came back";
}
