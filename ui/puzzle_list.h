// The puzzle list screen: the puzzles of one grid size with a status icon
// each, above a footer with the title and the back button.
#pragma once

#include "ui/list_screens.h"

// Lays the list out for this frame's surface size, draws it and its scroll
// bar, and keeps the rectangles and scroll limits that taps and drags use.
void DrawPuzzleList(PuzzleListScreen* list);
