// A user's drawing phase on the real program: typing a text, copying the picture, the info
// box, and the choices that survive a restart.
#include "support/picture_diff.h"
#include "support/test_support.h"
#include "x11_session.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage White(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

class DrawingJourney : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_OUTSIDE_WORLD(session.ok(), session.error());
        ASSERT_TRUE(session.setBackground(White(session.size())));
    }

    // Starts the program and freezes the screen; returns the palette's client area.
    QRect startDrawingPhase(ProgramRun& program) {
        palette = session.waitForWindow("Skribando");
        EXPECT_NE(palette, 0u) << program.output();
        QRect area = session.windowGeometry(palette);
        session.click(area.topLeft() + kLancerInPalette);
        surface = session.waitForWindow("ScreenForm");
        EXPECT_NE(surface, 0u);
        X11Session::waitUntil([&] { return session.windowGeometry(palette).height() > 300; });
        return session.windowGeometry(palette);
    }

    QString settingsFile() const { return session.configHome() + "/Brenholtsoft/Skribando.reg"; }

    X11Session session;
    unsigned long palette = 0;
    unsigned long surface = 0;
};

TEST_F(DrawingJourney, TypedTextIsWrittenIntoThePictureOnEnter) {
    ProgramRun program(session);
    startDrawingPhase(program);
    session.activate(surface);
    session.key("alt+t");
    session.click(QPoint(300, 300));
    session.type("Bonjour");
    session.key("Return");
    session.run("xdotool", {"mousemove", "--sync", "900", "700"});
    QImage shot;
    // The default colour is red; text is always written opaque.
    ASSERT_TRUE(X11Session::waitUntil([&] {
        shot = session.screenshot();
        return testsupport::countColour(shot, qRgb(255, 0, 0), QRect(300, 240, 200, 62)) > 60;
    })) << "the text's pixels sit above and right of the click";
    EXPECT_EQ(testsupport::countColour(shot, qRgb(255, 0, 0), QRect(0, 0, 290, 800)), 0)
        << "nothing red left of the text";
}

TEST_F(DrawingJourney, CopyPutsTheAnnotatedPictureOnTheClipboard) {
    ProgramRun program(session);
    QRect paletteArea = startDrawingPhase(program);
    session.activate(surface);
    session.key("alt+shift+4 alt+e"); // opaque blue ellipse
    session.drag(QPoint(200, 200), QPoint(400, 320));
    session.run("xdotool", {"mousemove", "--sync", "900", "700"});
    session.key("ctrl+c");
    QImage copied;
    ASSERT_TRUE(X11Session::waitUntil([&] {
        QProcess xclip;
        xclip.setProcessEnvironment(session.environment());
        xclip.start("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"});
        xclip.waitForFinished(5000);
        copied.loadFromData(xclip.readAllStandardOutput(), "PNG");
        return !copied.isNull();
    })) << "another program can paste the picture";
    copied = copied.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(copied.size(), session.size());
    EXPECT_GT(testsupport::countColour(copied, qRgb(0, 0, 255), QRect(190, 190, 220, 140)), 400)
        << "the ellipse is in the copy";
    EXPECT_EQ(testsupport::countColour(copied, qRgb(0, 0, 255), paletteArea), 0)
        << "the palette is not";
}

TEST_F(DrawingJourney, F1ShowsTheInfoBoxAndEscClosesIt) {
    ProgramRun program(session);
    palette = session.waitForWindow("Skribando");
    ASSERT_NE(palette, 0u);
    session.activate(palette);
    session.key("F1");
    const unsigned long info = session.waitForWindow("Info");
    ASSERT_NE(info, 0u);
    session.activate(info);
    session.key("Escape");
    EXPECT_TRUE(session.waitForWindowGone("Info"));
    EXPECT_TRUE(program.running());
}

TEST_F(DrawingJourney, ChoicesAndPlaceSurviveARestart) {
    QPoint placed;
    {
        ProgramRun program(session);
        palette = session.waitForWindow("Skribando");
        ASSERT_NE(palette, 0u);
        // The start-up steps have run once the palette stands in the top-right corner; a
        // move before that would be undone by them.
        ASSERT_TRUE(waitForPaletteInTopRightCorner(session, palette));
        session.activate(palette);
        session.key("ctrl+4 alt+shift+3 alt+e");
        session.run("xdotool", {"windowmove", QString::number(palette), "300", "250"});
        ASSERT_TRUE(X11Session::waitUntil([&] {
            placed = session.frameGeometry(palette).topLeft();
            return placed.x() < 400;
        }));
        session.run("wmctrl", {"-c", "Skribando"});
        ASSERT_TRUE(program.waitForExit());
    }
    auto stored = [&] {
        QFile file(settingsFile());
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    };
    const QString first = stored();
    EXPECT_TRUE(first.contains("\"StiftdickeMode\"=dword:00000004")) << first;
    EXPECT_TRUE(first.contains("\"FarbMode\"=dword:0000000d")) << first;
    EXPECT_TRUE(first.contains("\"WerkzeugMode\"=dword:00000007")) << first;

    // The second run draws with the stored choices: an opaque green ellipse outline, where
    // the first-run defaults would draw a wide red pen stroke through the drag's middle.
    // Its start-up steps have run once the palette is back where the first run left it.
    ProgramRun again(session);
    palette = session.waitForWindow("Skribando");
    ASSERT_NE(palette, 0u);
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return session.frameGeometry(palette).topLeft() == placed;
    })) << "the palette returns to ("
        << placed.x() << ", " << placed.y() << ")";
    ASSERT_NE(::startDrawingPhase(session), 0u);
    session.drag(QPoint(700, 400), QPoint(900, 520));
    session.run("xdotool", {"mousemove", "--sync", "1000", "700"});
    const QRgb green = qRgb(0, 255, 0);
    QImage shot;
    EXPECT_TRUE(X11Session::waitUntil([&] {
        shot = session.screenshot();
        return testsupport::countColour(shot, green, QRect(690, 390, 220, 140)) > 400;
    })) << "the stored colour and tool draw the ellipse";
    EXPECT_EQ(testsupport::countColour(shot, green, QRect(760, 440, 80, 40)), 0)
        << "an outline, not a stroke through its middle";
    session.key("F9");
    ASSERT_TRUE(session.waitForWindowGone("ScreenForm"));
    session.run("wmctrl", {"-c", "Skribando"});
    ASSERT_TRUE(again.waitForExit());
    const QString second = stored();
    EXPECT_TRUE(second.contains("\"StiftdickeMode\"=dword:00000004")) << second;
    EXPECT_TRUE(second.contains("\"FarbMode\"=dword:0000000d")) << second;
    EXPECT_TRUE(second.contains("\"WerkzeugMode\"=dword:00000007")) << second;
}

} // namespace
