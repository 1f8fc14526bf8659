// The App and its screens: making and tearing them down, drawing a frame of the
// current screen, and the per-pass input dispatch.
#include "app/app.h"

#include <cstdlib>

#include "board/board.h"
#include "platform/iw2d.h"
#include "puzzles/catalogue.h"
#include "puzzles/lists.h"
#include "ui/board_screen.h"
#include "ui/images.h"
#include "ui/list_screens.h"
#include "ui/look.h"
#include "ui/main_menu.h"

uint8_t redrawRequested = 0;
uint8_t quitRequested = 0;
uint8_t surfaceChanged = 0;
int32_t deviceLanguage = 0;
int32_t deviceOs = 0;
App* g_app = nullptr;

namespace {

template <typename T>
T* NewZeroed() {
    return static_cast<T*>(std::calloc(1, sizeof(T)));
}

}  // namespace

App* CreateApp() {
    App* app = NewZeroed<App>();
    LoadImageSet();
    app->mainMenu = NewZeroed<MainMenuScreen>();
    app->sizeList = NewZeroed<SizeListScreen>();
    app->puzzleList = NewZeroed<PuzzleListScreen>();
    app->board = NewZeroed<BoardScreen>();

    const int32_t classes = GetSizeClassCount();
    app->mainMenu->sizeClassTiles = static_cast<SizeClassTile*>(
        std::calloc(static_cast<size_t>(classes), sizeof(SizeClassTile)));
    app->mainMenu->sizeClassCount = classes;
    for (int32_t i = 0; i < classes; ++i) {
        GetSizeClassName(i, app->mainMenu->sizeClassTiles[i].label);
    }

    app->screen = kScreenMainMenu;
    app->pointerHeld = 0;
    app->pinchActive = false;
    app->dragThreshold = 20;
    return app;
}

void DestroyApp(App* app) {
    if (!app) return;
    app->screen = -1;
    BoardScreen* board = app->board;
    if (board->board) {
        // Whatever the last release changed must not be lost with the board.
        board->SaveDirtyState();
        ReleaseBoard(board->board);
        std::free(board->board);
        board->board = nullptr;
    }
    ReleasePuzzleList(app->puzzleList);
    ReleaseSizeList(app->sizeList);
    std::free(app->mainMenu->sizeClassTiles);
    ReleaseImageSet();
    std::free(app->mainMenu);
    std::free(app->sizeList);
    std::free(app->puzzleList);
    std::free(app->board);
    std::free(app);
}

void App::RenderFrame() {
    ReadSurfaceSize();
    switch (screen) {
        // Stand-in until the screens are built: each clears to the theme's background.
        case kScreenMainMenu:
        case kScreenSizeList:
        case kScreenPuzzleList:
        case kScreenBoard:
            ClearSurface(palette.background);
            break;
        default:
            break;
    }
    ShowSurface();
}

void App::UpdateFrame() {
    // Input dispatch arrives with the screens; nothing reacts to input yet.
}

void App::HandleDialogResult(int32_t, int32_t) {
    // The flow acts on the answers; until it does, every answer only redraws.
    redrawRequested = 1;
}

int32_t OnSurfaceChanged(void*, void*) {
    redrawRequested = 1;
    surfaceChanged = 1;
    return 0;
}
