#include "read_back.h"

#include <QFile>
#include <QRandomGenerator>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

namespace readback {

std::vector<uint8_t> fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray data = file.readAll();
    return {data.begin(), data.end()};
}

QImage noisyPicture(int width, int height, unsigned seed) {
    QImage picture(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y,
                             qRgb(random.bounded(256), (x * 7 + y) & 0xff, random.bounded(256)));
    return picture;
}

uint32_t le32(const std::vector<uint8_t>& bytes, size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           uint32_t(bytes[offset + 3]) << 24;
}

uint16_t le16(const std::vector<uint8_t>& bytes, size_t offset) {
    return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

static uint32_t be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

size_t PngFile::rowBytes() const {
    int channels = colourType == 2 ? 3 : colourType == 6 ? 4 : 1;
    return 1 + (static_cast<size_t>(width) * channels * bitDepth + 7) / 8;
}

int PngFile::chunkCount(const std::string& type) const {
    int count = 0;
    for (const PngChunk& chunk : chunks)
        count += chunk.type == type;
    return count;
}

static std::vector<uint8_t> inflateAll(const std::vector<uint8_t>& stream, bool& ok) {
    std::vector<uint8_t> out;
    z_stream z{};
    ok = inflateInit(&z) == Z_OK;
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    int result = Z_OK;
    while (ok && result == Z_OK) {
        uint8_t buffer[65536];
        z.next_out = buffer;
        z.avail_out = sizeof buffer;
        result = inflate(&z, Z_NO_FLUSH);
        out.insert(out.end(), buffer, buffer + (sizeof buffer - z.avail_out));
    }
    ok = ok && result == Z_STREAM_END && z.avail_in == 0;
    inflateEnd(&z);
    return out;
}

static QImage decodeWithLibpng(const std::vector<uint8_t>& bytes, QString& error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        error = image.message;
        return {};
    }
    image.format = PNG_FORMAT_BGRA; // little-endian RGB32 layout
    QImage decoded(static_cast<int>(image.width), static_cast<int>(image.height),
                   QImage::Format_ARGB32);
    if (!png_image_finish_read(&image, nullptr, decoded.bits(),
                               static_cast<png_int_32>(decoded.bytesPerLine()), nullptr)) {
        error = image.message;
        png_image_free(&image);
        return {};
    }
    return decoded.convertToFormat(QImage::Format_RGB32);
}

PngFile readPng(const std::vector<uint8_t>& bytes) {
    PngFile file;
    static const uint8_t signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    file.signatureMatches =
        bytes.size() >= 8 && std::equal(signature, signature + 8, bytes.begin());
    std::vector<uint8_t> stream;
    for (size_t at = 8; at + 12 <= bytes.size();) {
        uint32_t length = be32(&bytes[at]);
        if (at + 12 + length > bytes.size())
            break;
        PngChunk chunk;
        chunk.type.assign(reinterpret_cast<const char*>(&bytes[at + 4]), 4);
        chunk.data.assign(bytes.begin() + at + 8, bytes.begin() + at + 8 + length);
        uint32_t crc = static_cast<uint32_t>(crc32(0, &bytes[at + 4], length + 4));
        chunk.crcMatches = crc == be32(&bytes[at + 8 + length]);
        if (chunk.type == "IHDR" && length == 13) {
            file.width = static_cast<int>(be32(&chunk.data[0]));
            file.height = static_cast<int>(be32(&chunk.data[4]));
            file.bitDepth = chunk.data[8];
            file.colourType = chunk.data[9];
            file.interlace = chunk.data[12];
        }
        if (chunk.type == "IDAT")
            stream.insert(stream.end(), chunk.data.begin(), chunk.data.end());
        file.chunks.push_back(std::move(chunk));
        at += 12 + length;
    }
    file.rows = inflateAll(stream, file.inflated);
    file.decoded = decodeWithLibpng(bytes, file.decodeError);
    return file;
}

namespace {
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf failed;
    char message[JMSG_LENGTH_MAX];
};

void onJpegError(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->failed, 1);
}

bool decompress(const std::vector<uint8_t>& bytes, JpegFile& file, JpegErrors& errors,
                jpeg_decompress_struct& info) {
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onJpegError;
    if (setjmp(errors.failed)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    file.progressive = info.progressive_mode;
    file.components = info.num_components;
    for (JQUANT_TBL* table : info.quant_tbl_ptrs) {
        if (!table)
            continue;
        std::array<uint16_t, 64> values;
        std::copy(table->quantval, table->quantval + 64, values.begin());
        file.quantTables.push_back(values);
    }
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    file.decoded = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                          QImage::Format_RGB32);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = file.decoded.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}
} // namespace

JpegFile readJpeg(const std::vector<uint8_t>& bytes) {
    JpegFile file;
    // Frame markers come before the first scan; SOF0 is the baseline frame.
    for (size_t at = 2; at + 4 <= bytes.size() && bytes[at] == 0xff;) {
        uint8_t marker = bytes[at + 1];
        if (marker == 0xc0)
            file.baselineFrame = true;
        if (marker == 0xda)
            break;
        at += 2 + (bytes[at + 2] << 8 | bytes[at + 3]);
    }
    JpegErrors errors{};
    jpeg_decompress_struct info{};
    if (!decompress(bytes, file, errors, info))
        file.error = errors.message;
    return file;
}

std::vector<std::array<uint16_t, 64>> libjpegQuantTables(int quality) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    info.in_color_space = JCS_RGB;
    info.input_components = 3;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    std::vector<std::array<uint16_t, 64>> tables;
    for (JQUANT_TBL* table : info.quant_tbl_ptrs) {
        if (!table)
            continue;
        std::array<uint16_t, 64> values;
        std::copy(table->quantval, table->quantval + 64, values.begin());
        tables.push_back(values);
    }
    jpeg_destroy_compress(&info);
    return tables;
}

Outcome FailingSink::append(const void*, size_t size) {
    received_ += size;
    if (received_ > limit_)
        return Outcome::failed(message());
    return Outcome::ok();
}

} // namespace readback
