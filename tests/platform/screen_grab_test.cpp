// The screen grab: the pixel conversion from the X server's layouts, Qt's grab on the
// offscreen platform, and the shared-memory grab against a private Xvfb whose root window
// holds a known pattern, with and without Qt itself running on that server.
#include "platform/screen_grab.h"
#include "platform/xcb_pixels.h"
#include "support/picture_diff.h"
#include "support/test_support.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <bit>
#include <cstring>
#include <gtest/gtest.h>

#if __has_include(<xcb/shm.h>)
#include <xcb/xcb.h>
#define SKRIBANDO_TEST_XCB 1
#endif

namespace {

// A pattern in which every pixel differs from its neighbours in all three channels, so a
// swapped channel, a shifted row or a wrong stride shows.
QImage pattern(int width, int height, int seed = 0) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y,
                             qRgb((x * 7 + y * 3 + seed) & 0xFF, (x * 13 ^ y * 5) & 0xFF,
                                  (x + y * 11 + seed * 3) & 0xFF));
    return picture;
}

testing::AssertionResult opaqueRgb32(const QImage& picture) {
    if (picture.format() != QImage::Format_RGB32)
        return testing::AssertionFailure() << "format " << picture.format() << ", not RGB32";
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(row[x]) != 0xFF)
                return testing::AssertionFailure()
                       << "alpha " << qAlpha(row[x]) << " at (" << x << "," << y << ")";
    }
    return testing::AssertionSuccess();
}

// Encodes a picture the way a server of `layout` would lay it out, with junk in the unused
// byte and in the row padding.
QByteArray serverBytes(const QImage& picture, const XPixelLayout& layout) {
    const int rowBytes = XRowBytes(layout, picture.width());
    QByteArray bytes(rowBytes * picture.height(), char(0x5A));
    auto place = [](int channel, std::uint32_t mask) {
        return (std::uint32_t(channel) << std::countr_zero(mask)) & mask;
    };
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            QRgb colour = picture.pixel(x, y);
            std::uint32_t pixel =
                0xA5A5A5A5u & ~(layout.redMask | layout.greenMask | layout.blueMask);
            pixel |= place(qRed(colour), layout.redMask) | place(qGreen(colour), layout.greenMask) |
                     place(qBlue(colour), layout.blueMask);
            uchar* to = reinterpret_cast<uchar*>(bytes.data()) + y * rowBytes + x * 4;
            for (int i = 0; i < 4; ++i)
                to[layout.msbFirst ? 3 - i : i] = uchar(pixel >> (8 * i));
        }
    return bytes;
}

} // namespace

TEST(GrabPixels, EveryByteAndChannelOrderReadsAsTheSamePicture) {
    const QImage expected = pattern(5, 3);
    for (bool msbFirst : {false, true})
        for (bool bgr : {false, true}) {
            XPixelLayout layout;
            layout.depth = 24;
            layout.bitsPerPixel = 32;
            layout.scanlinePad = 64; // rows of 5 pixels then carry 4 bytes of padding
            layout.msbFirst = msbFirst;
            layout.redMask = bgr ? 0x0000FF : 0xFF0000;
            layout.greenMask = 0x00FF00;
            layout.blueMask = bgr ? 0xFF0000 : 0x0000FF;
            ASSERT_EQ(XRowBytes(layout, 5), 24);
            const QByteArray bytes = serverBytes(expected, layout);
            const QImage read =
                ConvertXPixels(layout, reinterpret_cast<const uchar*>(bytes.constData()), 5, 3);
            SCOPED_TRACE(testing::Message() << "msbFirst " << msbFirst << ", bgr " << bgr);
            EXPECT_TRUE(testsupport::samePixels(expected, read));
            EXPECT_TRUE(opaqueRgb32(read));
        }
}

TEST(GrabPixels, LayoutsWithoutWholeByteChannelsAreDeclined) {
    XPixelLayout rgb565{16, 16, 32, false, 0xF800, 0x07E0, 0x001F};
    XPixelLayout deep30{30, 32, 32, false, 0x3FF00000, 0x000FFC00, 0x000003FF};
    XPixelLayout overlapping{24, 32, 32, false, 0xFF0000, 0xFF0000, 0x0000FF};
    for (const XPixelLayout& layout : {rgb565, deep30, overlapping}) {
        EXPECT_FALSE(ReadableXLayout(layout)) << "depth " << layout.depth;
        QByteArray bytes(64, 0);
        EXPECT_TRUE(ConvertXPixels(layout, reinterpret_cast<const uchar*>(bytes.constData()), 2, 2)
                        .isNull());
    }
}

// The offscreen platform has no screen to read: Qt's grab there sees only our own windows,
// and with none it hands back pixels it never wrote. The grab fails rather than pass them on.
TEST(GrabOffscreen, WithoutAScreenToReadTheGrabFails) {
    ASSERT_NE(QGuiApplication::primaryScreen(), nullptr);
    EXPECT_FALSE(GrabPrimaryScreen().read());
}

TEST(GrabOffscreen, AWindowCoveringTheScreenIsGrabbedPixelForPixel) {
    class PatternWindow : public QWidget {
    public:
        QImage picture;
        bool painted = false;
        void paintEvent(QPaintEvent*) override {
            QPainter(this).drawImage(0, 0, picture);
            painted = true;
        }
    };
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(screen->devicePixelRatio(), 1.0);
    PatternWindow window;
    window.picture = pattern(screen->geometry().width(), screen->geometry().height(), 9);
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setGeometry(screen->geometry());
    window.show();
    QDeadlineTimer deadline(5000);
    while (!window.painted && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_TRUE(window.painted);

    const QImage picture = GrabPrimaryScreenWithQt();
    EXPECT_TRUE(testsupport::samePixels(window.picture, picture));
    EXPECT_TRUE(opaqueRgb32(picture));
}

TEST(GrabX11, AnUnreachableDisplayDeclinesInsteadOfFailing) {
    EXPECT_TRUE(GrabX11ScreenShm(":4071").isNull());
    EXPECT_TRUE(GrabX11ScreenShm("no-such-host-xyz.invalid:0").isNull());
}

#ifdef SKRIBANDO_TEST_XCB

namespace {

// A private X server; the X server itself chooses a free display and tells us through
// -displayfd, so parallel tests never race for a number.
class PrivateXvfb {
public:
    bool start(QSize size, int depth) {
        // -noreset: the painting connection closes before the grab, and a server that
        // resets when its last client leaves would clear the root window in between.
        server_.start("Xvfb", {"-displayfd", "1", "-noreset", "-screen", "0",
                               QString("%1x%2x%3").arg(size.width()).arg(size.height()).arg(depth),
                               "-nolisten", "tcp"});
        if (!server_.waitForStarted(5000))
            return false;
        QDeadlineTimer deadline(10000);
        QByteArray out;
        while (!out.contains('\n') && !deadline.hasExpired()) {
            if (!server_.waitForReadyRead(200) && server_.state() == QProcess::NotRunning)
                return false;
            out += server_.readAllStandardOutput();
        }
        if (!out.contains('\n'))
            return false;
        display_ = ":" + out.trimmed();
        return true;
    }
    ~PrivateXvfb() { stop(); }
    void stop() {
        if (server_.state() != QProcess::NotRunning) {
            server_.terminate();
            if (!server_.waitForFinished(3000))
                server_.kill();
            server_.waitForFinished(1000);
        }
    }
    const QByteArray& display() const { return display_; }
    QString errors() { return QString::fromLocal8Bit(server_.readAllStandardError()); }

private:
    QProcess server_;
    QByteArray display_;
};

// Paints `picture` onto the root window of `display` at `at`, in strips small enough for
// any server's request size.
testing::AssertionResult paintRoot(const QByteArray& display, const QImage& picture,
                                   QPoint at = {}) {
    xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return testing::AssertionFailure() << "cannot connect to " << display.constData();
    }
    const xcb_setup_t* setup = xcb_get_setup(connection);
    xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    if (screen->root_depth != 24 || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) {
        xcb_disconnect(connection);
        return testing::AssertionFailure() << "the test paints only 24-bit LSB-first roots";
    }
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    xcb_create_gc(connection, gc, screen->root, 0, nullptr);
    const int rowsPerStrip = std::max(1, 32768 / picture.width());
    for (int top = 0; top < picture.height(); top += rowsPerStrip) {
        const int rows = std::min(rowsPerStrip, picture.height() - top);
        QByteArray strip(picture.width() * 4 * rows, 0);
        for (int y = 0; y < rows; ++y)
            std::memcpy(strip.data() + y * picture.width() * 4, picture.constScanLine(top + y),
                        picture.width() * 4);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, gc,
                      uint16_t(picture.width()), uint16_t(rows), int16_t(at.x()),
                      int16_t(at.y() + top), 0, 24, uint32_t(strip.size()),
                      reinterpret_cast<const uint8_t*>(strip.constData()));
    }
    // A round trip, so the pixels are on the server before anyone grabs.
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    xcb_disconnect(connection);
    return testing::AssertionSuccess();
}

// An odd size, so that no row length or offset is a power of two by accident.
constexpr QSize kRoot{347, 213};

class GrabXvfb : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_OUTSIDE_WORLD(server_.start(kRoot, 24), "Xvfb does not start: " + server_.errors());
        painted_ = pattern(kRoot.width(), kRoot.height());
        ASSERT_TRUE(paintRoot(server_.display(), painted_));
    }
    PrivateXvfb server_;
    QImage painted_;
};

} // namespace

TEST_F(GrabXvfb, ShmGrabOfTheWholeRootEqualsThePaintedPattern) {
    const QImage picture = GrabX11ScreenShm(server_.display());
    ASSERT_FALSE(picture.isNull()) << "the server offers MIT-SHM, so the grab must not decline";
    EXPECT_TRUE(testsupport::samePixels(painted_, picture));
    EXPECT_TRUE(opaqueRgb32(picture));
}

TEST_F(GrabXvfb, ShmGrabOfARectangleTakesThePixelsFromThatPlace) {
    const QRect inner(31, 17, 101, 57);
    EXPECT_TRUE(
        testsupport::samePixels(painted_.copy(inner), GrabX11ScreenShm(server_.display(), inner)));
    const QRect corner(kRoot.width() - 9, kRoot.height() - 4, 9, 4);
    EXPECT_TRUE(testsupport::samePixels(painted_.copy(corner),
                                        GrabX11ScreenShm(server_.display(), corner)));
    // Reaching past the root is refused rather than filled with stale segment bytes.
    EXPECT_TRUE(GrabX11ScreenShm(server_.display(), corner.translated(1, 0)).isNull());
    EXPECT_TRUE(GrabX11ScreenShm(server_.display(), QRect(-1, 0, 5, 5)).isNull());
}

TEST_F(GrabXvfb, TheKeptSegmentNeverShowsAnEarlierGrab) {
    // A small grab first, so the whole-root grab that follows needs a larger segment.
    ASSERT_FALSE(GrabX11ScreenShm(server_.display(), QRect(0, 0, 8, 8)).isNull());
    const QImage patch = pattern(60, 40, 101);
    ASSERT_TRUE(paintRoot(server_.display(), patch, {200, 150}));
    QImage expected = painted_;
    QPainter(&expected).drawImage(200, 150, patch);
    EXPECT_TRUE(testsupport::samePixels(expected, GrabX11ScreenShm(server_.display())));

    // And a smaller grab after a change reuses the segment without leftovers.
    const QImage second = pattern(60, 40, 55);
    ASSERT_TRUE(paintRoot(server_.display(), second, {200, 150}));
    EXPECT_TRUE(testsupport::samePixels(
        second, GrabX11ScreenShm(server_.display(), QRect(200, 150, 60, 40))));
}

// The pictures live in the shared segments the server writes into; one still held must
// never be written by a later grab, whoever holds it and for however long.
TEST_F(GrabXvfb, APictureStillHeldIsNeverOverwrittenByLaterGrabs) {
    const QImage first = GrabX11ScreenShm(server_.display());
    const QImage changed = pattern(kRoot.width(), kRoot.height(), 77);
    ASSERT_TRUE(paintRoot(server_.display(), changed));
    QImage second = GrabX11ScreenShm(server_.display());
    const QImage third = GrabX11ScreenShm(server_.display());
    EXPECT_TRUE(testsupport::samePixels(painted_, first));
    EXPECT_TRUE(testsupport::samePixels(changed, third));
    // Drawing into one picture changes neither the others nor the next grab.
    second.fill(Qt::magenta);
    EXPECT_TRUE(testsupport::samePixels(changed, third));
    EXPECT_TRUE(testsupport::samePixels(changed, GrabX11ScreenShm(server_.display())));
    EXPECT_TRUE(testsupport::samePixels(painted_, first));
}

TEST_F(GrabXvfb, APictureLetGoGivesItsMemoryToTheNextGrab) {
    const uchar* memory = GrabX11ScreenShm(server_.display()).constBits();
    const QImage next = GrabX11ScreenShm(server_.display());
    EXPECT_EQ(next.constBits(), memory) << "fresh memory costs a page fault every 4 KB";
    EXPECT_TRUE(testsupport::samePixels(painted_, next));
}

TEST_F(GrabXvfb, APictureOutlivesItsConnectionAndServer) {
    QImage picture = GrabX11ScreenShm(server_.display());
    // Asking another display closes the connection that made the picture.
    EXPECT_TRUE(GrabX11ScreenShm(":4071").isNull());
    server_.stop();
    EXPECT_TRUE(testsupport::samePixels(painted_, picture));
    picture.fill(Qt::white);
    picture = QImage();
}

TEST(GrabX11, AServerWithAPixelLayoutWeDoNotReadDeclines) {
    PrivateXvfb server;
    REQUIRE_OUTSIDE_WORLD(server.start(QSize(64, 48), 16),
                          "Xvfb does not start: " + server.errors());
    EXPECT_TRUE(GrabX11ScreenShm(server.display()).isNull());
}

// Qt itself on the X server, scaled by 2: the grab through the seam and Qt's grab both give
// the screen in device pixels, equal to what is on the root window. Runs in a child process
// because this process's Qt is offscreen.
TEST_F(GrabXvfb, OnTheX11PlatformBothGrabsGiveDevicePixels) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString expectedFile = folder.filePath("expected.png");
    ASSERT_TRUE(painted_.save(expectedFile));

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("DISPLAY", QString::fromLocal8Bit(server_.display()));
    environment.insert("QT_SCALE_FACTOR", "2");
    environment.remove("WAYLAND_DISPLAY"); // an X session, whatever the tester runs in
    environment.remove("XDG_SESSION_TYPE");
    environment.insert("SKRIBANDO_GRAB_EXPECTED", expectedFile);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=GrabChild.PrimaryScreenOnX11EqualsTheRootWindow"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    EXPECT_FALSE(output.contains("SKIPPED")) << output.toStdString();
}

TEST(GrabChild, PrimaryScreenOnX11EqualsTheRootWindow) {
    const QString expectedFile = qEnvironmentVariable("SKRIBANDO_GRAB_EXPECTED");
    if (expectedFile.isEmpty())
        GTEST_SKIP()
            << "runs only as the child of GrabXvfb.OnTheX11PlatformBothGrabsGiveDevicePixels";
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    const QImage expected = QImage(expectedFile).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(expected.isNull());
    // 347 x 213 at scale 2 is 174 x 107 logical pixels (rounded up); the device rectangle
    // must still be the root's exact size.
    ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
    EXPECT_EQ(PrimaryScreenDeviceRect(), QRect(QPoint(0, 0), expected.size()));

    // The seam's own path here is shared memory, not the fallback.
    EXPECT_TRUE(testsupport::samePixels(expected, GrabX11ScreenShm({}, PrimaryScreenDeviceRect())));
    const ScreenCapture capture = GrabPrimaryScreen();
    EXPECT_EQ(capture.depth, 24);
    const QImage seam = capture.picture;
    EXPECT_TRUE(testsupport::samePixels(expected, seam));
    EXPECT_TRUE(opaqueRgb32(seam));
    EXPECT_EQ(seam.devicePixelRatio(), 1.0);
    const QImage qt = GrabPrimaryScreenWithQt();
    EXPECT_TRUE(testsupport::samePixels(expected, qt));
    EXPECT_TRUE(opaqueRgb32(qt));
    EXPECT_EQ(qt.devicePixelRatio(), 1.0);
}

#endif
