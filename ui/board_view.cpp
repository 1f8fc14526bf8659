// The board screen's layout and drawing.
#include "ui/board_view.h"

#include "platform/iw2d.h"
#include "ui/look.h"

void DrawBoardScreen(BoardScreen* screen, bool surfaceChanged) {
    (void)screen;
    (void)surfaceChanged;
    ClearSurface(palette.background);
}
