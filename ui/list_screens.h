// The data of the size list and the puzzle list screens: the entries they show,
// their titles, scroll state and the rectangles their last frame laid out.
#pragma once

#include <cstdint>

#include "puzzles/catalogue.h"
#include "ui/screen_rect.h"

constexpr int kSizeListTitleMax = 48;
constexpr int kPuzzleListTitleMax = 32;

// The grid sizes of one size class. Zero-filled when created.
struct SizeListScreen {
    int32_t sizeClass;
    int32_t count;
    GridSizeInfo* entries;          // count records, owned (std::calloc / std::free)
    char title[kSizeListTitleMax];  // the class name, "XSmall" ... "XLarge"
    // Scrolling: entries are drawn and hit-tested scrollOffset + dragOffset higher.
    int32_t dragOffset;
    int32_t scrollOffset;
    int32_t maxScroll;
    int32_t footerTop;
    int32_t footerHeight;
    ScreenRect backButton;
};

// The puzzles of one grid size. Zero-filled when created.
struct PuzzleListScreen {
    int32_t sizeClass;
    int32_t gridIndex;
    int32_t count;
    PuzzleEntry* entries;             // count records, owned (std::calloc / std::free)
    char title[kPuzzleListTitleMax];  // class name, a blank and the label: "Medium 15x15"
    int32_t dragOffset;
    int32_t scrollOffset;
    int32_t maxScroll;
    int32_t footerTop;
    int32_t footerHeight;
    ScreenRect backButton;
};
