// The cells a stroke crosses: no gaps and no repeats, whatever its slope,
// and nothing outside the grid or the window.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ui/segment_cells.h"

namespace {

using Cells = std::vector<std::pair<int32_t, int32_t>>;  // (row, col)

Cells Walk(double x0, double y0, double x1, double y1, CellWindow window = {0, 0, 100, 100}) {
    GridCell out[40];
    const int32_t n = SegmentCells(x0, y0, x1, y1, 10, 10, window, out, 40);
    Cells cells;
    for (int32_t i = 0; i < n; ++i)
        cells.emplace_back(out[i].row, out[i].col);
    return cells;
}

TEST(SegmentCells, DiagonalsSteepStrokesAndPointsGiveEachCrossedCellOnce) {
    // Through exact corners: one diagonal step each, never the cells beside.
    EXPECT_EQ(Walk(0.5, 0.5, 3.5, 3.5), (Cells{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(Walk(3.5, 0.5, 0.5, 3.5), (Cells{{0, 3}, {1, 2}, {2, 1}, {3, 0}}));
    // Off the corners a diagonal passes through a side cell at each step.
    EXPECT_EQ(Walk(0.5, 0.2, 2.5, 2.4), (Cells{{0, 0}, {0, 1}, {1, 1}, {1, 2}, {2, 2}}));
    // Steep, upwards: every row once, the column changing once.
    EXPECT_EQ(Walk(4.2, 9.5, 4.9, 4.5), (Cells{{9, 4}, {8, 4}, {7, 4}, {6, 4}, {5, 4}, {4, 4}}));
    EXPECT_EQ(Walk(4.2, 9.5, 5.3, 6.5), (Cells{{9, 4}, {8, 4}, {7, 4}, {7, 5}, {6, 5}}));
    // Zero length, also on a grid line: the cell under the point.
    EXPECT_EQ(Walk(2.5, 7.5, 2.5, 7.5), (Cells{{7, 2}}));
    EXPECT_EQ(Walk(3.0, 4.0, 3.0, 4.0), (Cells{{4, 3}}));
    EXPECT_EQ(Walk(-0.5, 4.0, -0.5, 4.0), Cells{});
}

TEST(SegmentCells, AStrokeLeavingTheGridOrItsWindowStopsAtTheEdge) {
    EXPECT_EQ(Walk(8.5, 1.5, 13.5, 1.5), (Cells{{1, 8}, {1, 9}}));
    EXPECT_EQ(Walk(-3.0, -3.0, 1.5, 1.5), (Cells{{0, 0}, {1, 1}}));
    EXPECT_EQ(Walk(-2.0, 5.5, -0.1, 9.5), Cells{});
    // A window cutting cells in half, as a pinned clue band covers them.
    EXPECT_EQ(Walk(0.5, 2.5, 4.5, 2.5, {2.5, 0, 100, 100}), (Cells{{2, 2}, {2, 3}, {2, 4}}));
    EXPECT_EQ(Walk(1.5, 0.5, 1.5, 5.5, {0, 0, 100, 3.0}), (Cells{{0, 1}, {1, 1}, {2, 1}}));
}

}  // namespace
