// What the program makes of the screen it reads: a 16-bit screen is saved at 16 bits, and a
// screen it cannot read is said so, without a drawing phase.
#include "support/picture_diff.h"
#include "support/test_support.h"
#include "x11_session.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QImage Gradient(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), 90));
    return picture;
}

TEST(ScreenRead, OnA16BitScreenABitmapIsSavedWith16BitPixels) {
    X11Session session(640, 480, WindowManager::Openbox, 16);
    REQUIRE_OUTSIDE_WORLD(session.ok(), session.error());
    // The root keeps the gradient in 5-6-5 pixels, so it never equals the 32-bit original:
    // what the screen shows is what the file must hold.
    session.setBackground(Gradient(session.size()));
    const QImage screen = session.steadyScreenshot();

    ProgramRun program(session);
    ASSERT_NE(startDrawingPhase(session), 0u) << program.output().toStdString();
    const QString saved = session.configHome() + "/screen16.bmp";
    session.key("ctrl+s");
    const unsigned long saveDialog = session.waitForWindow("Enregistrer l'ecran");
    ASSERT_NE(saveDialog, 0u);
    session.activate(saveDialog);
    session.type(saved);
    session.key("Return");
    ASSERT_TRUE(X11Session::waitUntil([&] { return QFileInfo::exists(saved); }));

    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 66);
    const auto* header = reinterpret_cast<const uchar*>(bytes.constData());
    EXPECT_EQ(qFromLittleEndian<quint16>(header + 28), 16) << "bits per pixel";
    EXPECT_EQ(qFromLittleEndian<quint32>(header + 30), 3u) << "5-6-5 bit fields";
    EXPECT_EQ(qFromLittleEndian<quint32>(header + 54), 0xF800u) << "red mask";
    EXPECT_EQ(bytes.size(), 54 + 12 + 640 * 2 * 480) << "two bytes a pixel";
    // The palette was hidden for the grab: the file holds the screen's own pixels.
    EXPECT_TRUE(testsupport::samePixels(screen.convertToFormat(QImage::Format_RGB16),
                                        QImage(saved).convertToFormat(QImage::Format_RGB16)));
}

// In a Wayland session the X server shows only its own windows, so its root window is not
// the screen: without another way to read it, Lancer says so and the palette stays idle.
TEST(ScreenRead, AScreenThatCannotBeReadIsSaidAndNoDrawingPhaseStarts) {
    X11Session session;
    REQUIRE_OUTSIDE_WORLD(session.ok(), session.error());
    QProcessEnvironment environment = session.environment();
    environment.insert("WAYLAND_DISPLAY", "wayland-skribando-none");
    environment.insert("XDG_SESSION_TYPE", "wayland");
    environment.remove("DBUS_SESSION_BUS_ADDRESS");
    ProgramRun program(environment, {});
    const unsigned long palette = session.waitForWindow("Skribando");
    ASSERT_NE(palette, 0u) << program.output().toStdString();
    waitForPaletteInTopRightCorner(session, palette);
    session.click(session.windowGeometry(palette).topLeft() + kLancerInPalette);

    // The box carries the program's name, like the palette.
    auto named = [&] {
        return session.run("xdotool", {"search", "--onlyvisible", "--name", "^Skribando$"})
            .split('\n', Qt::SkipEmptyParts);
    };
    ASSERT_TRUE(X11Session::waitUntil([&] { return named().size() == 2; }))
        << "an error box says the screen could not be read";
    EXPECT_FALSE(session.isWindowVisible("ScreenForm"));
    for (const QString& window : named())
        if (window.toULong() != palette)
            session.activate(window.toULong());
    session.key("Return");
    ASSERT_TRUE(X11Session::waitUntil([&] { return named().size() == 1; }));
    EXPECT_FALSE(session.isWindowVisible("ScreenForm")) << "no drawing phase";
    EXPECT_EQ(session.windowGeometry(palette).height(), 23) << "the palette stays idle";
    EXPECT_TRUE(program.running());
}

} // namespace
