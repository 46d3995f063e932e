#include "output/jpeg_writer.h"
#include "read_back.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

// Smooth colours, so a lossy round trip can be held to a small difference.
QImage gradientPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 128 + (x - y) / 4));
    return picture;
}

int largestChannelDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

} // namespace

TEST(JpegWriter, WritesSequentialColourJpegAtQualityNinetyNine) {
    QImage picture = gradientPicture(61, 35);
    MemorySink sink;
    ASSERT_TRUE(writeJpeg(picture, sink));
    readback::JpegFile jpeg = readback::readJpeg(sink.bytes());
    ASSERT_TRUE(jpeg.error.isEmpty()) << jpeg.error.toStdString();
    EXPECT_FALSE(jpeg.progressive);
    EXPECT_TRUE(jpeg.baselineFrame);
    EXPECT_EQ(jpeg.components, 3);
    EXPECT_EQ(jpeg.quantTables, readback::libjpegQuantTables(99));
    EXPECT_NE(jpeg.quantTables, readback::libjpegQuantTables(75)); // the check can tell
    ASSERT_EQ(jpeg.decoded.size(), picture.size());
    EXPECT_LE(largestChannelDifference(picture, jpeg.decoded), 6);
}

TEST(JpegWriter, ReadsEveryPictureFormatInItsOwnColours) {
    QImage picture = gradientPicture(40, 24).convertToFormat(QImage::Format_RGB888);
    MemorySink sink;
    ASSERT_TRUE(writeJpeg(picture, sink));
    readback::JpegFile jpeg = readback::readJpeg(sink.bytes());
    ASSERT_EQ(jpeg.decoded.size(), picture.size());
    EXPECT_LE(largestChannelDifference(picture, jpeg.decoded), 6);
}

TEST(JpegWriter, ReportsLibraryAndSinkFailuresWithTheirOwnText) {
    MemorySink empty;
    EXPECT_FALSE(writeJpeg(QImage(), empty));
    EXPECT_TRUE(empty.bytes().empty());

    // Beyond the format's largest dimension libjpeg refuses; the text says why.
    QImage tooWide(70000, 1, QImage::Format_RGB32);
    tooWide.fill(Qt::white);
    MemorySink sink;
    Outcome status = writeJpeg(tooWide, sink);
    EXPECT_FALSE(status);
    EXPECT_TRUE(status.message().contains("65500")) << status.message().toStdString();

    readback::FailingSink failing(1000);
    status = writeJpeg(readback::noisyPicture(300, 200, 9), failing);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message(), readback::FailingSink::message());
}
