// The board screen as drawn: the layout beside the toolbar, the clue bands,
// cells, grid, clue numbers and marks, the toolbar and the legend.
#pragma once

#include "ui/board_screen.h"

// Lays the board screen out for this frame's surface size and draws it. After
// a change of the surface's size the view goes back to the fitted board.
void DrawBoardScreen(BoardScreen* screen, bool surfaceChanged);
