// The board screen's bookkeeping of progress: recording a solved puzzle and
// saving the state files after each release.
#include "ui/board_screen.h"

#include "platform/s3e.h"
#include "puzzles/board_state.h"
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
    const int32_t earned = points < 0x7FFFFFFF ? points + 1 : points;
    char marker[kPathMax];
    if (!BuildStateFilePath(kPlayerDataRoot, sizeClass, gridIndex, puzzleIndex, SolvedMarker,
                            marker)) {
        return false;
    }
    // Noted before the marker exists, so that a run dying between the marker and
    // the points file still gets the point at the next start, and only once.
    if (!s3eFileCheckExists(marker) && !NotePendingPoint(earned, marker)) return false;
    bool created = false;
    if (!EnsureSolvedMarker(kPlayerDataRoot, sizeClass, gridIndex, puzzleIndex, &created)) {
        return false;
    }
    if (created) {
        points = earned;
        pointsUnsaved = true;
    }
    if (pointsUnsaved && WritePoints()) {
        pointsUnsaved = false;
        ClearPendingPoint();
    }
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
