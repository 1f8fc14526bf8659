// What a touch does on the board screen: choosing tools on the toolbar,
// painting cells, crossing clues out, undo, and zoom and pan in Scale & Move
// mode. Every rectangle and the cell geometry come from the last frame drawn.
// The screen flow routes the board's gestures here.
#pragma once

#include <cstdint>

struct BoardScreen;

// The largest cell a pinch can zoom to, in pixels: far beyond any finger's
// need, and small enough that a board of 180 cells a side stays well inside
// 32-bit coordinates.
constexpr int32_t kMaxZoomCellSize = 512;

// What a tap asks of the screen flow beyond the board itself.
enum BoardTapOutcome : int32_t {
    kTapNothing = 0,  // nothing else to do (the board or tools may have changed)
    kTapBack,         // the back button: leave for the puzzle list
    kTapClearAll,     // the Clear All button: ask "Clear all?"
};

// A tap release on the board: the legend swallows it, else the toolbar
// buttons (edges excluded), else a clue mark toggles, else a cell is painted,
// except in Scale & Move mode, where a tap on a cell changes nothing.
BoardTapOutcome TapBoard(BoardScreen* screen, int32_t x, int32_t y);
// A release on the board, a tap or the end of a drag: a tap goes to TapBoard;
// either way what changed is verified and saved.
BoardTapOutcome ReleaseOnBoard(BoardScreen* screen, int32_t x, int32_t y, bool tap);
// One pass with the pointer down at (x, y): paints (PressPaint); after the
// first pass (`pressed` false), once the pointer has travelled as far as a
// drag, pans by its movement since last[] (x, y of the last handled position,
// which follows a pan and a move inside the toolbar strip). True when the
// screen must be drawn.
bool PointerDownOnBoard(BoardScreen* screen, int32_t x, int32_t y, bool pressed, bool travelled,
                        int32_t last[2]);
// Every pass while the pointer is down: paints every cell on the way from
// where the last pass of the stroke was to (x, y), so a fast swipe leaves no
// gaps; the pass that starts a stroke paints the cell under it. Nothing is
// painted in Scale & Move mode or once solved. True when a cell changed.
bool PressPaint(BoardScreen* screen, int32_t x, int32_t y, bool startsStroke);
// Paints, by the painting rule, every grid cell that the last frame showed on
// the segment between two points: none under the toolbar strip or a pinned
// clue band, none while the legend is shown. True when a cell changed.
bool PaintSegment(BoardScreen* screen, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
// The painting rule: Drawing and Set X write only into empty cells, Erase
// empties any; never under the legend or in the toolbar strip. True when a
// cell changed.
bool PaintAt(BoardScreen* screen, int32_t x, int32_t y);
// Takes the last cell change back, unless solved.
void UndoStep(BoardScreen* screen);
// Moves the zoomed board by (dx, dy) in Scale & Move mode, always covering
// the fitted board. True when it moved.
bool PanBy(BoardScreen* screen, int32_t dx, int32_t dy);
// One pinch step: the four finger movements (already six times) and the
// direction, +1 spreading, -1 closing. Cell sizes stay whole pixels between
// the fitted size and kMaxZoomCellSize, zooming about the surface centre.
// True when the view changed.
bool PinchZoom(BoardScreen* screen, int32_t leftDx, int32_t rightDx, int32_t topDy,
               int32_t bottomDy, int32_t direction);
// A mouse wheel's or touchpad's zoom, in any mode: cells grow by 2^(steps /
// 1000), by a pixel at least, within the same limits as a pinch, about the
// point (x, y). True when the view changed.
bool WheelZoom(BoardScreen* screen, int32_t steps, int32_t x, int32_t y);
