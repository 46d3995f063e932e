// The typical use from start to finish: freeze, transparent yellow arrow, Ctrl+S to a ".png"
// name, F9; then the saved file is looked at pixel by pixel.
#include "support/test_support.h"
#include "x11_session.h"

#include <QFileInfo>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

TEST(TypicalUse, AYellowArrowSavedAsPngKeepsDarkTextDark) {
    X11Session session;
    REQUIRE_OUTSIDE_WORLD(session.ok(), session.error());
    // White paper with a black band the arrow crosses, like a line of text.
    QImage paper(session.size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter(&paper).fillRect(QRect(450, 380, 100, 40), Qt::black);
    ASSERT_TRUE(session.setBackground(paper));

    ProgramRun program(session);
    ASSERT_NE(startDrawingPhase(session), 0u) << program.output();
    session.key("alt+2 alt+p"); // transparent yellow, arrow
    session.drag(QPoint(300, 400), QPoint(700, 400));
    session.run("xdotool", {"mousemove", "--sync", "900", "700"});

    const QString saved = session.configHome() + "/road.png";
    session.key("ctrl+s");
    const unsigned long saveDialog = session.waitForWindow("Enregistrer l'ecran");
    ASSERT_NE(saveDialog, 0u) << "the save dialog opens";
    session.activate(saveDialog);
    session.type(saved);
    session.key("Return");
    ASSERT_TRUE(X11Session::waitUntil([&] { return QFileInfo::exists(saved); }))
        << "a file of the chosen name is written";
    session.key("F9");
    EXPECT_TRUE(session.waitForWindowGone("ScreenForm"));

    QImage picture;
    ASSERT_TRUE(X11Session::waitUntil([&] { return picture.load(saved); }));
    picture = picture.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), session.size());
    auto at = [&](int x, int y) {
        return picture.pixel(x, y) & 0xFFFFFF;
    };
    EXPECT_EQ(at(380, 400), 0xFFFF00u) << "yellow over white on the shaft";
    EXPECT_EQ(at(500, 400), 0x000000u) << "dark stays dark under the highlighter";
    EXPECT_EQ(at(380, 420), 0xFFFFFFu) << "nothing beyond the 13-pixel stroke";
    // Barbs of 46 pixels run back from the tip at (700, 400), 20 degrees to each side.
    EXPECT_EQ(at(667, 388), 0xFFFF00u) << "upper barb";
    EXPECT_EQ(at(667, 412), 0xFFFF00u) << "lower barb";
    EXPECT_EQ(at(720, 400), 0xFFFFFFu) << "nothing past the tip but the round cap";
}

} // namespace
