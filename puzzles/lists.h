// The entries of the size list and the puzzle list, built from the catalogue
// and the player's state files. The screens that show them (ui/list_screens.h)
// add their scroll state and rectangles.
#pragma once

#include <cstdint>

#include "puzzles/catalogue.h"

constexpr int kSizeListTitleMax = 48;
constexpr int kPuzzleListTitleMax = 32;

// The grid sizes of one size class. Zero-filled when created.
struct SizeList {
    int32_t sizeClass;
    int32_t count;
    GridSizeInfo* entries;          // count records, owned (std::calloc / std::free)
    char title[kSizeListTitleMax];  // the class name, "XSmall" ... "XLarge"
};

// The puzzles of one grid size. Zero-filled when created.
struct PuzzleList {
    int32_t sizeClass;
    int32_t gridIndex;
    int32_t count;
    PuzzleEntry* entries;             // count records, owned (std::calloc / std::free)
    char title[kPuzzleListTitleMax];  // class name, a blank and the label: "Medium 15x15"
};

// Frees the old entries, then lists every grid size of the class with its puzzle
// count and the number solved, and sets the title to the class name. The scroll
// state is left to the caller: it starts at the top when the list is entered from
// the main menu and stays when the player comes back from a puzzle list. False
// (an empty list) for a class outside the catalogue or when memory runs out.
bool BuildSizeList(SizeList* list, int32_t sizeClass);
// With sizeClass and gridIndex already stored: frees the old entries, creates the
// grid size's state directory when missing, lists its puzzles with their sizes and
// statuses, and sets the title ("Small 10x20"). False (an empty list) outside the
// catalogue or when memory runs out.
bool BuildPuzzleList(PuzzleList* list);

// Free the entries (count becomes 0), as when the list's screen is left.
void ReleaseSizeList(SizeList* list);
void ReleasePuzzleList(PuzzleList* list);
