// The cells a straight stroke crosses. A finger is sampled only a few times
// while it sweeps over a board, so painting walks from each sample to the next
// instead of painting only where the samples fell.
#pragma once

#include <cstdint>

struct GridCell {
    int32_t row, col;
};

// A rectangle in cell units (columns across, rows down, the grid's top-left
// corner at 0, 0): the part of the grid a stroke may reach. Points with
// left <= x < right and top <= y < bottom lie in it.
struct CellWindow {
    double left, top, right, bottom;
};

// Writes to cells, in order from (x0, y0) to (x1, y1) (cell units), every cell
// of a rows x cols grid that the segment passes through inside window, each
// once: the cells under its two ends (when they lie inside) and every cell
// whose inside it crosses. Through the exact corner of four cells it steps
// diagonally, leaving out the two it only touches. A zero-length segment gives
// the one cell under it. Gives the number written; rows + cols cells of room
// always suffice.
int32_t SegmentCells(double x0, double y0, double x1, double y1, int32_t rows, int32_t cols,
                     const CellWindow& window, GridCell* cells, int32_t capacity);
