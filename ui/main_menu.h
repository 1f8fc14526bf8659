// The main menu: one tile per size class on a framed panel, three signs on
// posts (Themes, Help, Rate) and the promotion row along the bottom edge.
#pragma once

#include <cstdint>

#include "ui/screen_rect.h"

constexpr int kSizeClassLabelMax = 33;  // up to 32 bytes and the terminating zero
constexpr int32_t kMenuTileCount = 5;   // one per size class

struct SizeClassTile {
    char label[kSizeClassLabelMax];
    ScreenRect rect;
};

// The seventeen layout integers; they start from fixed values every frame and
// shrink by 10/11 in two groups until the menu fits.
struct MenuMetrics {
    // Tiles group.
    int32_t marginX;    // left and right margin of the panel
    int32_t marginTop;  // top margin of the panel
    int32_t tileGapX;
    int32_t tileGapY;
    int32_t panelPadX;  // between the frame and the outer tiles
    int32_t panelPadY;  // between the frame and the tile rows
    int32_t tileW;
    int32_t tileH;
    int32_t frame;  // the panel's frame; never below 2
    // Signs group.
    int32_t signW;
    int32_t signH;
    int32_t signGap;  // room between signs, in the width test only
    int32_t postBelow;
    int32_t postAbove;
    int32_t postW;
    int32_t signBottom;  // between the lower post ends and the promotion row
    int32_t spare;       // shrinks with its group, read nowhere
};

// Zero-filled when created; the tiles' labels are made once at start-up.
struct MainMenuScreen {
    SizeClassTile* sizeClassTiles;  // owned (std::calloc / std::free)
    int32_t sizeClassCount;
    ScreenRect themesSign;
    ScreenRect rateSign;     // (-1, -1, -1, -1) while hidden
    ScreenRect promoCorner;  // bottom-left promotion tile; (0, 0, -1, -1) until laid out
    ScreenRect helpSign;
    ScreenRect promoTiles[3];  // (-1, -1, -1, -1) while not shown
    MenuMetrics metrics;
};

// The main menu as laid out for one surface size.
struct MainMenuLayout {
    MenuMetrics metrics;  // after shrinking and sharing out the spare room
    bool portrait;        // W <= H: tiles in rows of two, else of three
    int32_t avail;        // height above the promotion row, H - 105
    int32_t promoGap;     // d, the gap beside the middle of the row (three tiles shown)
    ScreenRect panel;     // the frame's outer rectangle; the green face is it shrunk by frame
    ScreenRect tiles[kMenuTileCount];
    ScreenRect themesSign, helpSign, rateSign;  // rateSign (-1, -1, -1, -1) when hidden
    ScreenRect posts[3];                        // the posts of Themes, Help and Rate
    ScreenRect promoCorner;
    ScreenRect promoTiles[3];
};

// Whether the Rate sign shows: the player has not used it yet, has solved at
// least five puzzles, and, on the desktop simulator (S3E_OS_ID_DESKTOP) only, the
// host's debug switch s3eDebugGetInt(0) is on.
bool RateSignShown(int32_t rateRedirected, int32_t points, int32_t deviceOs, int32_t debugSwitch);

// Pure arithmetic on the surface size. A surface too small for the smallest
// metrics ends the shrinking once nothing can fall further.
MainMenuLayout LayoutMainMenu(int32_t width, int32_t height, bool rateShown);

// Lays the menu out for this frame's surface size, draws it and keeps the
// rectangles that the menu's taps are tested against. A surface without
// pixels draws nothing and leaves every rectangle hidden.
void DrawMainMenu(MainMenuScreen* menu);

// What a tap hits, in the order the menu tests them: Rate, Help, the corner
// tile, a size-class tile (index = size class; right and bottom edges
// outside), Themes, then promotion tiles 0, 1, 2 (index = tile). Signs and
// promotion tiles count all four edges as inside. A hidden rectangle is
// never hit.
enum MainMenuTarget : int32_t {
    kMenuNone = 0,
    kMenuRate,
    kMenuHelp,
    kMenuCorner,
    kMenuSizeClass,
    kMenuThemes,
    kMenuPromo
};
struct MainMenuHit {
    MainMenuTarget target;
    int32_t index;
};
MainMenuHit HitMainMenu(const MainMenuScreen* menu, int32_t x, int32_t y);
// A release on the main menu (every release is a tap there): Rate, Help, the
// corner tile, Themes and the promotion tiles act at once; a size-class tile
// is left to the screen flow, which opens its list. What was hit.
MainMenuHit TapMainMenu(const MainMenuScreen* menu, int32_t x, int32_t y);
