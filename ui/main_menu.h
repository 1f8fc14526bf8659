// The data of the main menu: one tile per size class, the signs and the
// promotion tiles, with the rectangles the last frame laid out.
#pragma once

#include <cstdint>

#include "ui/screen_rect.h"

constexpr int kSizeClassLabelMax = 33;  // up to 32 bytes and the terminating zero

struct SizeClassTile {
    char label[kSizeClassLabelMax];
    ScreenRect rect;
};

// Zero-filled when created; the entries are made once at start-up.
struct MainMenuScreen {
    SizeClassTile* sizeClassTiles;  // owned (std::calloc / std::free)
    int32_t sizeClassCount;
    ScreenRect themesSign;
    ScreenRect rateSign;     // (-1, -1, -1, -1) while hidden
    ScreenRect promoCorner;  // bottom-left promotion tile
    ScreenRect helpSign;
    ScreenRect promoTiles[3];
    int32_t metrics[17];
};

// Lays the menu out for this frame's surface size, draws it and keeps the
// rectangles that the menu's taps are tested against.
void DrawMainMenu(MainMenuScreen* menu);
