// The board screen: the open puzzle, its Board, the rectangles zoom and pan move,
// and the operations that record a solved puzzle and save what changed.
#pragma once

#include <cstdint>

#include "board/board.h"
#include "ui/screen_rect.h"

// Zero-filled when created; the board is present only while a puzzle is open.
struct BoardScreen {
    // The open puzzle's address in the catalogue.
    int32_t sizeClass;
    int32_t gridIndex;
    int32_t puzzleIndex;
    Board* board;           // owned; ReleaseBoard, then std::free
    ScreenRect fitRect;     // the whole board fitted beside the toolbar (zoom 1)
    int32_t fitCellSize;    // cell size of fitRect, the smallest zoom
    ScreenRect viewRect;    // the whole board as zoomed and panned
    uint8_t cellsDirty;     // a cell changed since the last save
    uint8_t marksDirty;     // a clue mark changed since the last save
    uint8_t activeTool;     // the cell code painting writes: 0 Erase, 1 Drawing, 2 Set X
    uint8_t moveScaleMode;  // Scale & Move: pinch and pan work, painting does not
    uint8_t legendShown;    // the legend naming the toolbar buttons is shown

    // Loads the puzzle, restores the player's earlier cells and marks, records
    // it solved when they complete it, and starts with Drawing and the fitted
    // view. Any board open before is closed first. False, with no board open
    // and nothing written, when the puzzle cannot be loaded.
    bool OpenPuzzle(int32_t sizeClass, int32_t gridIndex, int32_t puzzleIndex);
    // Saves what is still dirty, then releases the board.
    void ClosePuzzle();

    // Checks the cells against the clues. A solved board gets its X marks and the
    // fitted view, and, the first time, its solved marker and one more point in
    // the points file. False when the marker or the points file could not be
    // written (the point is added only once the marker exists).
    bool CheckAndRecordSolved();
    // After a release on the board: verifies and saves the cells when they
    // changed, saves the marks when they changed. A dirty flag is cleared only
    // once its file is written, so a failed save is tried again next time. False
    // when anything could not be saved.
    bool SaveDirtyState();
};
