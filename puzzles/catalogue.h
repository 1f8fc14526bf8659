// The built-in puzzle catalogue: five size classes, their grid sizes and the
// puzzles of each grid size, with the paths formed from them.
#pragma once

#include <cstddef>
#include <cstdint>

enum PuzzleStatus : int32_t { NotStarted = 0, InProgress = 1, Solved = 2 };

// One grid size of the size class on show. Where it stands on the screen is
// the size list's business (ui/size_list).
struct GridSizeInfo {
    char dirCode[30];
    char label[30];
    int32_t puzzleCount;
    int32_t solvedCount;
};

// A puzzle of the catalogue: size class, grid index within the class, puzzle
// index within the grid size.
struct PuzzleAddress {
    int32_t sizeClass;
    int32_t gridIndex;
    int32_t puzzleIndex;
};

// One puzzle of the grid size on show; its place on the screen is the puzzle
// list's (ui/puzzle_list).
struct PuzzleEntry {
    int32_t rows, cols;
    int32_t status;  // PuzzleStatus
};

constexpr int kSizeClassNameMax = 32;  // buffer size for GetSizeClassName
constexpr int kFileNameMax = 30;       // buffer size for GetPuzzleInfo's file name
constexpr int kPathMax = 256;          // buffer size for the paths below

int32_t GetSizeClassCount();
// 0 for a class outside the catalogue.
int32_t GetGridSizeCount(int32_t sizeClass);
// Copies the class name ("XSmall" ... "XLarge") into out (kSizeClassNameMax bytes); false
// (out empty) for a class outside the catalogue.
bool GetSizeClassName(int32_t sizeClass, char* out);
// Sets dirCode, label and puzzleCount; leaves the other fields. False outside the catalogue.
bool GetGridSizeInfo(int32_t sizeClass, int32_t gridIndex, GridSizeInfo* out);
// Sets rows, cols and the file name (stem + ".dmp", kFileNameMax bytes). False outside.
bool GetPuzzleInfo(const PuzzleAddress& at, int32_t* rows, int32_t* cols, char* fileName);
bool GetPuzzleSize(const PuzzleAddress& at, int32_t* rows, int32_t* cols);

// "tasks/black/<dirCode>/<fileName>" into out (kPathMax bytes); false when it does not fit.
bool BuildPuzzlePath(const char* dirCode, const char* fileName, char* out);
// "<base>/black/<dirCode>" into out (kPathMax bytes); false when it does not fit.
bool BuildStateDirPath(const char* base, const char* dirCode, char* out);
