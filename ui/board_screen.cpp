// The board screen's bookkeeping of progress: recording a solved puzzle and
// saving the state files after each release.
#include "ui/board_screen.h"

#include <cstdlib>

#include "puzzles/board_state.h"
#include "puzzles/puzzle_file.h"
#include "storage/settings.h"

namespace {
// A point was added but the points file could not be written yet; the next
// check of a solved board tries again, so the point is not lost with the run.
bool pointsUnsaved = false;
}  // namespace

bool BoardScreen::CheckAndRecordSolved() {
    if (!board) return true;
    // A board without clues (never loaded, or released) agrees with nothing; it
    // must not earn a marker and a point.
    const bool loaded = board->rows > 0 && board->cols > 0 && board->rowClues && board->colClues;
    if (!loaded || VerifyBoard(board) != 0) {
        board->solved = 0;
        return true;
    }
    board->solved = 1;
    FillCrossesOnSolve(board);
    viewRect = fitRect;
    bool created = false;
    if (!EnsureSolvedMarker(kPlayerDataRoot, sizeClass, gridIndex, puzzleIndex, &created)) {
        return false;
    }
    if (created) {
        if (points < 0x7FFFFFFF) ++points;
        pointsUnsaved = true;
    }
    if (pointsUnsaved && WritePoints()) pointsUnsaved = false;
    return !pointsUnsaved;
}

bool BoardScreen::SaveDirtyState() {
    if (!board) return true;
    bool ok = true;
    if (cellsDirty) {
        // The check runs first so the saved cells include the X marks of a solve.
        const bool recorded = CheckAndRecordSolved();
        const bool saved = SaveCells(kPlayerDataRoot, sizeClass, gridIndex, puzzleIndex, board);
        if (recorded && saved) {
            cellsDirty = 0;
        } else {
            ok = false;
        }
    }
    if (marksDirty) {
        if (SaveMarks(kPlayerDataRoot, sizeClass, gridIndex, puzzleIndex, board)) {
            marksDirty = 0;
        } else {
            ok = false;
        }
    }
    return ok;
}

bool BoardScreen::OpenPuzzle(int32_t sizeClassIn, int32_t gridIndexIn, int32_t puzzleIndexIn) {
    ClosePuzzle();
    sizeClass = sizeClassIn;
    gridIndex = gridIndexIn;
    puzzleIndex = puzzleIndexIn;
    Board* fresh = static_cast<Board*>(std::calloc(1, sizeof(Board)));
    if (!fresh) return false;
    if (!LoadPuzzle(sizeClass, gridIndex, puzzleIndex, fresh)) {
        std::free(fresh);
        return false;
    }
    board = fresh;
    ResetBoard(board);
    ReadBoardState(kPlayerDataRoot, sizeClass, gridIndex, puzzleIndex, board);
    CheckAndRecordSolved();
    activeTool = CellFilled;
    moveScaleMode = 0;
    legendShown = 0;
    cellsDirty = 0;
    marksDirty = 0;
    return true;
}

void BoardScreen::ClosePuzzle() {
    if (!board) return;
    SaveDirtyState();
    ReleaseBoard(board);
    std::free(board);
    board = nullptr;
}
