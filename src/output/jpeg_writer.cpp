#include "output/jpeg_writer.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>
#include <memory>

namespace {

constexpr size_t kBufferBytes = 64 * 1024;

// The library's error manager and our destination, reachable from every callback.
struct Compressor {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    jpeg_destination_mgr destination;
    std::jmp_buf failed;
    char message[JMSG_LENGTH_MAX];
    ByteSink* sink;
    JOCTET buffer[kBufferBytes];
};

Compressor& compressorOf(j_common_ptr info) {
    return *reinterpret_cast<Compressor*>(info->client_data);
}

void onError(j_common_ptr info) {
    Compressor& compressor = compressorOf(info);
    info->err->format_message(info, compressor.message);
    std::longjmp(compressor.failed, 1);
}

void onMessage(j_common_ptr) {} // warnings are not the user's concern

void onStart(j_compress_ptr info) {
    Compressor& compressor = compressorOf(reinterpret_cast<j_common_ptr>(info));
    info->dest->next_output_byte = compressor.buffer;
    info->dest->free_in_buffer = kBufferBytes;
}

boolean onBufferFull(j_compress_ptr info) {
    Compressor& compressor = compressorOf(reinterpret_cast<j_common_ptr>(info));
    if (!compressor.sink->write(compressor.buffer, kBufferBytes))
        std::longjmp(compressor.failed, 1);
    onStart(info);
    return TRUE;
}

void onFinish(j_compress_ptr info) {
    Compressor& compressor = compressorOf(reinterpret_cast<j_common_ptr>(info));
    size_t used = kBufferBytes - info->dest->free_in_buffer;
    if (!compressor.sink->write(compressor.buffer, used))
        std::longjmp(compressor.failed, 1);
}

// 32-bit pixels are handed over as they lie in memory; libjpeg drops the fourth byte.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE kRgb32Layout = JCS_EXT_BGRX;
#else
constexpr J_COLOR_SPACE kRgb32Layout = JCS_EXT_XRGB;
#endif

// Only plain locals here: libjpeg leaves through longjmp on errors.
bool compress(Compressor& compressor, const QImage& picture) {
    jpeg_compress_struct& info = compressor.info;
    info.err = jpeg_std_error(&compressor.errors);
    compressor.errors.error_exit = onError;
    compressor.errors.output_message = onMessage;
    info.client_data = &compressor;
    if (setjmp(compressor.failed)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    compressor.destination.init_destination = onStart;
    compressor.destination.empty_output_buffer = onBufferFull;
    compressor.destination.term_destination = onFinish;
    info.dest = &compressor.destination;

    info.image_width = static_cast<JDIMENSION>(picture.width());
    info.image_height = static_cast<JDIMENSION>(picture.height());
    info.input_components = 4;
    info.in_color_space = kRgb32Layout;
    jpeg_set_defaults(&info); // sequential, YCbCr with three components
    jpeg_set_quality(&info, kJpegQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto row =
            const_cast<JSAMPROW>(picture.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

Outcome writeJpeg(const QImage& picture, ByteSink& sink) {
    if (picture.isNull())
        return Outcome::failed("Ein leeres Bild kann nicht als JPEG gespeichert werden.");
    QImage rgb32 =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
            ? picture
            : picture.convertToFormat(QImage::Format_RGB32);

    auto compressor = std::make_unique<Compressor>();
    compressor->sink = &sink;
    compressor->message[0] = '\0';
    bool written = compress(*compressor, rgb32);
    if (!sink.status())
        return sink.status();
    if (!written)
        return Outcome::failed(
            QString("Fehler beim Schreiben der JPEG-Datei: %1").arg(compressor->message));
    return Outcome::ok();
}
