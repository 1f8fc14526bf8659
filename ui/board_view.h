// The board screen as drawn: the layout beside the toolbar, the clue bands,
// cells, grid, clue numbers and marks, the toolbar and the legend, and the hit
// tests that the board tools use on the rectangles of the last frame.
#pragma once

#include <cstdint>

#include "ui/board_screen.h"
#include "ui/screen_rect.h"

struct Board;

// The layout in integers, truncating: no font, no drawing. A missing board is
// laid out as one cell.
BoardLayout LayoutBoardScreen(int32_t width, int32_t height, const Board* board, bool legendShown);
// The cell size a view rectangle gives: min(w / totalCols, h / totalRows) in
// integers; 0 without a board.
float ViewCellSize(const ScreenRect& viewRect, const Board* board);
// Whether grid line i of total (0 .. total) is drawn three pixels wide: the
// edges, and every fifth line counted from the first grid line (bandCells),
// into the clue band too.
bool IsThickLine(int32_t i, int32_t total, int32_t bandCells);

// Where the clue bands stand in a frame. Zoomed so far that a band would
// leave the surface through its top (left) edge, it sticks there instead,
// drawn over the cells at the zoomed cell size, so the clues of the columns
// (rows) in view stay in sight. A pinned band reaches at most half across the
// board's part of the surface: zoomed further, its outer clues stay off the
// edge and the clues nearest the grid stay in view. At fit nothing is pinned.
struct ClueBandPins {
    bool top;
    float topY, topBottom;  // the pinned top band's top edge (0 or above) and bottom edge
    bool left;
    float leftX, leftRight;  // the pinned left band's left edge (0 or left of it) and right edge
};
// From the screen's view, cell size, toolbar and board, as the last frame drew them.
ClueBandPins PinClueBands(const BoardScreen* screen);

// Lays the board screen out for this frame's surface size and draws it. After
// a change of the surface's size the view goes back to the fitted board. A
// surface without area draws nothing.
void DrawBoardScreen(BoardScreen* screen, bool surfaceChanged);

// ---------------------------------------------------------------------------
// Hit tests on the rectangles and cell size of the last frame.

// The button strictly inside whose edges (x, y) lies, tested in the enum's order.
ToolbarButton HitToolbar(const BoardScreen* screen, int32_t x, int32_t y);
// Whether (x, y) lies in the toolbar strip of the last frame's surface.
bool InToolbarStrip(const BoardScreen* screen, int32_t x, int32_t y);
// The clue under (x, y), pinned bands first. *inBand: the point lies in a clue
// band (pinned or not), where a tap ends. True when it names a real clue: *isRow, *line (row or
// column) and *clue (its index in the line).
bool ClueAt(const BoardScreen* screen, int32_t x, int32_t y, bool* inBand, bool* isRow,
            int32_t* line, int32_t* clue);
// The grid cell under (x, y); false outside the grid and under a pinned band.
bool CellAt(const BoardScreen* screen, int32_t x, int32_t y, int32_t* row, int32_t* col);
