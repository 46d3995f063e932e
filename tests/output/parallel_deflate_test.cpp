#include "output/parallel_deflate.h"

#include <gtest/gtest.h>
#include <random>
#include <zlib.h>

namespace {

// Rows with repeats across strip borders, so the primed dictionaries are used.
std::vector<uint8_t> patternedRows(int rowCount, size_t rowBytes, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> data(rowCount * rowBytes);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = i >= 300 && random() % 4 ? data[i - 300 + random() % 7] : uint8_t(random());
    return data;
}

RowSource sourceOf(const std::vector<uint8_t>& data, int rowCount, size_t rowBytes) {
    RowSource rows;
    rows.rowCount = rowCount;
    rows.rowBytes = rowBytes;
    rows.produce = [&data, rowBytes](int row, uint8_t* out) {
        std::copy_n(data.begin() + row * rowBytes, rowBytes, out);
    };
    return rows;
}

// zlib's own reading, checksum included.
bool inflatesTo(const std::vector<uint8_t>& stream, const std::vector<uint8_t>& expected) {
    std::vector<uint8_t> out(expected.size() + 1);
    uLongf size = out.size();
    if (uncompress(out.data(), &size, stream.data(), stream.size()) != Z_OK)
        return false;
    out.resize(size);
    return out == expected;
}

} // namespace

TEST(ParallelDeflate, StripsJoinIntoOneValidZlibStream) {
    struct Case {
        int rowCount;
        size_t rowBytes;
        size_t stripBytes;
        int threads;
    };
    for (Case c :
         {Case{0, 10, 100, 2}, Case{1, 1, 1, 3}, Case{7, 33, 40, 3}, Case{100, 1001, 5000, 2},
          Case{64, 4000, 1 << 20, 1}, Case{50, 20000, 60000, 4}, Case{300, 511, 30000, 8}}) {
        SCOPED_TRACE(testing::Message()
                     << "rows " << c.rowCount << " x " << c.rowBytes << " bytes, strips of "
                     << c.stripBytes << ", " << c.threads << " threads");
        std::vector<uint8_t> data = patternedRows(c.rowCount, c.rowBytes, c.rowCount + 7);
        DeflateSettings settings;
        settings.threads = c.threads;
        settings.stripBytes = c.stripBytes;
        ZlibStream stream;
        ASSERT_TRUE(deflateRows(sourceOf(data, c.rowCount, c.rowBytes), settings, stream));
        EXPECT_TRUE(inflatesTo(stream.joined(), data));
    }
}

TEST(ParallelDeflate, HeaderNamesLevelFiveAndStripCutsCostAlmostNothing) {
    const int rowCount = 400;
    const size_t rowBytes = 3000;
    std::vector<uint8_t> data = patternedRows(rowCount, rowBytes, 11);
    DeflateSettings whole, cut;
    whole.stripBytes = data.size();
    cut.stripBytes = data.size() / 12;
    ZlibStream oneStrip, manyStrips;
    ASSERT_TRUE(deflateRows(sourceOf(data, rowCount, rowBytes), whole, oneStrip));
    ASSERT_TRUE(deflateRows(sourceOf(data, rowCount, rowBytes), cut, manyStrips));
    std::vector<uint8_t> one = oneStrip.joined(), many = manyStrips.joined();
    EXPECT_EQ(one[0], 0x78);
    EXPECT_EQ(one[1], 0x5e); // 32 KiB window, the level class of 2 to 5
    EXPECT_TRUE(inflatesTo(many, data));

    // The single stream matches what zlib makes at level 5 in one go.
    std::vector<uint8_t> reference(compressBound(data.size()));
    uLongf size = reference.size();
    ASSERT_EQ(compress2(reference.data(), &size, data.data(), data.size(), 5), Z_OK);
    reference.resize(size);
    EXPECT_TRUE(one == reference);
    EXPECT_LT(many.size(), one.size() + one.size() / 200) << "12 strips cost more than 0.5 %";
}

TEST(ParallelDeflate, AStripZlibRefusesIsReportedAsZlibsFailureNotAsMemory) {
    std::vector<uint8_t> data = patternedRows(40, 100, 3);
    DeflateSettings settings;
    settings.level = 42; // no level zlib knows
    settings.stripBytes = 1000;
    ZlibStream stream;
    const Outcome status = deflateRows(sourceOf(data, 40, 100), settings, stream);
    ASSERT_FALSE(status);
    EXPECT_TRUE(status.message().contains("zlib")) << status.message().toStdString();
    EXPECT_FALSE(status.message().contains("Arbeitsspeicher")) << status.message().toStdString();
}
