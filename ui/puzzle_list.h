// The puzzle list screen: the puzzles of one grid size with a status icon
// each, above a footer with the title and the back button.
#pragma once

#include <cstdint>

#include "ui/list_screens.h"

// The puzzle list as laid out for one surface size; a single row is centred.
struct PuzzleListLayout : ListLayout {
    int32_t cell;        // cell width, min(100, W); every cell is 100 high
    int32_t cols, rows;  // cols at least 1
    int32_t top;         // y of the first row
};

// Pure arithmetic on the surface size and the list's count and offsets.
PuzzleListLayout LayoutPuzzleList(int32_t width, int32_t height, const PuzzleListScreen* list);

// Lays the list out for this frame's surface size, draws it and its scroll
// bar, and keeps the rectangles and scroll limits that taps and drags use.
// A surface without pixels draws nothing and keeps the last frame's numbers.
void DrawPuzzleList(PuzzleListScreen* list);

// What a tap at (x, y) hits, by the rectangles of the last frame drawn: the
// back button (its top edge is outside), else nothing at or below footerTop,
// else the first entry holding the point once moved up by the scroll (all
// four edges inside).
ListHit HitPuzzleList(const PuzzleListScreen* list, int32_t x, int32_t y);
