// The board screen: the open puzzle's progress, the rectangles the last frame
// laid out (which zoom, pan and taps use), and the tool and legend state.
#pragma once

#include <cstdint>

#include "puzzles/progress.h"
#include "ui/screen_rect.h"

// The toolbar's buttons, in the order taps test them.
enum ToolbarButton : int32_t {
    kButtonNone = -1,
    kButtonBack = 0,
    kButtonDraw,
    kButtonErase,
    kButtonMoveScale,
    kButtonCross,
    kButtonClearAll,
    kButtonUndo,
    kButtonLegend,
};
constexpr int32_t kToolbarButtonCount = 8;

// One frame's layout of the board screen for a surface of width x height.
struct BoardLayout {
    int32_t width, height;
    int32_t totalCols, totalRows;  // clue band and grid cells across and down
    int32_t toolbarSize;           // T = min(W/8, H/8, 100)
    int32_t fitToolbarAtRight;     // the side the fit left room for
    int32_t toolbarAtRight;        // the side the toolbar is drawn on (the legend takes the right)
    ScreenRect area;               // where the board is fitted
    int32_t fitCellSize;           // at least 1
    ScreenRect fitRect;
    int32_t buttonSide, buttonGap, buttonOffset;  // after shrinking to fit
    ScreenRect strip;                             // the toolbar strip
    ScreenRect buttons[kToolbarButtonCount];      // indexed by ToolbarButton
};

// Zero-filled when created; progress.board is present only while a puzzle is open.
struct BoardScreen {
    PuzzleProgress progress;  // the open puzzle, its Board and its save flags

    BoardLayout layout;   // the last frame's layout, whole (see ui/board_view.h)
    ScreenRect viewRect;  // the whole board as zoomed and panned; kept between frames
    float cellSize;       // cell size of viewRect, as drawn by the last frame

    uint8_t activeTool;     // the cell code painting writes: 0 Erase, 1 Drawing, 2 Set X
    uint8_t moveScaleMode;  // Scale & Move: pinch and pan work, painting does not
    uint8_t legendShown;    // the legend naming the toolbar buttons is shown

    // The one-finger gesture in progress, between passes.
    int32_t strokePoint[2];  // where the stroke's last pass was: the next one paints on from here
    uint8_t panning;         // a Scale & Move pan has begun: it follows the finger to the release,
                             // which is then never a tap

    // The puzzle whose "Clear all?" box is open: an answer that arrives once
    // another puzzle is open, or none, must not clear anything.
    bool clearAllAsked;
    PuzzleAddress clearAllAsker;

    // Loads the puzzle, restores the player's earlier cells and marks, records
    // it solved when they complete it, starts with Drawing, lays the board out
    // for the current surface and shows it fitted. Any puzzle open before is
    // saved and closed first. False, with no board open and nothing written,
    // when the puzzle cannot be loaded.
    bool OpenPuzzle(const PuzzleAddress& at);
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
