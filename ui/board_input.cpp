// The board's input: toolbar taps, painting, clue marks, undo, pan and pinch
// zoom, and what the pointer's passes do on the board. Geometry comes from the
// board screen's last frame (its hit tests), so what is touched is what was
// drawn.
#include "ui/board_input.h"

#include <algorithm>

#include "board/board.h"
#include "ui/board_screen.h"
#include "ui/board_view.h"
#include "ui/look.h"

namespace {

bool Playable(const BoardScreen* screen) {
    const Board* board = screen->progress.board;
    return board && !board->solved;
}

// Keeps a board of size (w, h) at (*x, *y) covering the fitted board: its
// left and top edges never right of or below the fitted ones, its right and
// bottom edges never left of or above them.
void CoverFit(const ScreenRect& fit, int64_t w, int64_t h, int64_t* x, int64_t* y) {
    *x = std::min<int64_t>(*x, fit.x);
    *y = std::min<int64_t>(*y, fit.y);
    if (*x + w < static_cast<int64_t>(fit.x) + fit.w) *x = static_cast<int64_t>(fit.x) + fit.w - w;
    if (*y + h < static_cast<int64_t>(fit.y) + fit.h) *y = static_cast<int64_t>(fit.y) + fit.h - h;
}

}  // namespace

BoardTapOutcome TapBoard(BoardScreen* screen, int32_t x, int32_t y) {
    if (screen->legendShown) {
        screen->legendShown = 0;
        return kTapNothing;
    }
    switch (HitToolbar(screen, x, y)) {
        case kButtonBack:
            return kTapBack;
        case kButtonDraw:
            screen->activeTool = CellFilled;
            return kTapNothing;
        case kButtonErase:
            screen->activeTool = CellEmpty;
            return kTapNothing;
        case kButtonMoveScale:
            screen->moveScaleMode = screen->moveScaleMode ? 0 : 1;
            return kTapNothing;
        case kButtonCross:
            screen->activeTool = CellCross;
            return kTapNothing;
        case kButtonClearAll:
            return kTapClearAll;
        case kButtonUndo:
            UndoStep(screen);
            return kTapNothing;
        case kButtonLegend:
            screen->legendShown = 1;
            return kTapNothing;
        case kButtonNone:
            break;
    }
    if (!Playable(screen)) return kTapNothing;
    bool inBand = false, isRow = false;
    int32_t line = 0, clue = 0;
    if (ClueAt(screen, x, y, &inBand, &isRow, &line, &clue)) {
        if (ToggleClueMark(screen->progress.board, isRow, line, clue)) {
            screen->progress.marksDirty = 1;
        }
        return kTapNothing;
    }
    // An empty place of a clue band is not part of the grid: nothing happens.
    if (inBand) return kTapNothing;
    PaintAt(screen, x, y);
    return kTapNothing;
}

bool PressPaint(BoardScreen* screen, int32_t x, int32_t y) {
    if (screen->moveScaleMode || !Playable(screen)) return false;
    return PaintAt(screen, x, y);
}

bool PaintAt(BoardScreen* screen, int32_t x, int32_t y) {
    Board* board = screen->progress.board;
    if (!board || screen->legendShown || InToolbarStrip(screen, x, y)) return false;
    int32_t row = 0, col = 0;
    if (!CellAt(screen, x, y, &row, &col)) return false;
    const uint8_t old = board->cells[row * kBoardMaxSide + col];
    const uint8_t code = screen->activeTool;
    // Drawing and Set X only fill empty cells; a filled cell must be erased
    // before it can become an X, and the other way round.
    if (old == code || (code != CellEmpty && old != CellEmpty)) return false;
    if (!SetCell(board, row, col, code)) return false;
    screen->progress.cellsDirty = 1;
    return true;
}

void UndoStep(BoardScreen* screen) {
    Board* board = screen->progress.board;
    if (!Playable(screen) || !CanUndo(board)) return;
    if (UndoLast(board)) screen->progress.cellsDirty = 1;
}

bool PanBy(BoardScreen* screen, int32_t dx, int32_t dy) {
    if (!screen->moveScaleMode || !Playable(screen)) return false;
    const ScreenRect view = screen->viewRect;
    int64_t x = static_cast<int64_t>(view.x) + dx, y = static_cast<int64_t>(view.y) + dy;
    CoverFit(screen->layout.fitRect, view.w, view.h, &x, &y);
    if (x == view.x && y == view.y) return false;
    screen->viewRect.x = static_cast<int32_t>(x);
    screen->viewRect.y = static_cast<int32_t>(y);
    return true;
}

bool PinchZoom(BoardScreen* screen, int32_t leftDx, int32_t rightDx, int32_t topDy,
               int32_t bottomDy, int32_t direction) {
    if (!screen->moveScaleMode || !Playable(screen)) return false;
    const Board* board = screen->progress.board;
    const int64_t totalCols = static_cast<int64_t>(board->maxRowClues) + board->cols;
    const int64_t totalRows = static_cast<int64_t>(board->maxColClues) + board->rows;
    const ScreenRect view = screen->viewRect, fit = screen->layout.fitRect;
    if (totalCols <= 0 || totalRows <= 0 || view.w <= 0 || view.h <= 0) return false;

    const int64_t sizeFromX = (static_cast<int64_t>(view.w) - leftDx + rightDx) / totalCols;
    const int64_t sizeFromY = (static_cast<int64_t>(view.h) - topDy + bottomDy) / totalRows;
    int64_t cell = direction < 0 ? std::min(sizeFromX, sizeFromY) : std::max(sizeFromX, sizeFromY);
    const int64_t fitCell = std::max<int64_t>(screen->layout.fitCellSize, 1);
    cell = std::max(cell, fitCell);
    cell = std::min(cell, std::max<int64_t>(kMaxZoomCellSize, fitCell));
    int64_t newW = cell * totalCols, newH = cell * totalRows;

    // The point of the board under the surface centre stays under it.
    const int64_t cx = surfaceSize.width / 2, cy = surfaceSize.height / 2;
    int64_t x = cx - (cx - view.x) * newW / view.w;
    int64_t y = cy - (cy - view.y) * newH / view.h;
    newW = std::max<int64_t>(newW, fit.w);
    newH = std::max<int64_t>(newH, fit.h);
    CoverFit(fit, newW, newH, &x, &y);

    if (x == view.x && y == view.y && newW == view.w && newH == view.h &&
        static_cast<float>(cell) == screen->cellSize)
        return false;
    screen->viewRect = {static_cast<int32_t>(x), static_cast<int32_t>(y),
                        static_cast<int32_t>(newW), static_cast<int32_t>(newH)};
    screen->cellSize = static_cast<float>(cell);
    return true;
}

BoardTapOutcome ReleaseOnBoard(BoardScreen* screen, int32_t x, int32_t y, bool tap) {
    const BoardTapOutcome outcome = tap ? TapBoard(screen, x, y) : kTapNothing;
    screen->SaveDirtyState();
    return outcome;
}

bool PointerDownOnBoard(BoardScreen* screen, int32_t x, int32_t y, bool pressed, bool travelled,
                        int32_t last[2]) {
    const bool painted = PressPaint(screen, x, y);
    // One finger pans once it has travelled as far as a drag: a small wobble
    // of a tap never moves the board.
    if (pressed || !travelled) return painted;
    if (InToolbarStrip(screen, last[0], last[1])) {
        last[0] = x;
        last[1] = y;
        return painted;
    }
    if (!PanBy(screen, x - last[0], y - last[1])) return painted;
    last[0] = x;
    last[1] = y;
    return true;
}
