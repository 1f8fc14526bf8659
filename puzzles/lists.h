// Building the entries of the size list and the puzzle list from the catalogue
// and the player's state files.
#pragma once

#include <cstdint>

#include "ui/list_screens.h"

// Frees the old entries, then lists every grid size of the class with its puzzle
// count and the number solved, and sets the title to the class name. The scroll
// state is left to the caller: it starts at the top when the list is entered from
// the main menu and stays when the player comes back from a puzzle list. False
// (an empty list) for a class outside the catalogue or when memory runs out.
bool BuildSizeList(SizeListScreen* list, int32_t sizeClass);
// With sizeClass and gridIndex already stored: frees the old entries, creates the
// grid size's state directory when missing, lists its puzzles with their sizes and
// statuses, and sets the title ("Small 10x20"). False (an empty list) outside the
// catalogue or when memory runs out.
bool BuildPuzzleList(PuzzleListScreen* list);

// Free the entries (count becomes 0), as when the list's screen is left.
void ReleaseSizeList(SizeListScreen* list);
void ReleasePuzzleList(PuzzleListScreen* list);
