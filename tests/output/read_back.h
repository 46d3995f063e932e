#pragma once
// Reads written pictures back with the libraries that wrote them and with our own
// parsing, so tests can check the format facts and not just that bytes exist.

#include "output/byte_sink.h"

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace readback {

std::vector<uint8_t> fileBytes(const QString& path);

// A picture with distinct, seeded pixels and no symmetry, in RGB32.
QImage noisyPicture(int width, int height, unsigned seed);

struct PngChunk {
    std::string type;
    std::vector<uint8_t> data;
    bool crcMatches = false;
};

struct PngFile {
    bool signatureMatches = false;
    std::vector<PngChunk> chunks;
    int width = 0, height = 0, bitDepth = 0, colourType = -1, interlace = -1;
    std::vector<uint8_t> rows; // the inflated IDAT stream: filter byte + data per row
    bool inflated = false;     // zlib accepted the stream, checksum included
    QImage decoded;            // libpng's reading, as RGB32
    QString decodeError;

    size_t rowBytes() const;
    int chunkCount(const std::string& type) const;
};

PngFile readPng(const std::vector<uint8_t>& bytes);

struct JpegFile {
    bool progressive = false;
    bool baselineFrame = false; // a SOF0 marker
    int components = 0;
    std::vector<std::array<uint16_t, 64>> quantTables;
    QImage decoded; // RGB32
    QString error;
};

JpegFile readJpeg(const std::vector<uint8_t>& bytes);

// libjpeg's tables for a quality, as jpeg_set_quality makes them.
std::vector<std::array<uint16_t, 64>> libjpegQuantTables(int quality);

// A little-endian field of a file.
uint32_t le32(const std::vector<uint8_t>& bytes, size_t offset);
uint16_t le16(const std::vector<uint8_t>& bytes, size_t offset);

// A sink that fails once `limit` bytes have gone through it.
class FailingSink : public ByteSink {
public:
    explicit FailingSink(size_t limit) : limit_(limit) {}
    size_t received() const { return received_; }
    static QString message() { return "disk full"; }

protected:
    Outcome append(const void*, size_t size) override;

private:
    size_t limit_;
    size_t received_ = 0;
};

} // namespace readback
