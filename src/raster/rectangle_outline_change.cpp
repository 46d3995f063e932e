#include "raster/outline_change.h"

#include "raster/mix.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace raster {

namespace {

using std::int64_t;

constexpr std::uint32_t kFlip = masksFor(Mix::Not, 0).xorMask;
static_assert(masksFor(Mix::Not, 0).andMask == 0xFFFFFFFFu, "inverting keeps every bit");

// A straight piece of an outline: pixels [begin, end) along row or column `line`.
struct Run {
    int64_t line, begin, end;
};

// At most four runs in one direction: two per outline.
struct Runs {
    Run runs[4];
    int count = 0;
    void add(const Run& run) { runs[count++] = run; }
};

// The pieces of a 1-pixel rectangle outline: the top and bottom rows whole, the two side
// columns between them (one when the box is a single column wide).
void piecesOf(const Rect& box, Runs& rows, Runs& columns) {
    if (box.isEmpty())
        return;
    const int64_t left = box.left, right = box.right, top = box.top, bottom = box.bottom;
    rows.add({top, left, right});
    if (bottom - 1 > top)
        rows.add({bottom - 1, left, right});
    if (bottom - 1 > top + 1) {
        columns.add({left, top + 1, bottom - 1});
        if (right - 1 > left)
            columns.add({right - 1, top + 1, bottom - 1});
    }
}

// Two outlines' runs in one direction (at most two each, on different lines), with the runs
// that share a line replaced by their difference. Taken mod 2, [a0, a1) + [b0, b1) equals
// [min(a0, b0), max(a0, b0)) + [min(a1, b1), max(a1, b1)), which covers fewer pixels
// whenever the runs overlap, and none when they are equal.
Runs differenceOf(const Runs& a, const Runs& b) {
    Runs out;
    bool matched[4] = {};
    for (int i = 0; i < a.count; ++i) {
        const Run& run = a.runs[i];
        int j = 0;
        while (j < b.count && (matched[j] || b.runs[j].line != run.line))
            ++j;
        const bool overlaps =
            j < b.count && std::max(run.begin, b.runs[j].begin) < std::min(run.end, b.runs[j].end);
        if (!overlaps) {
            out.add(run);
            continue;
        }
        matched[j] = true;
        const Run& other = b.runs[j];
        out.add({run.line, std::min(run.begin, other.begin), std::max(run.begin, other.begin)});
        out.add({run.line, std::min(run.end, other.end), std::max(run.end, other.end)});
    }
    for (int j = 0; j < b.count; ++j)
        if (!matched[j])
            out.add(b.runs[j]);
    return out;
}

// The part of a run that lies in a picture of `lines` lines each `length` pixels long.
std::optional<Run> insideOf(const Run& run, int64_t lines, int64_t length) {
    const int64_t begin = std::max<int64_t>(run.begin, 0);
    const int64_t end = std::min<int64_t>(run.end, length);
    if (run.line < 0 || run.line >= lines || begin >= end)
        return std::nullopt;
    return Run{run.line, begin, end};
}

void invertRows(const PixelView& view, const Runs& rows, std::vector<Rect>& changed) {
    for (int i = 0; i < rows.count; ++i) {
        const std::optional<Run> run = insideOf(rows.runs[i], view.height, view.width);
        if (!run)
            continue;
        const int y = int(run->line), x0 = int(run->begin), x1 = int(run->end);
        fillSpan(view.row(y), x0, x1, masksFor(Mix::Not, 0));
        changed.push_back({x0, y, x1, y + 1});
    }
}

// Flips the pixels at `count` columns of the rows y0 <= y < y1, one row at a time, so
// that the columns of a moving side (nearby, often in one cache line) share each row visit.
void flipColumns(const PixelView& view, const int64_t* xs, int count, int64_t y0, int64_t y1) {
    std::uint32_t* row = view.row(int(y0));
    const std::ptrdiff_t stride = view.stride;
    if (count == 1) {
        for (int64_t y = y0; y < y1; ++y, row += stride)
            row[xs[0]] ^= kFlip;
    } else if (count == 2) {
        for (int64_t y = y0; y < y1; ++y, row += stride) {
            row[xs[0]] ^= kFlip;
            row[xs[1]] ^= kFlip;
        }
    } else {
        for (int64_t y = y0; y < y1; ++y, row += stride)
            for (int i = 0; i < count; ++i)
                row[xs[i]] ^= kFlip;
    }
}

// Column runs may overlap in rows; the rows are cut where any run starts or ends, and each
// stretch flips the runs that cover it together.
void invertColumns(const PixelView& view, const Runs& columns, std::vector<Rect>& changed) {
    Runs inside;
    for (int i = 0; i < columns.count; ++i) {
        const std::optional<Run> run = insideOf(columns.runs[i], view.width, view.height);
        if (!run)
            continue;
        inside.add(*run);
        changed.push_back({int(run->line), int(run->begin), int(run->line) + 1, int(run->end)});
    }
    int64_t cuts[8];
    int cutCount = 0;
    for (int i = 0; i < inside.count; ++i) {
        cuts[cutCount++] = inside.runs[i].begin;
        cuts[cutCount++] = inside.runs[i].end;
    }
    std::sort(cuts, cuts + cutCount);
    cutCount = int(std::unique(cuts, cuts + cutCount) - cuts);
    for (int c = 0; c + 1 < cutCount; ++c) {
        int64_t xs[4];
        int count = 0;
        for (int i = 0; i < inside.count; ++i)
            if (inside.runs[i].begin <= cuts[c] && inside.runs[i].end >= cuts[c + 1])
                xs[count++] = inside.runs[i].line;
        if (count > 0)
            flipColumns(view, xs, count, cuts[c], cuts[c + 1]);
    }
}

} // namespace

void invertRectangleOutlineChange(const PixelView& view, const Rect& from, const Rect& to,
                                  std::vector<Rect>& changed) {
    if (view.isNull())
        return;
    Runs fromRows, fromColumns, toRows, toColumns;
    piecesOf(from, fromRows, fromColumns);
    piecesOf(to, toRows, toColumns);
    invertRows(view, differenceOf(fromRows, toRows), changed);
    invertColumns(view, differenceOf(fromColumns, toColumns), changed);
}

} // namespace raster
