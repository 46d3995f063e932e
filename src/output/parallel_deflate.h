#pragma once
// Compresses a picture's rows into one zlib stream on all the machine's cores.
//
// The rows are cut into horizontal strips. Each strip is deflated on its own, primed with
// the 32 KiB of rows before it as its dictionary (so the strip cut costs almost no
// compression), and ends with a full flush, which leaves the output byte-aligned: the raw
// deflate streams of the strips can then be concatenated behind one zlib header, the last
// one ending the stream. The Adler-32 checksums of the strips are joined with
// adler32_combine. The result is an ordinary zlib stream that any inflater reads.

#include "platform/outcome.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct RowSource {
    int rowCount = 0;
    size_t rowBytes = 0;
    // Writes row `row` (rowBytes bytes) to `out`. Called from several threads at once.
    std::function<void(int row, uint8_t* out)> produce;
};

struct DeflateSettings {
    int level = 5;
    int strategy = 0;            // a zlib strategy; 0 is Z_DEFAULT_STRATEGY
    int threads = 0;             // 0: one per core
    size_t stripBytes = 1 << 20; // uncompressed bytes per strip, rounded to whole rows
};

// A zlib stream kept in the pieces it was made in (header, one per strip, checksum), so
// the megabytes of a picture are not copied once more just to lie in one buffer.
class ZlibStream {
public:
    struct Piece {
        const uint8_t* data;
        size_t size;
    };
    const std::vector<Piece>& pieces() const { return pieces_; }
    size_t size() const;
    std::vector<uint8_t> joined() const;

    // Takes over a buffer whose first `size` bytes come next in the stream.
    void append(std::unique_ptr<uint8_t[]> buffer, size_t size);

private:
    std::vector<std::unique_ptr<uint8_t[]>> buffers_;
    std::vector<Piece> pieces_;
};

// Makes the complete zlib stream (header, data, Adler-32) of all rows.
Outcome deflateRows(const RowSource& rows, const DeflateSettings& settings, ZlibStream& stream);
