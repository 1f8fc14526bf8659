// The shape of the catalogue (size classes, grid sizes, puzzle counts, the
// fixed puzzles) and the plan that gives every puzzle slot its kind, naming
// style and pictures before any puzzle is made.
#pragma once

#include <string>
#include <vector>

#include "tools/forge/picture.h"

namespace forge {

struct GridSize {
    int sizeClass = 0;
    int width = 0;   // columns
    int height = 0;  // rows
    int count = 0;
    std::string Label() const;    // "<W>x<H>"
    std::string DirCode() const;  // three digits
};

// The 100 grid sizes in class, then width, then height order.
const std::vector<GridSize>& CatalogueGridSizes();
const char* SizeClassName(int sizeClass);
// Index of the grid size with this label, or -1.
int FindGridSize(const std::string& label);

// Totals the catalogue holds.
constexpr int kPuzzleTotal = 1463;
constexpr int kSmallerTotal = 422;
constexpr int kNumberStemTotal = 84;
constexpr int kOtherStemTotal = 225;

enum class StemStyle { Label, Number, Other };

struct Slot {
    int grid = 0;
    int index = 0;
    bool exact = true;   // the puzzle has exactly its grid size
    int pinnedRows = 0;  // fixed board size, when not 0
    int pinnedCols = 0;
    std::string pinnedStem;
    std::vector<int> pinnedPictures;  // tried before the planned ones
    StemStyle style = StemStyle::Label;
    int primary = -1;  // planned picture
};

struct Plan {
    std::vector<Slot> slots;                     // catalogue order
    std::vector<std::vector<int>> reserveExact;  // per grid size: spare pictures
    std::vector<std::vector<int>> reserveSmaller;
    // Per grid size, after its reserves: the best pictures for it even if
    // another grid size has them, so a grid size never runs dry.
    std::vector<std::vector<int>> overflowExact;
    std::vector<std::vector<int>> overflowSmaller;
    // Per grid size: where its overflow lists turn to pictures another grid
    // size planned (which a puzzle there may show too).
    std::vector<size_t> sharedExact;
    std::vector<size_t> sharedSmaller;
    std::vector<int> firstSlot;  // per grid size: its first slot
    // Per grid size: pictures nobody planned, dealt out in turns, tried after
    // its drafts.
    std::vector<std::vector<int>> lastResort;
};

// Plans every slot and picks pictures from the measured library. The plan
// depends only on the library, so any grid size can later be made alone.
Plan MakePlan(const PictureLibrary& library);

// The board a picture gets in a slot.
void SlotBoardSize(const Slot& slot, const PictureRef& picture, int* rows, int* cols);

}  // namespace forge
