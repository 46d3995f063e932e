// The program as a user meets it: one instance, the palette at the top right, Start freezing
// the screen, F9 returning to it, the palette's close ending the program.
#include "support/picture_diff.h"
#include "support/test_support.h"
#include "x11_session.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

// A picture with structure everywhere, so a shifted or scaled capture cannot pass.
QImage TestPattern(QSize size) {
    QImage pattern(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            pattern.setPixel(x, y,
                             qRgb(x * 255 / size.width(), y * 255 / size.height(),
                                  ((x / 16 + y / 16) % 2) * 200 + 20));
    return pattern;
}

// The pixels of `shot` outside `hidden` equal those of `expected`.
testing::AssertionResult SameOutside(const QImage& expected, const QImage& shot, QRect hidden) {
    QImage a = expected.copy(), b = shot.copy();
    QPainter(&a).fillRect(hidden, Qt::black);
    QPainter(&b).fillRect(hidden, Qt::black);
    return testsupport::samePixels(a, b);
}

class StartAndFreeze : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_OUTSIDE_WORLD(session.ok(), session.error());
        pattern = TestPattern(session.size());
        ASSERT_TRUE(session.setBackground(pattern));
    }
    X11Session session;
    QImage pattern;
};

TEST_F(StartAndFreeze, StartFreezesTheScreenWithoutThePaletteAndF9Returns) {
    ProgramRun program(session);
    unsigned long palette = session.waitForWindow("Skribando");
    ASSERT_NE(palette, 0u) << program.output().toStdString();
    QRect collapsed = session.windowGeometry(palette);
    EXPECT_EQ(collapsed.width(), 52);
    EXPECT_EQ(collapsed.height(), 23);
    EXPECT_GE(collapsed.right(), session.size().width() - 12)
        << "the palette sits at the right edge";
    EXPECT_LE(collapsed.top(), 40) << "the palette sits at the top";

    session.click(collapsed.topLeft() + kLancerInPalette);
    unsigned long surface = session.waitForWindow("ScreenForm");
    ASSERT_NE(surface, 0u);
    QRect expanded;
    ASSERT_TRUE(X11Session::waitUntil([&] {
        expanded = session.windowGeometry(palette);
        return expanded.height() > 300;
    })) << "the palette expands to the whole tool bar";

    // The palette stays above the surface, also once the surface has the focus.
    session.activate(surface);
    QImage withPalette = session.screenshot();
    EXPECT_NE(withPalette.copy(expanded), pattern.copy(expanded))
        << "the palette shows over the picture";

    // Move the palette away: where it stood, the frozen picture shows what lay beneath.
    session.run("xdotool", {"windowmove", QString::number(palette), "20", "300"});
    ASSERT_TRUE(X11Session::waitUntil([&] { return session.windowGeometry(palette).x() < 100; }));
    QRect paletteNow = session.windowGeometry(palette).adjusted(-10, -40, 10, 10);
    // The surface repaints what the palette uncovered when its expose event comes.
    X11Session::waitUntil(
        [&] { return bool(SameOutside(pattern, session.screenshot(), paletteNow)); });
    EXPECT_TRUE(SameOutside(pattern, session.screenshot(), paletteNow));

    session.key("F9");
    EXPECT_TRUE(session.waitForWindowGone("ScreenForm"));
    EXPECT_TRUE(
        X11Session::waitUntil([&] { return session.windowGeometry(palette).height() == 23; }));

    session.run("wmctrl", {"-c", "Skribando"});
    ASSERT_TRUE(program.waitForExit(10000)) << "closing the palette ends the program";
    EXPECT_EQ(program.exitCode(), 0);
}

// Qt may measure the window manager's frame while it is still being built (a frame of one
// pixel, say); a palette placed by that measure starts beyond the screen's right edge.
TEST_F(StartAndFreeze, ThePaletteStartsWhollyOnTheScreenInItsTopRightCorner) {
    ProgramRun program(session);
    const unsigned long palette = session.waitForWindow("Skribando");
    ASSERT_NE(palette, 0u) << program.output();
    waitForPaletteInTopRightCorner(session, palette);
    const QRect frame = session.frameGeometry(palette);
    EXPECT_EQ(frame.top(), 0) << "title bar at the screen's top edge";
    EXPECT_EQ(frame.right(), session.size().width() - 1) << "frame at the screen's right edge";
    EXPECT_TRUE(QRect(QPoint(), session.size()).contains(frame));
}

TEST_F(StartAndFreeze, ASecondStartIsRefusedUntilTheFirstHasEnded) {
    ProgramRun first(session);
    ASSERT_NE(session.waitForWindow("Skribando"), 0u);

    ProgramRun second(session);
    const unsigned long refusal = session.waitForWindow("Information");
    ASSERT_NE(refusal, 0u) << "the second start says it is refused";
    session.activate(refusal);
    session.key("Return");
    ASSERT_TRUE(second.waitForExit(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(first.running()) << "the first instance is untouched";

    first.kill(); // even a killed instance frees the guard
    ProgramRun third(session);
    EXPECT_NE(session.waitForWindow("Skribando"), 0u) << third.output().toStdString();
    EXPECT_FALSE(session.isWindowVisible("Information"));
}

} // namespace
