#include "output/png_writer.h"

#include "output/parallel_deflate.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <png.h>
#include <zlib.h>

namespace {

constexpr uint8_t kSubFilter = 1;

// What goes into IHDR and PLTE, and the rows as the deflater sees them.
struct PngLayout {
    QImage picture; // in the format the rows are read from
    int bitDepth = 8;
    int colourType = PNG_COLOR_TYPE_RGB;
    std::vector<png_color> palette;
    RowSource rows;
};

// Sub: each byte minus the byte one pixel to its left (one byte for depths below 8).
void subFilterTrueColour(const QRgb* pixels, int width, uint8_t* out) {
    *out++ = kSubFilter;
    uint8_t red = 0, green = 0, blue = 0;
    for (int x = 0; x < width; ++x) {
        QRgb pixel = pixels[x];
        uint8_t r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
        out[0] = r - red;
        out[1] = g - green;
        out[2] = b - blue;
        out += 3;
        red = r;
        green = g;
        blue = b;
    }
}

void subFilterBytes(const uint8_t* bytes, size_t count, uint8_t* out) {
    *out++ = kSubFilter;
    uint8_t left = 0;
    for (size_t i = 0; i < count; ++i) {
        out[i] = bytes[i] - left;
        left = bytes[i];
    }
}

PngLayout trueColourLayout(const QImage& picture) {
    PngLayout layout;
    bool direct =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32;
    layout.picture = direct ? picture : picture.convertToFormat(QImage::Format_RGB32);
    const uchar* bits = layout.picture.constBits();
    qsizetype stride = layout.picture.bytesPerLine();
    int width = layout.picture.width();
    layout.rows.rowCount = layout.picture.height();
    layout.rows.rowBytes = 1 + 3 * static_cast<size_t>(width);
    layout.rows.produce = [bits, stride, width](int row, uint8_t* out) {
        subFilterTrueColour(reinterpret_cast<const QRgb*>(bits + row * stride), width, out);
    };
    return layout;
}

// Palette pictures keep their depth: 1 bit for two-colour pictures, 8 bits otherwise.
PngLayout paletteLayout(const QImage& picture) {
    PngLayout layout;
    layout.colourType = PNG_COLOR_TYPE_PALETTE;
    QList<QRgb> colours;
    switch (picture.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        layout.picture = picture.convertToFormat(QImage::Format_Mono); // PNG packs MSB first
        layout.bitDepth = 1;
        colours = layout.picture.colorTable();
        break;
    case QImage::Format_Indexed8:
        layout.picture = picture;
        colours = picture.colorTable();
        break;
    default: // grey or alpha maps: their bytes index a grey ramp
        layout.picture = picture.convertToFormat(QImage::Format_Grayscale8);
        for (int grey = 0; grey < 256; ++grey)
            colours.push_back(qRgb(grey, grey, grey));
        break;
    }
    // Every index a pixel can hold gets an entry, so no decoder meets an undefined colour.
    colours.resize(1 << layout.bitDepth, qRgb(0, 0, 0));
    for (QRgb colour : colours)
        layout.palette.push_back(png_color{static_cast<png_byte>(qRed(colour)),
                                           static_cast<png_byte>(qGreen(colour)),
                                           static_cast<png_byte>(qBlue(colour))});

    const uchar* bits = layout.picture.constBits();
    qsizetype stride = layout.picture.bytesPerLine();
    size_t bytes = (static_cast<size_t>(layout.picture.width()) * layout.bitDepth + 7) / 8;
    layout.rows.rowCount = layout.picture.height();
    layout.rows.rowBytes = 1 + bytes;
    layout.rows.produce = [bits, stride, bytes](int row, uint8_t* out) {
        subFilterBytes(bits + row * stride, bytes, out);
    };
    return layout;
}

struct WriteContext {
    ByteSink* sink;
    char error[200];
};

void onPngError(png_structp png, png_const_charp message) {
    auto* context = static_cast<WriteContext*>(png_get_error_ptr(png));
    std::snprintf(context->error, sizeof context->error, "%s", message);
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

void onPngWrite(png_structp png, png_bytep data, size_t size) {
    auto* context = static_cast<WriteContext*>(png_get_io_ptr(png));
    if (!context->sink->write(data, size))
        png_error(png, "write failed");
}

void onPngFlush(png_structp) {}

// Cuts the stream into IDAT chunks of the largest allowed size. Whole chunks are written
// straight from the stream's pieces; only chunks that straddle two pieces are gathered in
// `staging` (kMaxIdatBytes long).
void writeIdatChunks(png_structp png, const ZlibStream& stream, uint8_t* staging) {
    size_t staged = 0;
    for (const ZlibStream::Piece& piece : stream.pieces()) {
        const uint8_t* data = piece.data;
        size_t left = piece.size;
        while (left > 0) {
            if (staged == 0 && left >= kMaxIdatBytes) {
                png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), data,
                                kMaxIdatBytes);
                data += kMaxIdatBytes;
                left -= kMaxIdatBytes;
                continue;
            }
            size_t taken = std::min(left, kMaxIdatBytes - staged);
            std::memcpy(staging + staged, data, taken);
            staged += taken;
            data += taken;
            left -= taken;
            if (staged == kMaxIdatBytes) {
                png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), staging, staged);
                staged = 0;
            }
        }
    }
    if (staged > 0)
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), staging, staged);
}

// Only plain locals here: libpng leaves through longjmp on errors.
bool writeChunks(WriteContext& context, const PngLayout& layout, const ZlibStream& stream,
                 uint8_t* staging) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &context, onPngError, onPngWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &context, onPngWrite, onPngFlush);
    png_set_IHDR(png, info, layout.picture.width(), layout.picture.height(), layout.bitDepth,
                 layout.colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty())
        png_set_PLTE(png, info, layout.palette.data(), static_cast<int>(layout.palette.size()));
    png_write_info(png, info);
    writeIdatChunks(png, stream, staging);
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

Outcome writePng(const QImage& picture, ByteSink& sink, const PngSettings& settings) {
    if (picture.isNull())
        return Outcome::failed("Ein leeres Bild kann nicht als PNG gespeichert werden.");
    PngLayout layout = picture.depth() >= 16 ? trueColourLayout(picture) : paletteLayout(picture);

    ZlibStream stream;
    DeflateSettings deflate;
    deflate.level = settings.level;
    deflate.threads = settings.threads;
    // What libpng itself chooses for filtered rows: a little smaller than the default.
    deflate.strategy = Z_FILTERED;
    Outcome compressed = deflateRows(layout.rows, deflate, stream);
    if (!compressed)
        return compressed;

    std::vector<uint8_t> staging(kMaxIdatBytes);
    WriteContext context{&sink, {}};
    bool written = writeChunks(context, layout, stream, staging.data());
    if (!sink.status())
        return sink.status();
    if (!written)
        return Outcome::failed(
            QString("Fehler beim Schreiben der PNG-Datei: %1").arg(context.error));
    return Outcome::ok();
}
