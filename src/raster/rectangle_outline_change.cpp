#include "raster/outline_change.h"

#include "raster/mix.h"
#include "raster/span_sink.h"

#include <algorithm>
#include <cstdint>

namespace raster {

namespace {

using std::int64_t;

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

// The parts of runs that lie in a picture of `lines` lines each `length` pixels long.
Runs insideOf(const Runs& runs, int64_t lines, int64_t length) {
    Runs inside;
    for (int i = 0; i < runs.count; ++i) {
        const Run& run = runs.runs[i];
        const int64_t begin = std::max<int64_t>(run.begin, 0);
        const int64_t end = std::min<int64_t>(run.end, length);
        if (run.line >= 0 && run.line < lines && begin < end)
            inside.add({run.line, begin, end});
    }
    return inside;
}

// Inverts the pixels at `count` columns of the rows y0 <= y < y1, one row at a time, so
// that the columns of a moving side (nearby, often in one cache line) share each row visit.
void invertColumns(SpanWriter<false>& out, const int64_t* xs, int count, int64_t y0, int64_t y1) {
    if (count == 1) {
        for (int64_t y = y0; y < y1; ++y)
            out.add(y, xs[0], xs[0] + 1);
    } else if (count == 2) {
        for (int64_t y = y0; y < y1; ++y) {
            out.add(y, xs[0], xs[0] + 1);
            out.add(y, xs[1], xs[1] + 1);
        }
    } else {
        for (int64_t y = y0; y < y1; ++y)
            for (int i = 0; i < count; ++i)
                out.add(y, xs[i], xs[i] + 1);
    }
}

// Column runs may overlap in rows: the rows are cut where any run starts or ends, and each
// stretch inverts the runs that cover it together.
void invertColumns(SpanWriter<false>& out, const Runs& columns) {
    if (columns.count == 0)
        return;
    int64_t y = INT64_MAX;
    for (int i = 0; i < columns.count; ++i)
        y = std::min(y, columns.runs[i].begin);
    for (;;) {
        int64_t next = INT64_MAX;
        for (int i = 0; i < columns.count; ++i) {
            const Run& run = columns.runs[i];
            next = std::min(next, run.begin > y ? run.begin : run.end > y ? run.end : INT64_MAX);
        }
        if (next == INT64_MAX)
            return;
        int64_t xs[4];
        int count = 0;
        for (int i = 0; i < columns.count; ++i)
            if (columns.runs[i].begin <= y && columns.runs[i].end >= next)
                xs[count++] = columns.runs[i].line;
        if (count > 0)
            invertColumns(out, xs, count, y, next);
        y = next;
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
    const Runs rows = insideOf(differenceOf(fromRows, toRows), view.height, view.width);
    const Runs columns = insideOf(differenceOf(fromColumns, toColumns), view.width, view.height);
    SpanWriter<false> out(view, masksFor(Mix::Not, 0), view.bounds());
    for (int i = 0; i < rows.count; ++i) {
        const Run& run = rows.runs[i];
        out.add(run.line, run.begin, run.end);
        changed.push_back({int(run.begin), int(run.line), int(run.end), int(run.line) + 1});
    }
    invertColumns(out, columns);
    for (int i = 0; i < columns.count; ++i) {
        const Run& run = columns.runs[i];
        changed.push_back({int(run.line), int(run.begin), int(run.line) + 1, int(run.end)});
    }
}

} // namespace raster
