// The App and its screens: making and tearing them down, drawing a frame of the
// current screen, and the per-pass input dispatch.
#include "app/app.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/board.h"
#include "draw2d/iw2d.h"
#include "platform/s3e.h"
#include "puzzles/catalogue.h"
#include "puzzles/lists.h"
#include "services/ads.h"
#include "ui/board_screen.h"
#include "ui/board_view.h"
#include "ui/images.h"
#include "ui/list_screens.h"
#include "ui/look.h"
#include "ui/main_menu.h"
#include "ui/puzzle_list.h"
#include "ui/size_list.h"

uint8_t redrawRequested = 0;
uint8_t quitRequested = 0;
uint8_t surfaceChanged = 0;
App* g_app = nullptr;
PendingAction pendingAction = {kActionNone, {0, 0, 0}};

void SetPendingAction(PendingCode code, int32_t a0, int32_t a1, int32_t a2) {
    pendingAction.code = code;
    pendingAction.args[0] = a0;
    pendingAction.args[1] = a1;
    pendingAction.args[2] = a2;
}

namespace {

template <typename T>
T* NewZeroed() {
    return static_cast<T*>(std::calloc(1, sizeof(T)));
}

// Tells the host where the player is, as the place a new start of this
// session should begin at: a browser tab the phone reloads comes back to it.
// Only changes are told.
char told[64];
void ReportPlace(const App& app) {
    const char* name = "main";
    char puzzle[48] = "";
    if (app.screen == kScreenSizeList) {
        name = "sizes";
        std::snprintf(puzzle, sizeof puzzle, "%d", static_cast<int>(app.sizeList->sizeClass));
    } else if (app.screen == kScreenPuzzleList) {
        name = "puzzles";
        std::snprintf(puzzle, sizeof puzzle, "%d/%d", static_cast<int>(app.puzzleList->sizeClass),
                      static_cast<int>(app.puzzleList->gridIndex));
    } else if (app.screen == kScreenBoard) {
        name = "board";
        const PuzzleAddress& a = app.board->progress.address;
        std::snprintf(puzzle, sizeof puzzle, "%d/%d/%d", static_cast<int>(a.sizeClass),
                      static_cast<int>(a.gridIndex), static_cast<int>(a.puzzleIndex));
    }
    char place[64];
    std::snprintf(place, sizeof place, "%s %s", name, puzzle);
    if (std::strcmp(place, told) == 0) return;
    std::memcpy(told, place, sizeof told);
    s3eConfigSetString("nonogram", "StartScreen", name);
    s3eConfigSetString("nonogram", "StartPuzzle", puzzle);
}

}  // namespace

App* CreateApp() {
    App* app = NewZeroed<App>();
    told[0] = '\0';
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
    app->gestures.dragThreshold = 20;
    return app;
}

void DestroyApp(App* app) {
    if (!app) return;
    app->screen = -1;
    // Whatever the last release changed must not be lost with the board.
    app->board->ClosePuzzle();
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
        case kScreenMainMenu:
            DrawMainMenu(mainMenu);
            break;
        case kScreenSizeList:
            ClearSurface(palette.background);
            DrawSizeList(sizeList);
            break;
        case kScreenPuzzleList:
            ClearSurface(palette.background);
            DrawPuzzleList(puzzleList);
            break;
        case kScreenBoard:
            DrawBoardScreen(board, surfaceChanged != 0);
            break;
        default:
            break;
    }
    ShowSurface();
}

void App::RunPendingAction() {
    const PendingAction action = pendingAction;
    pendingAction.code = kActionDone;
    switch (action.code) {
        case kActionOpenSizeList:
            BuildSizeList(sizeList, action.args[0]);
            sizeList->layout.scroll.dragOffset = sizeList->layout.scroll.scrollOffset =
                sizeList->layout.scroll.maxScroll = 0;
            screen = kScreenSizeList;
            break;
        case kActionOpenPuzzleList:
            puzzleList->sizeClass = action.args[0];
            puzzleList->gridIndex = action.args[1];
            BuildPuzzleList(puzzleList);
            puzzleList->layout.scroll.dragOffset = puzzleList->layout.scroll.scrollOffset =
                puzzleList->layout.scroll.maxScroll = 0;
            screen = kScreenPuzzleList;
            break;
        case kActionOpenBoard:
            // A puzzle file that cannot be read leaves the player on the list.
            if (board->OpenPuzzle({action.args[0], action.args[1], action.args[2]})) {
                screen = kScreenBoard;
                RequestInterstitial();
            }
            break;
        case kActionBackToMainMenu:
            ReleaseSizeList(sizeList);
            screen = kScreenMainMenu;
            RequestInterstitialPrepare();
            break;
        case kActionBackToSizeList:
            ReleasePuzzleList(puzzleList);
            BuildSizeList(sizeList, sizeList->sizeClass);
            screen = kScreenSizeList;
            break;
        case kActionBackToPuzzleList:
            // Leaving must not lose what the last release could not save.
            board->ClosePuzzle();
            BuildPuzzleList(puzzleList);
            RequestInterstitialPrepare();
            screen = kScreenPuzzleList;
            break;
        default:
            break;
    }
    ReportPlace(*this);
}

void App::EnterStartScreen() {
    char name[S3E_CONFIG_STRING_MAX] = {0};
    char address[S3E_CONFIG_STRING_MAX] = {0};
    if (s3eConfigGetString("nonogram", "StartScreen", name) != S3E_RESULT_SUCCESS) return;
    s3eConfigGetString("nonogram", "StartPuzzle", address);
    int32_t parts[3] = {0, 0, 0};
    const char* p = address;
    for (int i = 0; i < 3 && *p; ++i) {
        int32_t v = 0;
        while (*p >= '0' && *p <= '9' && v < 100000)
            v = v * 10 + (*p++ - '0');
        parts[i] = v;
        if (*p == '/') ++p;
    }
    // The taps that lead from the main menu to each screen, and where each lands.
    struct Step {
        const char* screenName;
        PendingCode action;
        ScreenId lands;
    };
    const Step steps[] = {
        {"sizes", kActionOpenSizeList, kScreenSizeList},
        {"puzzles", kActionOpenPuzzleList, kScreenPuzzleList},
        {"board", kActionOpenBoard, kScreenBoard},
    };
    int32_t depth = 0;
    for (int32_t i = 0; i < 3; ++i) {
        if (std::strcmp(name, steps[i].screenName) == 0) depth = i + 1;
    }
    for (int32_t i = 0; i < depth; ++i) {
        SetPendingAction(steps[i].action, parts[0], parts[1], parts[2]);
        RunPendingAction();
        if (screen != steps[i].lands) break;  // a step failed: stay where it ended
    }
}

int32_t OnSurfaceChanged(void*, void*) {
    redrawRequested = 1;
    surfaceChanged = 1;
    return 0;
}
