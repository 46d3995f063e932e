// The program as a native client of a headless Wayland compositor: the freeze read through
// the desktop portal, the surface full-screen on the output with the palette inside it, a
// drawing saved through the save dialog; and without a portal, the error box instead of a
// black freeze.
#include "support/picture_diff.h"
#include "support/test_support.h"
#include "support/wayland_desktop.h"
#include "x11_session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QPainter>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Every pixel differs from its neighbours, so a picture shifted, scaled or cut by a pixel
// shows against the screen.
QImage pattern(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y,
                             qRgb((x * 7 + y) & 0xFF, (y * 5 + x / 3) & 0xFF, (x ^ y) & 0xFF));
    return picture;
}

QRect rectOf(const QJsonObject& window) {
    const QJsonObject rect = window.value("rect").toObject();
    return QRect(rect.value("x").toInt(), rect.value("y").toInt(), rect.value("width").toInt(),
                 rect.value("height").toInt());
}

int windowsNamed(const WaylandDesktop& desktop, const QString& title) {
    int count = 0;
    std::function<void(const QJsonObject&)> walk = [&](const QJsonObject& node) {
        count += node.value("name").toString() == title && node.value("visible").toBool();
        for (const char* children : {"nodes", "floating_nodes"})
            for (const QJsonValue& child : node.value(children).toArray())
                walk(child.toObject());
    };
    walk(desktop.tree());
    return count;
}

// Blacks out, in device pixels, the palette's corner of the surface and the compositor's
// pointer, which the headless compositor draws into the screen itself (and so into both the
// freeze and grim's shots): everywhere else the frozen surface must be the screen it froze.
QImage withoutPaletteAndPointer(QImage picture, int scale, QPoint pointer) {
    QPainter painter(&picture);
    painter.fillRect(picture.width() - 60 * scale, 0, 60 * scale, 420 * scale, Qt::black);
    painter.fillRect(QRect((pointer - QPoint(8, 8)) * scale, QSize(40, 40) * scale), Qt::black);
    return picture;
}

class WaylandProgram {
public:
    explicit WaylandProgram(const WaylandDesktop& desktop,
                            const QProcessEnvironment& environment = {}) {
        process_.setProcessChannelMode(QProcess::MergedChannels);
        desktop.start(process_, SKRIBANDO_PROGRAM, {}, environment);
    }
    ~WaylandProgram() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    bool waitForExit() { return process_.waitForFinished(10000); }
    bool endedCleanly() const {
        return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
    }
    std::string output() { return process_.readAll().toStdString(); }

private:
    QProcess process_;
};

// Clicks Lancer on the idle palette with the pointer.
void clickLancer(const WaylandDesktop& desktop, const QJsonObject& palette) {
    // The compositor lists a new window before it has exchanged the window's first frames
    // with it, and holds clicks until then: a user's click comes later.
    QThread::msleep(100);
    desktop.click(rectOf(palette).topLeft() + kLancerInPalette);
}

// Starts a drawing phase from the idle palette with the pointer, as a user does; returns the
// surface's window, empty when it does not appear full-screen.
QJsonObject startDrawingPhase(const WaylandDesktop& desktop) {
    const QJsonObject palette = desktop.waitForWindow("Skribando");
    if (palette.isEmpty())
        return {};
    clickLancer(desktop, palette);
    QJsonObject surface;
    X11Session::waitUntil([&] {
        surface = desktop.waitForWindow("ScreenForm", 100);
        return surface.value("fullscreen_mode").toInt() == 1;
    });
    return surface.value("fullscreen_mode").toInt() == 1 ? surface : QJsonObject();
}

QImage steadyScreenshot(const WaylandDesktop& desktop) {
    QImage previous = desktop.screenshot(), current;
    X11Session::waitUntil([&] {
        current = desktop.screenshot();
        const bool steady = current == previous;
        previous = current;
        return steady;
    });
    return current;
}

void freezeShowsTheOutputsPixels(int scale) {
    WaylandDesktop desktop(pattern({1280, 1024}), scale);
    REQUIRE_OUTSIDE_WORLD(desktop.ok(), desktop.error());
    desktop.moveTo(QPoint(desktop.size().width() - 10, 10)); // where the palette will hide it
    const QImage before = steadyScreenshot(desktop);
    ASSERT_EQ(before.size(), QSize(1280, 1024)) << "grim reads the output in device pixels";

    WaylandProgram program(desktop);
    const QJsonObject palette = desktop.waitForWindow("Skribando");
    ASSERT_FALSE(palette.isEmpty()) << program.output();
    const QPoint lancer = rectOf(palette).topLeft() + kLancerInPalette;
    const QJsonObject surface = startDrawingPhase(desktop);
    ASSERT_FALSE(surface.isEmpty()) << program.output();
    EXPECT_EQ(rectOf(surface), QRect(QPoint(0, 0), desktop.size()));
    EXPECT_EQ(windowsNamed(desktop, "Skribando"), 0) << "the palette is inside the surface";
    EXPECT_TRUE(
        testsupport::samePixels(withoutPaletteAndPointer(before, scale, lancer),
                                withoutPaletteAndPointer(steadyScreenshot(desktop), scale, lancer)))
        << "scale " << scale;
}

} // namespace

TEST(WaylandJourney, FreezeDrawSaveAndFinishOnANativeSurface) {
    WaylandDesktop desktop(pattern({1280, 1024}));
    REQUIRE_OUTSIDE_WORLD(desktop.ok(), desktop.error());
    // A stored palette position outlives a run on Wayland, where the compositor places it.
    QDir().mkpath(desktop.folder() + "/config/Brenholtsoft");
    const QString settings = desktop.folder() + "/config/Brenholtsoft/Skribando.reg";
    {
        QFile file(settings);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Windows Registry Editor Version 5.00\r\n\r\n"
                   "[HKEY_CURRENT_USER\\Software\\Brenholtsoft\\Skribando]\r\n"
                   "\"WinPos-Left\"=dword:00000064\r\n\"WinPos-Top\"=dword:000000c8\r\n"
                   "\"MauszeigerMode\"=dword:00000002\r\n"); // the tool symbol for a pointer
    }
    desktop.handOver(desktop.folder() + "/config");
    desktop.moveTo(QPoint(1270, 5)); // the pointer, which the compositor draws, out of the way
    const QImage before = steadyScreenshot(desktop);

    WaylandProgram program(desktop);
    ASSERT_FALSE(startDrawingPhase(desktop).isEmpty()) << program.output();
    desktop.key("alt+s ctrl+4");
    desktop.drag(QPoint(200, 500), QPoint(700, 500));
    // The tool's symbol follows the pointer over the picture and is parked once the pointer
    // reaches the palette in the corner.
    const QRect underPointer(360, 260, 80, 80);
    const auto symbolShows = [&] {
        return !bool(testsupport::samePixels(before.copy(underPointer),
                                             desktop.screenshot().copy(underPointer)));
    };
    desktop.moveTo(QPoint(400, 300));
    EXPECT_TRUE(X11Session::waitUntil(symbolShows)) << "the symbol under the pointer";
    desktop.moveTo(QPoint(1260, 10));
    EXPECT_TRUE(X11Session::waitUntil([&] { return !symbolShows(); })) << "the symbol parked";

    const QString saved = desktop.folder() + "/journey.png";
    desktop.key("ctrl+s");
    // The dialog asks for the keyboard; sway, by default, only marks it as urgent.
    EXPECT_TRUE(X11Session::waitUntil([&] {
        const QJsonObject dialog = desktop.waitForWindow("Enregistrer l'ecran", 0);
        return dialog.value("urgent").toBool() || dialog.value("focused").toBool();
    })) << "the save dialog opens and asks to be activated";
    ASSERT_TRUE(desktop.activate("Enregistrer l'ecran"));
    desktop.type(saved);
    desktop.key("Return");
    if (!X11Session::waitUntil([&] { return QFileInfo(saved).size() > 0; })) {
        desktop.screenshot().save(SKRIBANDO_SCREENSHOT_DIR "/wayland-save-failed.png");
        FAIL() << "no file saved; the screen is in wayland-save-failed.png" << program.output();
    }
    QImage picture;
    ASSERT_TRUE(X11Session::waitUntil([&] { return picture.load(saved); }));
    picture = picture.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), before.size());
    EXPECT_NE(picture.pixel(450, 500), before.pixel(450, 500)) << "the stroke";
    EXPECT_TRUE(
        testsupport::samePixels(before.copy(0, 0, 1240, 400), picture.copy(0, 0, 1240, 400)))
        << "above it, the frozen screen, without the palette";

    desktop.key("F9");
    EXPECT_TRUE(desktop.waitForWindowGone("ScreenForm"));
    EXPECT_FALSE(desktop.waitForWindow("Skribando").isEmpty()) << "the idle palette is back";
    desktop.run("swaymsg", {"[title=\"^Skribando$\"] kill"});
    EXPECT_TRUE(program.waitForExit());
    QFile file(settings);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString stored = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(stored.contains("\"WinPos-Left\"=dword:00000064")) << stored.toStdString();
    EXPECT_TRUE(stored.contains("\"WinPos-Top\"=dword:000000c8")) << stored.toStdString();
}

TEST(WaylandJourney, FreezeShowsExactlyTheOutputsPixelsAlsoOnAScaledOutput) {
    freezeShowsTheOutputsPixels(1);
    freezeShowsTheOutputsPixels(2);
}

// The X server of XWayland knows only the X windows: a grab through it would freeze black
// where the Wayland desktop shows its background.
TEST(WaylandJourney, AnX11ClientUnderXWaylandFreezesTheOutputThroughThePortal) {
    WaylandDesktop desktop(pattern({1280, 1024}), 1, WaylandDesktop::Portal::Offered,
                           WaylandDesktop::XServer::XWayland);
    REQUIRE_OUTSIDE_WORLD(desktop.ok(), desktop.error());
    QProcessEnvironment x11 = desktop.environment();
    ASSERT_TRUE(x11.contains("DISPLAY"));
    x11.insert("QT_QPA_PLATFORM", "xcb");
    desktop.moveTo(QPoint(desktop.size().width() - 10, 10)); // out of the pictures compared
    const QImage before = steadyScreenshot(desktop);

    WaylandProgram program(desktop, x11);
    const QJsonObject palette = desktop.waitForWindow("Skribando");
    ASSERT_FALSE(palette.isEmpty()) << program.output();
    const QPoint lancer = rectOf(palette).topLeft() + kLancerInPalette;
    ASSERT_FALSE(startDrawingPhase(desktop).isEmpty()) << program.output();
    const QImage frozen = steadyScreenshot(desktop);
    // The palette is back over the surface, an X window of its own, expanded.
    const QRect paletteNow = rectOf(desktop.waitForWindow("Skribando"));
    const auto masked = [&](QImage picture) {
        QPainter(&picture).fillRect(paletteNow, Qt::black);
        return withoutPaletteAndPointer(picture, 1, lancer);
    };
    EXPECT_TRUE(testsupport::samePixels(masked(before), masked(frozen))) << program.output();
}

TEST(WaylandJourney, WithoutAPortalStartSaysSoAndShowsNoBlackPhase) {
    WaylandDesktop desktop(pattern({1280, 1024}), 1, WaylandDesktop::Portal::Absent);
    REQUIRE_OUTSIDE_WORLD(desktop.ok(), desktop.error());
    WaylandProgram program(desktop);
    const QJsonObject palette = desktop.waitForWindow("Skribando");
    ASSERT_FALSE(palette.isEmpty()) << program.output();
    clickLancer(desktop, palette);
    // The error box carries the program's name, as the palette does.
    EXPECT_TRUE(X11Session::waitUntil([&] { return windowsNamed(desktop, "Skribando") == 2; }))
        << program.output();
    EXPECT_TRUE(desktop.waitForWindow("ScreenForm", 500).isEmpty()) << "no freeze";
}

TEST(WaylandJourney, ClosingTheSurfaceDuringAPhaseEndsTheProgramCleanly) {
    WaylandDesktop desktop(pattern({1280, 1024}));
    REQUIRE_OUTSIDE_WORLD(desktop.ok(), desktop.error());
    WaylandProgram program(desktop);
    ASSERT_FALSE(startDrawingPhase(desktop).isEmpty()) << program.output();
    // The palette is part of the surface now, and goes out with the program.
    desktop.run("swaymsg", {"[title=\"^ScreenForm$\"] kill"});
    ASSERT_TRUE(program.waitForExit()) << program.output();
    EXPECT_TRUE(program.endedCleanly()) << program.output();
}
