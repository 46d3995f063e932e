#include "output/parallel_deflate.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <zlib.h>

namespace {

constexpr size_t windowBytes = 32768;
constexpr int rawDeflate = -15;            // window of 32 KiB, no zlib header or trailer per strip
constexpr size_t chunkTarget = 256 * 1024; // rows handed to deflate at a time

struct Strip {
    int firstRow = 0;
    int endRow = 0;
    bool last = false;
    std::vector<uint8_t> deflated;
    uLong adler = 1;
    size_t inputBytes = 0;
    bool ok = false;
};

QString outOfMemoryMessage() {
    return "Nicht genug Arbeitsspeicher, um das Bild zu komprimieren.";
}

// The two bytes zlib itself would write for this level and a 32 KiB window.
void appendZlibHeader(std::vector<uint8_t>& stream, int level, int strategy) {
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
    stream.push_back(static_cast<uint8_t>(header >> 8));
    stream.push_back(static_cast<uint8_t>(header & 0xff));
}

// Runs deflate over `input` until it has taken all of it (and, for a flush, emitted all).
bool deflateInto(z_stream& z, const uint8_t* input, size_t size, int flush,
                 std::vector<uint8_t>& out) {
    z.next_in = const_cast<Bytef*>(input);
    z.avail_in = static_cast<uInt>(size);
    for (;;) {
        size_t used = out.size();
        size_t room = std::max<size_t>(deflateBound(&z, z.avail_in) + 64, 16384);
        out.resize(used + room);
        z.next_out = out.data() + used;
        z.avail_out = static_cast<uInt>(room);
        int result = deflate(&z, flush);
        out.resize(out.size() - z.avail_out);
        if (result == Z_STREAM_ERROR)
            return false;
        bool drained = z.avail_in == 0 && z.avail_out != 0;
        if (flush == Z_FINISH ? result == Z_STREAM_END : drained)
            return true;
    }
}

// A deflate stream that is ended on every way out, allocation failures included.
struct Deflater {
    z_stream z{};
    ~Deflater() { deflateEnd(&z); }
};

void compressStrip(const RowSource& rows, const DeflateSettings& settings, Strip& strip) {
    Deflater deflater;
    z_stream& z = deflater.z;
    if (deflateInit2(&z, settings.level, Z_DEFLATED, rawDeflate, 8, settings.strategy) != Z_OK)
        return;
    bool ok = true;

    // The rows before the strip, as the dictionary the sequential stream would have had.
    int historyRows = static_cast<int>(
        std::min<size_t>(strip.firstRow, (windowBytes + rows.rowBytes - 1) / rows.rowBytes));
    int chunkRows = static_cast<int>(std::max<size_t>(1, chunkTarget / rows.rowBytes));
    std::vector<uint8_t> buffer(std::max(historyRows, chunkRows) * rows.rowBytes);
    if (historyRows > 0) {
        for (int i = 0; i < historyRows; ++i)
            rows.produce(strip.firstRow - historyRows + i, buffer.data() + i * rows.rowBytes);
        size_t history = historyRows * rows.rowBytes;
        size_t used = std::min(history, windowBytes);
        ok = deflateSetDictionary(&z, buffer.data() + history - used, static_cast<uInt>(used)) ==
             Z_OK;
    }

    strip.deflated.reserve(strip.inputBytes / 3 + 1024);
    for (int row = strip.firstRow; ok && row < strip.endRow; row += chunkRows) {
        int count = std::min(chunkRows, strip.endRow - row);
        for (int i = 0; i < count; ++i)
            rows.produce(row + i, buffer.data() + i * rows.rowBytes);
        size_t size = count * rows.rowBytes;
        strip.adler = adler32_z(strip.adler, buffer.data(), size);
        bool end = row + count == strip.endRow;
        int flush = !end ? Z_NO_FLUSH : strip.last ? Z_FINISH : Z_FULL_FLUSH;
        ok = deflateInto(z, buffer.data(), size, flush, strip.deflated);
    }
    // An empty picture still needs its final block.
    if (ok && strip.firstRow == strip.endRow && strip.last)
        ok = deflateInto(z, nullptr, 0, Z_FINISH, strip.deflated);
    strip.ok = ok;
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

SaveStatus deflateRows(const RowSource& rows, const DeflateSettings& settings,
                       std::vector<uint8_t>& stream) {
    try {
        std::vector<Strip> strips = cutIntoStrips(rows, settings);

        std::atomic<size_t> next{0};
        auto work = [&] {
            for (size_t index; (index = next.fetch_add(1)) < strips.size();) {
                try {
                    compressStrip(rows, settings, strips[index]);
                } catch (const std::bad_alloc&) {
                    strips[index].ok = false;
                }
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

        size_t total = 6;
        for (const Strip& strip : strips) {
            if (!strip.ok)
                return SaveStatus::failed(outOfMemoryMessage());
            total += strip.deflated.size();
        }
        stream.reserve(stream.size() + total);
        appendZlibHeader(stream, settings.level, settings.strategy);
        uLong adler = adler32(0, nullptr, 0);
        for (const Strip& strip : strips) {
            stream.insert(stream.end(), strip.deflated.begin(), strip.deflated.end());
            adler = adler32_combine(adler, strip.adler, static_cast<z_off_t>(strip.inputBytes));
        }
        for (int shift = 24; shift >= 0; shift -= 8)
            stream.push_back(static_cast<uint8_t>(adler >> shift));
        return SaveStatus::ok();
    } catch (const std::bad_alloc&) {
        return SaveStatus::failed(outOfMemoryMessage());
    }
}
