// The player's progress on the open puzzle: opening it (load, reset, restore,
// check), saving what changed after each release, recording a solve, "Clear
// all?" and closing it. The one place that turns a Board into state files.
#pragma once

#include <cstdint>

#include "board/board.h"
#include "puzzles/catalogue.h"

// Zero-filled when nothing is open; board is present only while a puzzle is.
struct PuzzleProgress {
    PuzzleAddress address;
    Board* board;        // owned; ReleaseBoard, then std::free
    uint8_t cellsDirty;  // a cell changed since the last save
    uint8_t marksDirty;  // a clue mark changed since the last save
};

// Closes whatever is open, then loads the puzzle, restores the player's earlier
// cells and marks and records it solved when they complete it. False, with
// nothing open and nothing written, when the puzzle cannot be loaded.
bool OpenPuzzleProgress(PuzzleProgress* progress, PuzzleAddress address);

// Checks the cells against the clues. A solved board gets its X marks and, the
// first time, its solved marker and one more point in the points file. False
// when the marker or the points file could not be written (the point is added
// only once the marker exists, and a point not yet written is tried again).
bool CheckAndRecordSolved(PuzzleProgress* progress);

// Verifies and saves the cells when they changed, saves the marks when they
// changed. A dirty flag is cleared only once its file is written, so a failed
// save is tried again next time. False when anything could not be saved.
bool SaveDirtyState(PuzzleProgress* progress);

// "Clear all?" confirmed: the board starts over and the puzzle's state files go.
// A solved marker whose point cannot be made safe without it stays. False when
// a file could not be deleted or had to stay.
bool ClearPuzzleProgress(PuzzleProgress* progress);

// Saves what is still dirty, then releases the board.
void ClosePuzzleProgress(PuzzleProgress* progress);
