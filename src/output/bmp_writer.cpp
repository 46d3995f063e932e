#include "output/bmp_writer.h"

#include <QtEndian>
#include <cstring>
#include <limits>

namespace {

constexpr uint16_t kSignature = 0x4d42; // "BM", little-endian
constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

struct BmpLayout {
    QImage picture; // in the format its rows are copied from
    int bitCount = 32;
    uint32_t compression = kBiRgb;
    std::vector<uint32_t> masks; // red, green, blue for bit fields
    QList<QRgb> colourTable;
};

BmpLayout layoutFor(const QImage& picture) {
    BmpLayout layout;
    switch (picture.format()) {
    case QImage::Format_RGB888:
        layout.picture = picture;
        layout.bitCount = 24;
        break;
    case QImage::Format_RGB16:
    case QImage::Format_RGB555:
        layout.picture = picture;
        layout.bitCount = 16;
        layout.compression = kBiBitfields;
        layout.masks = picture.format() == QImage::Format_RGB16
                           ? std::vector<uint32_t>{0xf800, 0x07e0, 0x001f}  // 5-6-5
                           : std::vector<uint32_t>{0x7c00, 0x03e0, 0x001f}; // 5-5-5
        break;
    case QImage::Format_Indexed8:
        layout.picture = picture;
        layout.bitCount = 8;
        layout.colourTable = picture.colorTable();
        break;
    case QImage::Format_Grayscale8:
        layout.picture = picture;
        layout.bitCount = 8;
        for (int grey = 0; grey < 256; ++grey)
            layout.colourTable.push_back(qRgb(grey, grey, grey));
        break;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        layout.picture = picture.convertToFormat(QImage::Format_Mono); // MSB first, as BMP
        layout.bitCount = 1;
        layout.colourTable = layout.picture.colorTable();
        break;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        layout.picture = picture;
        break;
    default:
        layout.picture = picture.convertToFormat(QImage::Format_RGB32);
        break;
    }
    // Every index a pixel can hold gets an entry, so no reader meets an undefined colour.
    if (layout.bitCount <= 8)
        layout.colourTable.resize(1 << layout.bitCount, qRgb(0, 0, 0));
    return layout;
}

// One row as the file stores it: little-endian, blue before green before red, padded to
// four bytes.
void fileRow(const BmpLayout& layout, int y, std::vector<uint8_t>& out) {
    const uchar* line = layout.picture.constScanLine(y);
    int width = layout.picture.width();
    std::fill(out.begin(), out.end(), 0);
    switch (layout.bitCount) {
    case 32:
        for (int x = 0; x < width; ++x)
            qToLittleEndian(reinterpret_cast<const QRgb*>(line)[x], out.data() + 4 * x);
        break;
    case 24:
        for (int x = 0; x < width; ++x) {
            out[3 * x] = line[3 * x + 2];
            out[3 * x + 1] = line[3 * x + 1];
            out[3 * x + 2] = line[3 * x];
        }
        break;
    case 16:
        for (int x = 0; x < width; ++x)
            qToLittleEndian(reinterpret_cast<const quint16*>(line)[x], out.data() + 2 * x);
        break;
    default:
        std::memcpy(out.data(), line, (static_cast<size_t>(width) * layout.bitCount + 7) / 8);
        break;
    }
}

class HeaderBytes {
public:
    void u16(uint16_t value) { put(value, 2); }
    void u32(uint32_t value) { put(value, 4); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    void put(uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
    std::vector<uint8_t> bytes_;
};

} // namespace

Outcome writeBmp(const QImage& picture, ByteSink& sink) {
    if (picture.isNull())
        return Outcome::failed("Ein leeres Bild kann nicht als Bitmap gespeichert werden.");
    BmpLayout layout = layoutFor(picture);
    const int width = layout.picture.width();
    const int height = layout.picture.height();

    uint64_t rowBytes = ((static_cast<uint64_t>(width) * layout.bitCount + 31) / 32) * 4;
    uint64_t pixelBytes = rowBytes * static_cast<uint64_t>(height);
    uint64_t offset = kFileHeaderBytes + kInfoHeaderBytes + 4 * layout.masks.size() +
                      4 * static_cast<uint64_t>(layout.colourTable.size());
    if (offset + pixelBytes > std::numeric_limits<uint32_t>::max())
        return Outcome::failed("Das Bild ist zu groß für eine Bitmap-Datei.");

    HeaderBytes header;
    header.u16(kSignature);
    header.u32(static_cast<uint32_t>(offset + pixelBytes));
    header.u32(0); // two reserved words
    header.u32(static_cast<uint32_t>(offset));
    header.u32(kInfoHeaderBytes);
    header.u32(static_cast<uint32_t>(width));
    header.u32(static_cast<uint32_t>(height)); // positive: rows bottom-up
    header.u16(1);                             // planes
    header.u16(static_cast<uint16_t>(layout.bitCount));
    header.u32(layout.compression);
    header.u32(static_cast<uint32_t>(pixelBytes));
    header.u32(static_cast<uint32_t>(std::max(0, layout.picture.dotsPerMeterX())));
    header.u32(static_cast<uint32_t>(std::max(0, layout.picture.dotsPerMeterY())));
    header.u32(static_cast<uint32_t>(layout.colourTable.size()));
    header.u32(0); // all colours important
    for (uint32_t mask : layout.masks)
        header.u32(mask);
    for (QRgb colour : layout.colourTable)
        header.u32(colour & 0x00ffffff); // blue, green, red, reserved zero
    if (!sink.write(header.bytes().data(), header.bytes().size()))
        return sink.status();

    std::vector<uint8_t> row(rowBytes);
    for (int y = height - 1; y >= 0; --y) {
        fileRow(layout, y, row);
        if (!sink.write(row.data(), row.size()))
            return sink.status();
    }
    return Outcome::ok();
}
