// The puzzle list screen.
#include "ui/puzzle_list.h"

void DrawPuzzleList(PuzzleListScreen* list) {
    (void)list;
}
