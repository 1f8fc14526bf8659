// Opening, saving, solving, clearing and closing the open puzzle's progress.
#include "puzzles/progress.h"

#include <cstdlib>

#include "platform/s3e.h"
#include "puzzles/board_state.h"
#include "puzzles/puzzle_file.h"
#include "storage/settings.h"

bool OpenPuzzleProgress(PuzzleProgress* progress, PuzzleAddress address) {
    if (!progress) return false;
    ClosePuzzleProgress(progress);
    Board* fresh = static_cast<Board*>(std::calloc(1, sizeof(Board)));
    if (!fresh) return false;
    if (!LoadPuzzle(address, fresh)) {
        std::free(fresh);
        return false;
    }
    progress->address = address;
    progress->board = fresh;
    progress->cellsDirty = 0;
    progress->marksDirty = 0;
    ResetBoard(fresh);
    ReadBoardState(kPlayerDataRoot, address, fresh);
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
    if (!BuildStateFilePath(kPlayerDataRoot, a, SolvedMarker, marker)) {
        return false;
    }
    // Noted before the marker exists, so that a run dying between the marker and
    // the points file still gets the point at the next start, and only once. The
    // note also carries every point earned before it, so it never drops an
    // earlier solve's point that is still waiting for the points file.
    if (!FileIsThere(marker) && !NotePendingPoint(earned, marker)) return false;
    bool created = false;
    if (!EnsureSolvedMarker(kPlayerDataRoot, a, &created)) {
        return false;
    }
    if (created) EarnPoints(earned);
    return SaveEarnedPoints();
}

bool SaveDirtyState(PuzzleProgress* progress) {
    Board* board = progress ? progress->board : nullptr;
    if (!board) return true;
    const PuzzleAddress& a = progress->address;
    bool ok = SaveEarnedPoints();
    if (progress->cellsDirty) {
        // The check runs first so the saved cells include the X marks of a solve.
        const bool recorded = CheckAndRecordSolved(progress);
        const bool saved = SaveCells(kPlayerDataRoot, a, board);
        if (recorded && saved) {
            progress->cellsDirty = 0;
        } else {
            ok = false;
        }
    }
    if (progress->marksDirty) {
        if (SaveMarks(kPlayerDataRoot, a, board)) {
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
    // The solved marker vouches for a point still on its way to the points
    // file; it stays until that point no longer depends on it.
    const bool keepMarker = !SettlePendingPoint();
    const bool deleted = DeleteBoardState(kPlayerDataRoot, a, keepMarker);
    return deleted && !keepMarker;
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
