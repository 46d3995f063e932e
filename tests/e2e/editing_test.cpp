// Shift snapping, undo, clear, the eraser and the stamps on the real program.
#include "support/test_support.h"
#include "x11_session.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Editing : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_OUTSIDE_WORLD(session.ok(), session.error());
        QImage paper(session.size(), QImage::Format_RGB32);
        paper.fill(Qt::white);
        ASSERT_TRUE(session.setBackground(paper));
        program = std::make_unique<ProgramRun>(session);
        ASSERT_NE(startDrawingPhase(session), 0u) << program->output();
    }
    // The colour of a picture pixel, with the pointer (and its tool symbol) away from it.
    QRgb pixelAt(QPoint at) {
        // No --sync: it would wait for a move that never comes when the pointer is there.
        session.run("xdotool", {"mousemove", "1000", "700"});
        return session.screenshot().pixel(at) & 0xFFFFFF;
    }
    void waitForPixel(QPoint at, QRgb colour) {
        QRgb seen = pixelAt(at);
        X11Session::waitUntil(
            [&] { return (seen = session.screenshot().pixel(at) & 0xFFFFFF) == colour; });
        EXPECT_EQ(seen, colour) << "pixel (" << at.x() << "," << at.y() << ")";
    }
    X11Session session;
    std::unique_ptr<ProgramRun> program;
};

TEST_F(Editing, ShiftSnapsALineThenUndoAndClearTakeItBack) {
    session.key("alt+shift+1 alt+l"); // opaque red line
    session.drag(QPoint(300, 300), QPoint(500, 330), "shift");
    waitForPixel(QPoint(450, 300), 0xFF0000); // snapped horizontal at the anchor's height
    EXPECT_EQ(pixelAt(QPoint(450, 322)), 0xFFFFFFu);
    session.key("ctrl+BackSpace");
    waitForPixel(QPoint(450, 300), 0xFFFFFF);

    session.drag(QPoint(300, 500), QPoint(500, 500));
    session.drag(QPoint(300, 550), QPoint(500, 550));
    waitForPixel(QPoint(400, 550), 0xFF0000);
    session.key("ctrl+Delete");
    waitForPixel(QPoint(400, 500), 0xFFFFFF);
    EXPECT_EQ(pixelAt(QPoint(400, 550)), 0xFFFFFFu);
}

TEST_F(Editing, TheEraserBringsBackTheCapturedScreen) {
    session.key("alt+shift+4 alt+l"); // opaque blue line
    session.drag(QPoint(200, 400), QPoint(600, 400));
    waitForPixel(QPoint(400, 400), 0x0000FF);
    session.key("alt+g");
    session.click(QPoint(400, 400));
    waitForPixel(QPoint(400, 400), 0xFFFFFF);
    EXPECT_EQ(pixelAt(QPoint(250, 400)), 0x0000FFu) << "only the eraser's block is restored";
}

TEST_F(Editing, StampsAreOpaqueGreenAndRedWhateverTheColour) {
    session.key("alt+1 alt+h"); // a transparent colour is chosen; stamps ignore it
    session.click(QPoint(300, 300));
    session.key("alt+k");
    session.click(QPoint(600, 300));
    session.run("xdotool", {"mousemove", "1000", "700"});
    QImage shot;
    auto count = [&](QRect area, QRgb colour) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += (shot.pixel(x, y) & 0xFFFFFF) == colour;
        return n;
    };
    EXPECT_TRUE(X11Session::waitUntil([&] {
        shot = session.screenshot();
        return count(QRect(240, 240, 120, 120), 0x00C400) > 100 &&
               count(QRect(540, 240, 120, 120), 0xDC0000) > 100;
    })) << "a green check mark and a red cross, each centred on its click";
    EXPECT_GT(count(QRect(240, 240, 120, 120), 0x000000), 10) << "with a black shadow";
}

// Each Lancer grabs into the memory of the last one's frozen screen: the second and the
// third must show their own screen, and the eraser and undo must bring back that one.
TEST_F(Editing, EveryNewStartFreezesItsOwnScreenForTheEraserAndUndo) {
    const QPoint onLine(400, 400);
    QTemporaryDir folder;
    for (QRgb screen : {0x00C000u, 0xE0E000u}) {
        session.key("F9");
        ASSERT_TRUE(session.waitForWindowGone("ScreenForm"));
        QImage paper(session.size(), QImage::Format_RGB32);
        paper.fill(screen);
        const QString file = folder.filePath("paper.png");
        ASSERT_TRUE(paper.save(file));
        session.run("display", {"-window", "root", file}); // the palette stays in front
        waitForPixel(QPoint(40, 40), screen);
        ASSERT_NE(startDrawingPhase(session), 0u);
        waitForPixel(QPoint(40, 40), screen);
        const QImage frozen = session.screenshot();
        for (int y = 0; y < frozen.height(); y += frozen.height() / 7)
            EXPECT_EQ(frozen.pixel(40, y) & 0xFFFFFF, screen) << "row " << y;

        session.key("alt+shift+4 alt+l"); // opaque blue line
        session.drag(onLine - QPoint(200, 0), onLine + QPoint(200, 0));
        waitForPixel(onLine, 0x0000FF);
        session.key("ctrl+BackSpace");
        waitForPixel(onLine, screen);
        session.drag(onLine - QPoint(200, 0), onLine + QPoint(200, 0));
        waitForPixel(onLine, 0x0000FF);
        session.key("alt+g");
        session.click(onLine);
        waitForPixel(onLine, screen);
    }
}

} // namespace
