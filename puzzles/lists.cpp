// The size list and puzzle list entries, with solved counts and statuses.
#include "puzzles/lists.h"

#include <cstdio>
#include <cstdlib>

#include "puzzles/board_state.h"

void ReleaseSizeList(SizeList* list) {
    if (!list) return;
    std::free(list->entries);
    list->entries = nullptr;
    list->count = 0;
}

void ReleasePuzzleList(PuzzleList* list) {
    if (!list) return;
    std::free(list->entries);
    list->entries = nullptr;
    list->count = 0;
}

bool BuildSizeList(SizeList* list, int32_t sizeClass) {
    if (!list) return false;
    list->sizeClass = sizeClass;
    ReleaseSizeList(list);
    list->title[0] = '\0';
    const int32_t count = GetGridSizeCount(sizeClass);
    if (count <= 0) return false;
    auto* entries =
        static_cast<GridSizeInfo*>(std::calloc(static_cast<size_t>(count), sizeof(GridSizeInfo)));
    if (!entries) return false;
    for (int32_t g = 0; g < count; ++g)
        GetGridSizeInfo(sizeClass, g, &entries[g]);
    list->entries = entries;
    list->count = count;

    char name[kSizeClassNameMax];
    GetSizeClassName(sizeClass, name);
    std::snprintf(list->title, sizeof list->title, "%s", name);
    for (int32_t g = 0; g < count; ++g) {
        entries[g].solvedCount = CountSolvedPuzzles(kPlayerDataRoot, sizeClass, g);
    }
    return true;
}

bool BuildPuzzleList(PuzzleList* list) {
    if (!list) return false;
    ReleasePuzzleList(list);
    list->title[0] = '\0';
    GridSizeInfo grid{};
    char dir[kPathMax];
    if (!GetGridSizeInfo(list->sizeClass, list->gridIndex, &grid) || grid.puzzleCount <= 0) {
        return false;
    }
    // Without its directory the grid size's progress could never be saved; the
    // list still shows, every puzzle not started.
    if (BuildStateDirPath(kPlayerDataRoot, grid.dirCode, dir)) EnsureDirectory(dir);

    const int32_t count = grid.puzzleCount;
    auto* entries =
        static_cast<PuzzleEntry*>(std::calloc(static_cast<size_t>(count), sizeof(PuzzleEntry)));
    if (!entries) return false;
    for (int32_t p = 0; p < count; ++p) {
        GetPuzzleSize({list->sizeClass, list->gridIndex, p}, &entries[p].rows, &entries[p].cols);
        entries[p].status = NotStarted;
    }
    list->entries = entries;
    list->count = count;
    ReadPuzzleStatuses(kPlayerDataRoot, list->sizeClass, list->gridIndex, entries, count);

    char name[kSizeClassNameMax];
    GetSizeClassName(list->sizeClass, name);
    // Names and labels are a few characters; the precisions only bound the field.
    std::snprintf(list->title, sizeof list->title, "%.15s %.15s", name, grid.label);
    return true;
}
