// The size list screen: the grid sizes of one size class with their solved
// counts, above a footer with the title and the back button.
#pragma once

#include <cstdint>

#include "ui/list_screens.h"

// The size list as laid out for one surface size; a short last row is centred.
struct SizeListLayout : ListLayout {
    int32_t cellW, cellH;  // by the larger surface side, cellW at most the width
    int32_t cols, rows;    // cols at least 1
    int32_t spare;         // width left beside the full rows
    int32_t top;           // y of the first row
};

// Pure arithmetic on the surface size and the list's count and offsets.
SizeListLayout LayoutSizeList(int32_t width, int32_t height, const SizeListScreen* list);

// Lays the list out for this frame's surface size, draws it and its scroll
// bar, and keeps the rectangles and scroll limits that taps and drags use.
// A surface without pixels draws nothing and keeps the last frame's numbers.
void DrawSizeList(SizeListScreen* list);

// What a tap at (x, y) hits, by the rectangles of the last frame drawn: the
// back button (its top edge is outside), else nothing at or below footerTop,
// else the first entry holding the point once moved up by the scroll (right
// and bottom edges outside).
ListHit HitSizeList(const SizeListScreen* list, int32_t x, int32_t y);
