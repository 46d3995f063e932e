// Pictures in memory of our own must behave as any QImage: the asked size and layout,
// writable, shareable, copied in place without a new buffer, and refused when too large.
#include "raster/block_copy.h"
#include "raster/picture_memory.h"

#include <gtest/gtest.h>
#include <limits>

using namespace raster;

TEST(PictureMemory, AScreenSizedPictureIsAnOrdinaryWritablePicture) {
    QImage picture = allocatePicture({3840, 2160}, QImage::Format_RGB32);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(3840, 2160));
    EXPECT_EQ(picture.format(), QImage::Format_RGB32);
    EXPECT_EQ(picture.bytesPerLine(), 3840 * 4);
    picture.fill(0xFF102030);
    picture.setPixel(3839, 2159, 0xFFABCDEF);
    EXPECT_EQ(picture.pixel(0, 0), 0xFF102030u);
    EXPECT_EQ(picture.pixel(3839, 2159), 0xFFABCDEFu);

    // A shared copy detaches on write and leaves the first picture alone.
    QImage shared = picture;
    shared.setPixel(0, 0, 0xFF000000);
    EXPECT_EQ(picture.pixel(0, 0), 0xFF102030u);
    EXPECT_EQ(shared.pixel(3839, 2159), 0xFFABCDEFu);
}

TEST(PictureMemory, SmallAndOddPicturesKeepQImagesLayout) {
    const QImage small = allocatePicture({33, 7}, QImage::Format_RGB32);
    ASSERT_FALSE(small.isNull());
    EXPECT_EQ(small.bytesPerLine(), QImage(33, 7, QImage::Format_RGB32).bytesPerLine());
    const QImage packed = allocatePicture({2001, 3000}, QImage::Format_RGB888);
    ASSERT_FALSE(packed.isNull());
    EXPECT_EQ(packed.bytesPerLine(), QImage(2001, 3000, QImage::Format_RGB888).bytesPerLine());
}

TEST(PictureMemory, ImpossiblePicturesAreNull) {
    EXPECT_TRUE(allocatePicture({0, 100}, QImage::Format_RGB32).isNull());
    EXPECT_TRUE(allocatePicture({-5, 100}, QImage::Format_RGB32).isNull());
    EXPECT_TRUE(allocatePicture({100, 100}, QImage::Format_Invalid).isNull());
    const int huge = std::numeric_limits<int>::max();
    EXPECT_TRUE(allocatePicture({huge, huge}, QImage::Format_RGB32).isNull());
}

TEST(PictureMemory, CopyPictureFillsAFreshPictureOnceThenReusesIt) {
    QImage source(1920, 1080, QImage::Format_RGB32);
    source.fill(0xFF336699);
    source.setPixel(100, 200, 0xFFFFFFFF);
    QImage target;
    CopyPicture(source, target);
    ASSERT_EQ(target, source);
    const uchar* pixels = target.constBits();

    source.setPixel(100, 200, 0xFF000000);
    CopyPicture(source, target);
    EXPECT_EQ(target, source);
    EXPECT_EQ(target.constBits(), pixels);
}
