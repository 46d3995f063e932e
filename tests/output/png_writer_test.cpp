#include "output/png_writer.h"
#include "read_back.h"
#include "support/picture_diff.h"

#include <gtest/gtest.h>

using readback::PngFile;

namespace {

PngFile written(const QImage& picture, PngSettings settings = {}) {
    MemorySink sink;
    Outcome status = writePng(picture, sink, settings);
    EXPECT_TRUE(status) << status.message().toStdString();
    return readback::readPng(sink.bytes());
}

// Every row starts with the Sub filter byte; that the bytes after it are right shows in
// libpng's decoding, which undoes the filter each row names.
void expectSubFilteredRows(const PngFile& png) {
    ASSERT_TRUE(png.inflated);
    size_t rowBytes = png.rowBytes();
    ASSERT_EQ(png.rows.size(), rowBytes * png.height);
    for (int y = 0; y < png.height; ++y)
        ASSERT_EQ(png.rows[y * rowBytes], 1) << "filter of row " << y;
}

void expectWellFormedChunks(const PngFile& png) {
    EXPECT_TRUE(png.signatureMatches);
    ASSERT_FALSE(png.chunks.empty());
    EXPECT_EQ(png.chunks.front().type, "IHDR");
    EXPECT_EQ(png.chunks.back().type, "IEND");
    for (const auto& chunk : png.chunks) {
        EXPECT_TRUE(chunk.crcMatches) << chunk.type;
        if (chunk.type == "IDAT") {
            EXPECT_LE(chunk.data.size(), kMaxIdatBytes);
        }
    }
    EXPECT_EQ(png.chunkCount("tRNS"), 0);
}

} // namespace

TEST(PngWriter, WritesScreenPicturesAsSubFilteredRgbWithoutAlpha) {
    QImage picture = readback::noisyPicture(37, 23, 1);
    PngFile png = written(picture);
    expectWellFormedChunks(png);
    EXPECT_EQ(png.width, 37);
    EXPECT_EQ(png.height, 23);
    EXPECT_EQ(png.colourType, 2);
    EXPECT_EQ(png.bitDepth, 8);
    EXPECT_EQ(png.interlace, 0);
    EXPECT_EQ(png.chunkCount("PLTE"), 0);
    expectSubFilteredRows(png);
    EXPECT_TRUE(testsupport::samePixels(picture, png.decoded)) << png.decodeError.toStdString();
}

TEST(PngWriter, LargePictureIsSplitIntoIdatChunksAndStripsThatJoinSeamlessly) {
    // Noise compresses badly, so this gives several strips and dozens of IDAT chunks.
    QImage picture = readback::noisyPicture(1201, 700, 2);
    PngFile png = written(picture);
    expectWellFormedChunks(png);
    EXPECT_GT(png.chunkCount("IDAT"), 10);
    expectSubFilteredRows(png);
    EXPECT_TRUE(testsupport::samePixels(picture, png.decoded)) << png.decodeError.toStdString();
}

TEST(PngWriter, FileDoesNotDependOnTheNumberOfThreads) {
    QImage picture = readback::noisyPicture(1000, 900, 3);
    MemorySink one, four;
    ASSERT_TRUE(writePng(picture, one, PngSettings{5, 1}));
    ASSERT_TRUE(writePng(picture, four, PngSettings{5, 4}));
    EXPECT_TRUE(one.bytes() == four.bytes());
}

TEST(PngWriter, AlphaIsDroppedAndOtherDeepFormatsBecomeRgb) {
    QImage transparent(9, 4, QImage::Format_ARGB32);
    transparent.fill(qRgba(10, 200, 30, 0));
    PngFile png = written(transparent);
    EXPECT_EQ(png.colourType, 2);
    EXPECT_EQ(png.decoded.pixel(8, 3) & 0xffffff, 0x0ac81eu);

    QImage rgb16 = readback::noisyPicture(13, 5, 4).convertToFormat(QImage::Format_RGB16);
    png = written(rgb16);
    EXPECT_EQ(png.colourType, 2);
    EXPECT_TRUE(testsupport::samePixels(rgb16, png.decoded));
}

TEST(PngWriter, LowDepthPicturesBecomePaletteImagesOfTheirOwnDepth) {
    QImage indexed(11, 6, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(1, 2, 3)});
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 11; ++x)
            indexed.setPixel(x, y, (x * y + x) % 3);
    PngFile png = written(indexed);
    expectWellFormedChunks(png);
    EXPECT_EQ(png.colourType, 3);
    EXPECT_EQ(png.bitDepth, 8);
    EXPECT_EQ(png.chunkCount("PLTE"), 1);
    expectSubFilteredRows(png);
    EXPECT_TRUE(testsupport::samePixels(indexed, png.decoded));

    QImage mono(19, 3, QImage::Format_MonoLSB);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 19; ++x)
            mono.setPixel(x, y, (x + 2 * y) % 5 == 0);
    png = written(mono);
    EXPECT_EQ(png.colourType, 3);
    EXPECT_EQ(png.bitDepth, 1);
    expectSubFilteredRows(png);
    EXPECT_TRUE(testsupport::samePixels(mono, png.decoded));
}

TEST(PngWriter, RefusesAnEmptyPictureWithoutWritingAnything) {
    MemorySink sink;
    Outcome status = writePng(QImage(), sink);
    EXPECT_FALSE(status);
    EXPECT_FALSE(status.message().isEmpty());
    EXPECT_TRUE(sink.bytes().empty());
}

TEST(PngWriter, FailureOfTheSinkIsReportedWithItsOwnText) {
    readback::FailingSink sink(70000);
    Outcome status = writePng(readback::noisyPicture(500, 300, 5), sink);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message(), readback::FailingSink::message());
}
