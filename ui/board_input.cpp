// The board's input: toolbar taps, painting, clue marks, undo, pan and pinch
// zoom, and what the pointer's passes do on the board. Geometry comes from the
// board screen's last frame (its hit tests), so what is touched is what was
// drawn.
#include "ui/board_input.h"

#include <algorithm>
#include <cmath>

#include "board/board.h"
#include "ui/board_screen.h"
#include "ui/board_view.h"
#include "ui/look.h"
#include "ui/segment_cells.h"

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

// The painting rule for one cell: Drawing and Set X only fill empty cells; a
// filled cell must be erased before it can become an X, and the other way round.
bool PaintCell(BoardScreen* screen, int32_t row, int32_t col) {
    Board* board = screen->progress.board;
    const uint8_t old = board->cells[row * kBoardMaxSide + col];
    const uint8_t code = screen->activeTool;
    if (old == code || (code != CellEmpty && old != CellEmpty)) return false;
    if (!SetCell(board, row, col, code)) return false;
    screen->progress.cellsDirty = 1;
    return true;
}

// Zooms to cells of `cell` pixels, whole pixels between the fitted size and
// kMaxZoomCellSize, keeping the point of the board under (cx, cy) under it
// and the fitted board covered. The view must not be empty. True when the
// view changed.
bool ZoomTo(BoardScreen* screen, int64_t cell, int64_t cx, int64_t cy);

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
    // In Scale & Move a finger that meant to move the board paints nothing.
    if (inBand || screen->moveScaleMode) return kTapNothing;
    PaintAt(screen, x, y);
    return kTapNothing;
}

bool PressPaint(BoardScreen* screen, int32_t x, int32_t y, bool startsStroke) {
    const int32_t fromX = startsStroke ? x : screen->strokePoint[0];
    const int32_t fromY = startsStroke ? y : screen->strokePoint[1];
    screen->strokePoint[0] = x;
    screen->strokePoint[1] = y;
    if (screen->moveScaleMode || !Playable(screen)) return false;
    return PaintSegment(screen, fromX, fromY, x, y);
}

bool PaintSegment(BoardScreen* screen, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const Board* board = screen->progress.board;
    const float cell = screen->cellSize;
    if (!board || screen->legendShown || !(cell > 0.0f)) return false;
    const ScreenRect& v = screen->viewRect;
    // The grid's corner as the frame drew it, in single precision.
    const double gx0 = static_cast<float>(v.x) + static_cast<float>(board->maxRowClues) * cell;
    const double gy0 = static_cast<float>(v.y) + static_cast<float>(board->maxColClues) * cell;
    // What the frame showed of the grid: right of a pinned row band, below a
    // pinned column band, within the view and short of the toolbar strip.
    const ClueBandPins pins = PinClueBands(screen);
    double left = pins.left ? pins.leftRight : -INFINITY,
           top = pins.top ? pins.topBottom : -INFINITY;
    double right = static_cast<double>(v.x) + v.w, bottom = static_cast<double>(v.y) + v.h;
    if (screen->layout.toolbarAtRight) {
        right = std::min<double>(right, surfaceSize.width - screen->layout.toolbarSize);
    } else {
        bottom = std::min<double>(bottom, surfaceSize.height - screen->layout.toolbarSize);
    }
    const CellWindow window{(left - gx0) / cell, (top - gy0) / cell, (right - gx0) / cell,
                            (bottom - gy0) / cell};
    GridCell cells[2 * kBoardMaxSide + 2];
    const int32_t n =
        SegmentCells((x0 - gx0) / cell, (y0 - gy0) / cell, (x1 - gx0) / cell, (y1 - gy0) / cell,
                     board->rows, board->cols, window, cells, 2 * kBoardMaxSide + 2);
    bool changed = false;
    for (int32_t i = 0; i < n; ++i) {
        if (PaintCell(screen, cells[i].row, cells[i].col)) changed = true;
    }
    return changed;
}

bool PaintAt(BoardScreen* screen, int32_t x, int32_t y) {
    if (!screen->progress.board || screen->legendShown || InToolbarStrip(screen, x, y))
        return false;
    int32_t row = 0, col = 0;
    if (!CellAt(screen, x, y, &row, &col)) return false;
    return PaintCell(screen, row, col);
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
    const ScreenRect view = screen->viewRect;
    if (totalCols <= 0 || totalRows <= 0 || view.w <= 0 || view.h <= 0) return false;

    const int64_t sizeFromX = (static_cast<int64_t>(view.w) - leftDx + rightDx) / totalCols;
    const int64_t sizeFromY = (static_cast<int64_t>(view.h) - topDy + bottomDy) / totalRows;
    const int64_t cell =
        direction < 0 ? std::min(sizeFromX, sizeFromY) : std::max(sizeFromX, sizeFromY);
    // The point of the board under the surface centre stays under it.
    return ZoomTo(screen, cell, surfaceSize.width / 2, surfaceSize.height / 2);
}

bool WheelZoom(BoardScreen* screen, int32_t steps, int32_t x, int32_t y) {
    if (steps == 0 || !Playable(screen)) return false;
    const Board* board = screen->progress.board;
    const int64_t totalCols = static_cast<int64_t>(board->maxRowClues) + board->cols;
    const int64_t totalRows = static_cast<int64_t>(board->maxColClues) + board->rows;
    if (totalCols <= 0 || totalRows <= 0 || screen->viewRect.w <= 0 || screen->viewRect.h <= 0)
        return false;
    const int64_t cell = screen->viewRect.w / totalCols;
    int64_t next = std::llround(static_cast<double>(cell) * std::exp2(steps / 1000.0));
    // A small step still moves by a pixel, or slow turns would never zoom.
    if (next == cell) next += steps > 0 ? 1 : -1;
    return ZoomTo(screen, next, x, y);
}

namespace {

bool ZoomTo(BoardScreen* screen, int64_t cell, int64_t cx, int64_t cy) {
    const Board* board = screen->progress.board;
    const int64_t totalCols = static_cast<int64_t>(board->maxRowClues) + board->cols;
    const int64_t totalRows = static_cast<int64_t>(board->maxColClues) + board->rows;
    const ScreenRect view = screen->viewRect, fit = screen->layout.fitRect;
    const int64_t fitCell = std::max<int64_t>(screen->layout.fitCellSize, 1);
    cell = std::max(cell, fitCell);
    cell = std::min(cell, std::max<int64_t>(kMaxZoomCellSize, fitCell));
    int64_t newW = cell * totalCols, newH = cell * totalRows;

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

}  // namespace

BoardTapOutcome ReleaseOnBoard(BoardScreen* screen, int32_t x, int32_t y, bool tap) {
    // A pan that came back near its start still ends as a pan.
    const BoardTapOutcome outcome = tap && !screen->panning ? TapBoard(screen, x, y) : kTapNothing;
    screen->panning = 0;
    screen->SaveDirtyState();
    return outcome;
}

bool PointerDownOnBoard(BoardScreen* screen, int32_t x, int32_t y, bool pressed, bool travelled,
                        int32_t last[2]) {
    if (pressed) screen->panning = 0;
    const bool painted = PressPaint(screen, x, y, pressed);
    // One finger pans once it has travelled as far as a drag: a small wobble
    // of a tap never moves the board. From then on a Scale & Move pan follows
    // the finger, back near its start too.
    if (pressed || (!screen->panning && !travelled)) return painted;
    if (screen->moveScaleMode && Playable(screen)) screen->panning = 1;
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
