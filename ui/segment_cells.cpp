// The segment walk: the segment is clipped to the window, then cut where it
// crosses the grid lines; the cell of each piece is the one holding its middle,
// so pieces of zero length (the corners it passes exactly) add nothing.
#include "ui/segment_cells.h"

#include <algorithm>
#include <cmath>

namespace {

struct Writer {
    GridCell* cells;
    int32_t capacity;
    int32_t count;

    void Add(int32_t row, int32_t col) {
        if (count > 0 && cells[count - 1].row == row && cells[count - 1].col == col) return;
        if (count < capacity) cells[count++] = GridCell{row, col};
    }
};

// Narrows [*t0, *t1] to the t with p·t <= q (Liang and Barsky's clip step).
bool ClipEdge(double p, double q, double* t0, double* t1) {
    if (p == 0.0) return q >= 0.0;
    const double t = q / p;
    if (p < 0.0) {
        if (t > *t1) return false;
        *t0 = std::max(*t0, t);
    } else {
        if (t < *t0) return false;
        *t1 = std::min(*t1, t);
    }
    return true;
}

// The grid lines one coordinate crosses, in the order it meets them: lines
// are whole numbers, so every crossing time is computed from exact values.
struct Crossings {
    double start, d;  // the coordinate is start + d·t
    double line;      // the next line it meets
    double step;      // +1 or -1

    Crossings(double s, double delta, double from) : start(s), d(delta) {
        step = d > 0.0 ? 1.0 : -1.0;
        line = d > 0.0 ? std::floor(from) + 1.0 : std::ceil(from) - 1.0;
    }
    double Time() const { return d == 0.0 ? INFINITY : (line - start) / d; }
};

}  // namespace

int32_t SegmentCells(double x0, double y0, double x1, double y1, int32_t rows, int32_t cols,
                     const CellWindow& window, GridCell* cells, int32_t capacity) {
    const double left = std::max(window.left, 0.0), top = std::max(window.top, 0.0);
    const double right = std::min(window.right, static_cast<double>(cols));
    const double bottom = std::min(window.bottom, static_cast<double>(rows));
    Writer out{cells, std::max(capacity, 0), 0};
    if (!cells || !(left < right && top < bottom)) return 0;
    const auto addPoint = [&](double x, double y) {
        if (x >= left && x < right && y >= top && y < bottom)
            out.Add(static_cast<int32_t>(std::floor(y)), static_cast<int32_t>(std::floor(x)));
    };

    const double dx = x1 - x0, dy = y1 - y0;
    double t0 = 0.0, t1 = 1.0;
    if (!ClipEdge(-dx, x0 - left, &t0, &t1) || !ClipEdge(dx, right - x0, &t0, &t1) ||
        !ClipEdge(-dy, y0 - top, &t0, &t1) || !ClipEdge(dy, bottom - y0, &t0, &t1))
        return 0;
    addPoint(x0 + dx * t0, y0 + dy * t0);
    // Cut at every grid line crossed between the clipped ends; a corner is
    // met by both lines at once and cuts nothing of length.
    Crossings across(x0, dx, x0 + dx * t0), down(y0, dy, y0 + dy * t0);
    for (double t = t0; t < t1;) {
        const double tx = across.Time(), ty = down.Time();
        const double next = std::min({tx, ty, t1});
        if (next > t) {
            const double mid = (t + next) / 2;
            addPoint(x0 + dx * mid, y0 + dy * mid);
            t = next;
        }
        if (tx <= next) across.line += across.step;
        if (ty <= next) down.line += down.step;
    }
    addPoint(x0 + dx * t1, y0 + dy * t1);
    return out.count;
}
