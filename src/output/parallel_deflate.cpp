#include "output/parallel_deflate.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <system_error>
#include <thread>
#include <zlib.h>

namespace {

constexpr size_t kWindowBytes = 32768;
constexpr int kRawDeflate = -15;            // window of 32 KiB, no zlib header or trailer per strip
constexpr size_t kChunkTarget = 256 * 1024; // rows handed to deflate at a time
constexpr size_t kLeastOutputRoom = 16 * 1024; // free output before each deflate call

// Output memory that is not cleared first: untouched pages cost nothing, and a strip's
// bound is far above what it really needs.
struct OutBuffer {
    std::unique_ptr<uint8_t[]> data;
    size_t capacity = 0;
    size_t used = 0;

    void reserve(size_t room) {
        if (capacity - used >= room)
            return;
        size_t grown = std::max(capacity * 2, used + room);
        std::unique_ptr<uint8_t[]> larger(new uint8_t[grown]);
        if (used)
            std::memcpy(larger.get(), data.get(), used);
        data = std::move(larger);
        capacity = grown;
    }
};

QString outOfMemoryMessage() {
    return "Nicht genug Arbeitsspeicher, um das Bild zu komprimieren.";
}

struct Strip {
    int firstRow = 0;
    int endRow = 0;
    bool last = false;
    OutBuffer deflated;
    uLong adler = 1;
    size_t inputBytes = 0;
    // Empty once the strip is compressed. A strip no thread finished was left by one that
    // ran out of memory.
    QString failure = outOfMemoryMessage();
};

// What zlib's result `code` means for the user; empty for success.
QString zlibFailure(int code, const z_stream& z) {
    if (code == Z_OK || code == Z_STREAM_END)
        return {};
    if (code == Z_MEM_ERROR)
        return outOfMemoryMessage();
    return QString("Fehler beim Komprimieren des Bildes (zlib: %1).")
        .arg(QString::fromLatin1(z.msg ? z.msg : zError(code)));
}

// The two bytes zlib itself would write for this level and a 32 KiB window.
std::unique_ptr<uint8_t[]> zlibHeader(int level, int strategy) {
    unsigned levelFlags = 3;
    if (strategy >= Z_HUFFMAN_ONLY || level < 2)
        levelFlags = 0;
    else if (level < 6)
        levelFlags = 1;
    else if (level == 6 || level == Z_DEFAULT_COMPRESSION)
        levelFlags = 2;
    unsigned header = (Z_DEFLATED + ((15 - 8) << 4)) << 8;
    header |= levelFlags << 6;
    header += 31 - header % 31;
    return std::unique_ptr<uint8_t[]>(
        new uint8_t[2]{static_cast<uint8_t>(header >> 8), static_cast<uint8_t>(header & 0xff)});
}

// Runs deflate over `input` until it has taken all of it (and, for a flush, emitted all);
// zlib's result, Z_OK once done.
int deflateInto(z_stream& z, const uint8_t* input, size_t size, int flush, OutBuffer& out) {
    z.next_in = const_cast<Bytef*>(input);
    z.avail_in = static_cast<uInt>(size);
    for (;;) {
        out.reserve(kLeastOutputRoom);
        uInt room = static_cast<uInt>(std::min<size_t>(out.capacity - out.used, UINT_MAX));
        z.next_out = out.data.get() + out.used;
        z.avail_out = room;
        int result = deflate(&z, flush);
        out.used += room - z.avail_out;
        if (result == Z_STREAM_ERROR)
            return result;
        bool drained = z.avail_in == 0 && z.avail_out != 0;
        if (flush == Z_FINISH ? result == Z_STREAM_END : drained)
            return Z_OK;
    }
}

// A deflate stream that is ended on every way out, allocation failures included.
struct Deflater {
    z_stream z{};
    ~Deflater() { deflateEnd(&z); }
};

size_t historyRowsFor(const RowSource& rows) {
    return (kWindowBytes + rows.rowBytes - 1) / rows.rowBytes;
}

size_t chunkRowsFor(const RowSource& rows) {
    return std::max<size_t>(1, kChunkTarget / rows.rowBytes);
}

// `buffer` holds max(history rows, chunk rows) rows.
void compressStrip(const RowSource& rows, const DeflateSettings& settings, Strip& strip,
                   uint8_t* buffer) {
    Deflater deflater;
    z_stream& z = deflater.z;
    int result = deflateInit2(&z, settings.level, Z_DEFLATED, kRawDeflate, 8, settings.strategy);
    if (result != Z_OK) {
        strip.failure = zlibFailure(result, z);
        return;
    }

    // The rows before the strip, as the dictionary the sequential stream would have had.
    int historyRows = static_cast<int>(std::min<size_t>(strip.firstRow, historyRowsFor(rows)));
    if (historyRows > 0) {
        for (int i = 0; i < historyRows; ++i)
            rows.produce(strip.firstRow - historyRows + i, buffer + i * rows.rowBytes);
        size_t history = historyRows * rows.rowBytes;
        size_t used = std::min(history, kWindowBytes);
        result = deflateSetDictionary(&z, buffer + history - used, static_cast<uInt>(used));
    }

    strip.deflated.reserve(deflateBound(&z, strip.inputBytes) + 64);
    int chunkRows = static_cast<int>(chunkRowsFor(rows));
    for (int row = strip.firstRow; result == Z_OK && row < strip.endRow; row += chunkRows) {
        int count = std::min(chunkRows, strip.endRow - row);
        for (int i = 0; i < count; ++i)
            rows.produce(row + i, buffer + i * rows.rowBytes);
        size_t size = count * rows.rowBytes;
        strip.adler = adler32_z(strip.adler, buffer, size);
        bool end = row + count == strip.endRow;
        int flush = !end ? Z_NO_FLUSH : strip.last ? Z_FINISH : Z_FULL_FLUSH;
        result = deflateInto(z, buffer, size, flush, strip.deflated);
    }
    // An empty picture still needs its final block.
    if (result == Z_OK && strip.firstRow == strip.endRow && strip.last)
        result = deflateInto(z, nullptr, 0, Z_FINISH, strip.deflated);
    strip.failure = zlibFailure(result, z);
}

std::vector<Strip> cutIntoStrips(const RowSource& rows, const DeflateSettings& settings) {
    size_t total = rows.rowBytes * static_cast<size_t>(rows.rowCount);
    size_t stripCount = std::max<size_t>(1, total / std::max<size_t>(settings.stripBytes, 1));
    stripCount = std::min<size_t>(stripCount, std::max(rows.rowCount, 1));
    int rowsPerStrip = static_cast<int>((rows.rowCount + stripCount - 1) / stripCount);
    std::vector<Strip> strips;
    for (int first = 0; first < rows.rowCount || strips.empty(); first += rowsPerStrip) {
        Strip strip;
        strip.firstRow = first;
        strip.endRow = std::min(rows.rowCount, first + rowsPerStrip);
        strip.inputBytes = rows.rowBytes * (strip.endRow - strip.firstRow);
        strips.push_back(std::move(strip));
    }
    strips.back().last = true;
    return strips;
}

} // namespace

size_t ZlibStream::size() const {
    size_t total = 0;
    for (const Piece& piece : pieces_)
        total += piece.size;
    return total;
}

std::vector<uint8_t> ZlibStream::joined() const {
    std::vector<uint8_t> bytes;
    bytes.reserve(size());
    for (const Piece& piece : pieces_)
        bytes.insert(bytes.end(), piece.data, piece.data + piece.size);
    return bytes;
}

void ZlibStream::append(std::unique_ptr<uint8_t[]> buffer, size_t size) {
    pieces_.push_back({buffer.get(), size});
    buffers_.push_back(std::move(buffer));
}

Outcome deflateRows(const RowSource& rows, const DeflateSettings& settings, ZlibStream& stream) {
    try {
        std::vector<Strip> strips = cutIntoStrips(rows, settings);

        std::atomic<size_t> next{0};
        size_t bufferBytes = std::max(historyRowsFor(rows), chunkRowsFor(rows)) * rows.rowBytes;
        auto work = [&] {
            try {
                std::unique_ptr<uint8_t[]> buffer(new uint8_t[bufferBytes]);
                for (size_t index; (index = next.fetch_add(1)) < strips.size();)
                    compressStrip(rows, settings, strips[index], buffer.get());
            } catch (const std::bad_alloc&) {
                // The strip this thread was on keeps its failure: out of memory.
            }
        };
        unsigned threads = settings.threads > 0 ? unsigned(settings.threads)
                                                : std::max(1u, std::thread::hardware_concurrency());
        threads = std::min<unsigned>(threads, strips.size());
        std::vector<std::jthread> helpers;
        for (unsigned i = 1; i < threads; ++i) {
            try {
                helpers.emplace_back(work);
            } catch (const std::system_error&) {
                break; // fewer helpers only make it slower
            }
        }
        work();
        helpers.clear(); // joins

        for (const Strip& strip : strips)
            if (!strip.failure.isEmpty())
                return Outcome::failed(strip.failure);
        stream.append(zlibHeader(settings.level, settings.strategy), 2);
        uLong adler = adler32(0, nullptr, 0);
        for (Strip& strip : strips) {
            stream.append(std::move(strip.deflated.data), strip.deflated.used);
            adler = adler32_combine(adler, strip.adler, static_cast<z_off_t>(strip.inputBytes));
        }
        std::unique_ptr<uint8_t[]> trailer(new uint8_t[4]);
        for (int i = 0; i < 4; ++i)
            trailer[i] = static_cast<uint8_t>(adler >> (24 - 8 * i));
        stream.append(std::move(trailer), 4);
        return Outcome::ok();
    } catch (const std::bad_alloc&) {
        return Outcome::failed(outOfMemoryMessage());
    }
}
