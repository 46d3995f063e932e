// The choice of grab for each kind of session, and how the primary screen is cut out of the
// portal's picture of the whole desktop.
#include "platform/portal_screenshot.h"
#include "platform/screen_grab_ways.h"
#include "support/picture_diff.h"

#include <gtest/gtest.h>

TEST(GrabWays, PortalOnWaylandAndUnderXWaylandSharedMemoryOnlyOnARealX11Session) {
    using W = GrabWay;
    EXPECT_EQ(GrabWaysFor("xcb", false), (QList<W>{W::X11SharedMemory, W::Qt}));
    EXPECT_EQ(GrabWaysFor("xcb", true), QList<W>{W::Portal});
    EXPECT_EQ(GrabWaysFor("wayland", true), (QList<W>{W::Portal, W::Qt}));
    EXPECT_EQ(GrabWaysFor("wayland-egl", false), (QList<W>{W::Portal, W::Qt}));
    EXPECT_EQ(GrabWaysFor("offscreen", true), QList<W>{});
}

namespace {
// Every pixel differs from its neighbours, so a cut one pixel off shows.
QImage pattern(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x * 5 & 0xFF, y * 7 & 0xFF, (x * 3 + y) & 0xFF));
    return picture;
}
} // namespace

TEST(CropToPrimaryScreen, CutsTheScreenAtThePicturesOwnScaleAndResizesOnlyWhenItDiffers) {
    // Two screens side by side, 40x30 logical each, the primary on the right at (40, 0);
    // the desktop starts at (0, 0) in logical pixels.
    const QRect desktop(0, 0, 80, 30), primary(40, 0, 40, 30);
    // A portal on a doubled output writes device pixels: the cut is exact.
    const QImage doubled = pattern(160, 60);
    EXPECT_TRUE(testsupport::samePixels(doubled.copy(80, 0, 80, 60),
                                        CropToPrimaryScreen(doubled, desktop, primary, {80, 60})));
    // A desktop whose origin is not (0, 0): the cut is relative to it.
    EXPECT_TRUE(testsupport::samePixels(doubled.copy(80, 0, 80, 60),
                                        CropToPrimaryScreen(doubled, desktop.translated(-40, 5),
                                                            primary.translated(-40, 5), {80, 60})));
    // One written in logical pixels is brought to the screen's device size.
    const QImage logical = pattern(80, 30);
    const QImage resized = CropToPrimaryScreen(logical, desktop, primary, {80, 60});
    EXPECT_EQ(resized.size(), QSize(80, 60));
    EXPECT_EQ(resized.format(), QImage::Format_RGB32);
    EXPECT_TRUE(CropToPrimaryScreen(QImage(), desktop, primary, {80, 60}).isNull());
}
