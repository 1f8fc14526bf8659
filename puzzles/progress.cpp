// Opening, saving, solving, clearing and closing the open puzzle's progress.
#include "puzzles/progress.h"

#include <cstdlib>

#include "platform/s3e.h"
#include "puzzles/board_state.h"
#include "puzzles/puzzle_file.h"
#include "storage/settings.h"

namespace {
// A point was added but the points file could not be written yet; the next
// check of a solved board tries again, so the point is not lost with the run.
bool pointsUnsaved = false;
}  // namespace

bool OpenPuzzleProgress(PuzzleProgress* progress, PuzzleAddress address) {
    if (!progress) return false;
    ClosePuzzleProgress(progress);
    Board* fresh = static_cast<Board*>(std::calloc(1, sizeof(Board)));
    if (!fresh) return false;
    if (!LoadPuzzle(address.sizeClass, address.gridIndex, address.puzzleIndex, fresh)) {
        std::free(fresh);
        return false;
    }
    progress->address = address;
    progress->board = fresh;
    progress->cellsDirty = 0;
    progress->marksDirty = 0;
    ResetBoard(fresh);
    ReadBoardState(kPlayerDataRoot, address.sizeClass, address.gridIndex, address.puzzleIndex,
                   fresh);
    CheckAndRecordSolved(progress);
    return true;
}

bool CheckAndRecordSolved(PuzzleProgress* progress) {
    Board* board = progress ? progress->board : nullptr;
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
    const PuzzleAddress& a = progress->address;
    const int32_t earned = points < 0x7FFFFFFF ? points + 1 : points;
    char marker[kPathMax];
    if (!BuildStateFilePath(kPlayerDataRoot, a.sizeClass, a.gridIndex, a.puzzleIndex, SolvedMarker,
                            marker)) {
        return false;
    }
    // Noted before the marker exists, so that a run dying between the marker and
    // the points file still gets the point at the next start, and only once.
    if (!s3eFileCheckExists(marker) && !NotePendingPoint(earned, marker)) return false;
    bool created = false;
    if (!EnsureSolvedMarker(kPlayerDataRoot, a.sizeClass, a.gridIndex, a.puzzleIndex, &created)) {
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

bool SaveDirtyState(PuzzleProgress* progress) {
    Board* board = progress ? progress->board : nullptr;
    if (!board) return true;
    const PuzzleAddress& a = progress->address;
    bool ok = true;
    if (progress->cellsDirty) {
        // The check runs first so the saved cells include the X marks of a solve.
        const bool recorded = CheckAndRecordSolved(progress);
        const bool saved =
            SaveCells(kPlayerDataRoot, a.sizeClass, a.gridIndex, a.puzzleIndex, board);
        if (recorded && saved) {
            progress->cellsDirty = 0;
        } else {
            ok = false;
        }
    }
    if (progress->marksDirty) {
        if (SaveMarks(kPlayerDataRoot, a.sizeClass, a.gridIndex, a.puzzleIndex, board)) {
            progress->marksDirty = 0;
        } else {
            ok = false;
        }
    }
    return ok;
}

bool ClearPuzzleProgress(PuzzleProgress* progress) {
    Board* board = progress ? progress->board : nullptr;
    if (!board) return true;
    ResetBoard(board);
    // Nothing of the old state is left to save: the files go instead.
    progress->cellsDirty = 0;
    progress->marksDirty = 0;
    const PuzzleAddress& a = progress->address;
    return DeleteBoardState(kPlayerDataRoot, a.sizeClass, a.gridIndex, a.puzzleIndex);
}

void ClosePuzzleProgress(PuzzleProgress* progress) {
    if (!progress || !progress->board) return;
    SaveDirtyState(progress);
    ReleaseBoard(progress->board);
    std::free(progress->board);
    progress->board = nullptr;
    progress->cellsDirty = 0;
    progress->marksDirty = 0;
}
