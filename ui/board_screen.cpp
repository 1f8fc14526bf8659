// The board screen's puzzle: opening and closing it, the view's part in
// saving and solving (the progress itself lives in puzzles/progress), and
// the "Clear all?" question.
#include "ui/board_screen.h"

#include "draw2d/iw2d.h"
#include "services/dialogs.h"
#include "ui/board_view.h"

bool BoardScreen::OpenPuzzle(const PuzzleAddress& at) {
    if (!OpenPuzzleProgress(&progress, at)) {
        return false;
    }
    activeTool = CellFilled;
    moveScaleMode = 0;
    legendShown = 0;
    // Taps before the first frame already meet the fitted board.
    layout =
        LayoutBoardScreen(GetSurfaceWidth(), GetSurfaceHeight(), progress.board, legendShown != 0);
    viewRect = layout.fitRect;
    cellSize = ViewCellSize(viewRect, progress.board);
    return true;
}

void BoardScreen::ClosePuzzle() {
    ClosePuzzleProgress(&progress);
}

bool BoardScreen::CheckAndRecordSolved() {
    const bool ok = ::CheckAndRecordSolved(&progress);
    if (progress.board && progress.board->solved) viewRect = layout.fitRect;
    return ok;
}

bool BoardScreen::SaveDirtyState() {
    const bool wasSolved = progress.board && progress.board->solved;
    const bool ok = ::SaveDirtyState(&progress);
    if (progress.board && progress.board->solved && !wasSolved) viewRect = layout.fitRect;
    return ok;
}

bool BoardScreen::ClearAll() {
    return ClearPuzzleProgress(&progress);
}

void BoardScreen::AskClearAll() {
    if (!progress.board) return;
    clearAllAsked = true;
    clearAllAsker = progress.address;
    ShowDialog(kDialogClearBoard);
}

void BoardScreen::AnswerClearAll(bool confirmed) {
    const PuzzleAddress& a = clearAllAsker;
    const PuzzleAddress& open = progress.address;
    const bool asker = clearAllAsked && progress.board && a.sizeClass == open.sizeClass &&
                       a.gridIndex == open.gridIndex && a.puzzleIndex == open.puzzleIndex;
    clearAllAsked = false;
    if (confirmed && asker) ClearAll();
}
