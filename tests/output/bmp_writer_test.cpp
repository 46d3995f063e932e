#include "output/bmp_writer.h"
#include "read_back.h"
#include "support/picture_diff.h"

#include <QBuffer>
#include <gtest/gtest.h>

using readback::le16;
using readback::le32;

namespace {

struct Bmp {
    std::vector<uint8_t> bytes;
    uint32_t offset() const { return le32(bytes, 10); }
    int bitCount() const { return le16(bytes, 28); }
    // Pixel rows lie bottom-up, each padded to four bytes.
    const uint8_t* row(int y) const {
        int height = static_cast<int>(le32(bytes, 22));
        size_t stride = ((le32(bytes, 18) * bitCount() + 31) / 32) * 4;
        return &bytes[offset() + (height - 1 - y) * stride];
    }
};

Bmp written(const QImage& picture) {
    MemorySink sink;
    Outcome status = writeBmp(picture, sink);
    EXPECT_TRUE(status) << status.message().toStdString();
    return Bmp{sink.bytes()};
}

QImage readByQt(const Bmp& bmp) {
    QImage image;
    image.loadFromData(bmp.bytes.data(), static_cast<int>(bmp.bytes.size()), "BMP");
    return image;
}

} // namespace

TEST(BmpWriter, ScreenPictureIsWrittenUncompressedAtThirtyTwoBits) {
    QImage picture(5, 3, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    picture.setPixel(4, 0, qRgb(0x10, 0x20, 0x30)); // top right
    picture.setPixel(0, 2, qRgb(0xa0, 0xb0, 0xc0)); // bottom left
    Bmp bmp = written(picture);

    ASSERT_EQ(bmp.bytes.size(), 54u + 5 * 3 * 4);
    EXPECT_EQ(bmp.bytes[0], 'B');
    EXPECT_EQ(bmp.bytes[1], 'M');
    EXPECT_EQ(le32(bmp.bytes, 2), bmp.bytes.size());
    EXPECT_EQ(bmp.offset(), 54u);
    EXPECT_EQ(le32(bmp.bytes, 14), 40u); // information header
    EXPECT_EQ(le32(bmp.bytes, 18), 5u);
    EXPECT_EQ(le32(bmp.bytes, 22), 3u); // positive: bottom-up
    EXPECT_EQ(le16(bmp.bytes, 26), 1);
    EXPECT_EQ(bmp.bitCount(), 32);
    EXPECT_EQ(le32(bmp.bytes, 30), 0u); // BI_RGB
    EXPECT_EQ(le32(bmp.bytes, 34), 5u * 3 * 4);
    EXPECT_EQ(le32(bmp.bytes, 46), 0u); // no colour table

    // The bottom row comes first; blue, green, red in each pixel.
    EXPECT_EQ(bmp.bytes[54], 0xc0);
    EXPECT_EQ(bmp.bytes[55], 0xb0);
    EXPECT_EQ(bmp.bytes[56], 0xa0);
    EXPECT_EQ(bmp.row(0)[16], 0x30);
    EXPECT_EQ(bmp.row(0)[18], 0x10);
    EXPECT_TRUE(testsupport::samePixels(picture, readByQt(bmp)));
}

TEST(BmpWriter, TwentyFourBitRowsArePaddedToFourBytes) {
    QImage picture = readback::noisyPicture(5, 4, 3).convertToFormat(QImage::Format_RGB888);
    Bmp bmp = written(picture);
    EXPECT_EQ(bmp.bitCount(), 24);
    EXPECT_EQ(bmp.bytes.size(), 54u + 16 * 4);
    QRgb last = picture.pixel(4, 1);
    EXPECT_EQ(bmp.row(1)[12], qBlue(last));
    EXPECT_EQ(bmp.row(1)[14], qRed(last));
    EXPECT_EQ(bmp.row(1)[15], 0); // padding
    EXPECT_TRUE(testsupport::samePixels(picture, readByQt(bmp)));
}

TEST(BmpWriter, LowDepthPicturesKeepTheirDepthWithAColourTable) {
    QImage indexed(7, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 128, 255)});
    indexed.fill(0);
    indexed.setPixel(6, 0, 1);
    Bmp bmp = written(indexed);
    EXPECT_EQ(bmp.bitCount(), 8);
    EXPECT_EQ(le32(bmp.bytes, 46), 256u);
    EXPECT_EQ(bmp.offset(), 54u + 256 * 4);
    EXPECT_EQ(le32(bmp.bytes, 54 + 4), 0x000080ffu); // entry 1: blue, green, red, zero
    EXPECT_EQ(bmp.row(0)[6], 1);
    EXPECT_TRUE(testsupport::samePixels(indexed, readByQt(bmp)));

    QImage mono(10, 3, QImage::Format_MonoLSB);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(0);
    mono.setPixel(0, 0, 1);
    mono.setPixel(9, 2, 1);
    bmp = written(mono);
    EXPECT_EQ(bmp.bitCount(), 1);
    EXPECT_EQ(bmp.offset(), 54u + 2 * 4);
    EXPECT_EQ(bmp.row(0)[0], 0x80); // leftmost pixel in the high bit
    EXPECT_TRUE(testsupport::samePixels(mono, readByQt(bmp)));

    QImage rgb16 = readback::noisyPicture(3, 3, 8).convertToFormat(QImage::Format_RGB16);
    bmp = written(rgb16);
    EXPECT_EQ(bmp.bitCount(), 16);
    EXPECT_EQ(le32(bmp.bytes, 30), 3u); // bit fields
    EXPECT_EQ(le32(bmp.bytes, 54), 0xf800u);
    // Qt's reader widens 5 bits differently from QImage, so compare the stored words.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(le16(bmp.bytes, bmp.row(y) - bmp.bytes.data() + 2 * x),
                      reinterpret_cast<const quint16*>(rgb16.constScanLine(y))[x]);
}

TEST(BmpWriter, EmptyPictureAndSinkFailureAreReported) {
    MemorySink empty;
    EXPECT_FALSE(writeBmp(QImage(), empty));
    EXPECT_TRUE(empty.bytes().empty());

    readback::FailingSink failing(100);
    Outcome status = writeBmp(readback::noisyPicture(40, 40, 1), failing);
    EXPECT_EQ(status.message(), readback::FailingSink::message());
    EXPECT_LT(failing.received(), 400u) << "kept writing after the failure";
}
