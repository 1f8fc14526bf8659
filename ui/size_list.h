// The size list screen: the grid sizes of one size class with their solved
// counts, above a footer with the title and the back button.
#pragma once

#include "ui/list_screens.h"

// Lays the list out for this frame's surface size, draws it and its scroll
// bar, and keeps the rectangles and scroll limits that taps and drags use.
void DrawSizeList(SizeListScreen* list);
