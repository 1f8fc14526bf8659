// The board screen: the open puzzle's progress, the rectangles the last frame
// laid out (which zoom, pan and taps use), and the tool and legend state.
#pragma once

#include <cstdint>

#include "puzzles/progress.h"
#include "ui/screen_rect.h"

// Zero-filled when created; progress.board is present only while a puzzle is open.
struct BoardScreen {
    PuzzleProgress progress;  // the open puzzle, its Board and its save flags

    // Laid out by every frame (see ui/board_view.h).
    ScreenRect fitRect;      // the whole board fitted beside the toolbar (zoom 1)
    int32_t fitCellSize;     // cell size of fitRect, the smallest zoom; at least 1
    ScreenRect viewRect;     // the whole board as zoomed and panned; kept between frames
    float cellSize;          // cell size of viewRect, as drawn by the last frame
    int32_t toolbarAtRight;  // 1: a column at the right edge; 0: a row at the bottom
    int32_t toolbarSize;     // thickness of the toolbar strip
    ScreenRect backButton;
    ScreenRect undoButton;
    ScreenRect drawButton;
    ScreenRect eraseButton;
    ScreenRect crossButton;
    ScreenRect clearAllButton;
    ScreenRect legendButton;
    ScreenRect moveScaleButton;

    uint8_t activeTool;     // the cell code painting writes: 0 Erase, 1 Drawing, 2 Set X
    uint8_t moveScaleMode;  // Scale & Move: pinch and pan work, painting does not
    uint8_t legendShown;    // the legend naming the toolbar buttons is shown

    // The puzzle whose "Clear all?" box is open: an answer that arrives once
    // another puzzle is open, or none, must not clear anything.
    bool clearAllAsked;
    PuzzleAddress clearAllAsker;

    // Loads the puzzle, restores the player's earlier cells and marks, records
    // it solved when they complete it, starts with Drawing, lays the board out
    // for the current surface and shows it fitted. Any puzzle open before is
    // saved and closed first. False, with no board open and nothing written,
    // when the puzzle cannot be loaded.
    bool OpenPuzzle(int32_t sizeClass, int32_t gridIndex, int32_t puzzleIndex);
    // Saves what is still dirty, then releases the board.
    void ClosePuzzle();

    // Checks the cells against the clues and records a solve (see
    // puzzles/progress.h); a solved board is shown fitted again.
    bool CheckAndRecordSolved();
    // After a release on the board: verifies and saves what changed (see
    // puzzles/progress.h). A board that this save found newly solved is shown
    // fitted again. False when anything could not be saved.
    bool SaveDirtyState();
    // "Clear all?" confirmed: the board starts over and its state files go.
    // False when a file could not be deleted.
    bool ClearAll();
    // Asks "Clear all?" for the open puzzle; nothing without one.
    void AskClearAll();
    // The "Clear all?" box was answered: `confirmed` (its first button, while
    // the board is shown) clears the puzzle it was asked for, if that is
    // still the open one.
    void AnswerClearAll(bool confirmed);
};
