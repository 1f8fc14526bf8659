// The application object, the frame flags through which handlers talk to the
// main loop, and the device facts read once at start-up.
#pragma once

#include <cstdint>

#include "app/gestures.h"

struct MainMenuScreen;
struct SizeListScreen;
struct PuzzleListScreen;
struct BoardScreen;

// Frame flags: set by handlers outside the loop, acted on by the loop.
extern uint8_t redrawRequested;
extern uint8_t quitRequested;
extern uint8_t surfaceChanged;

// Device facts, read once at start-up.
extern int32_t deviceLanguage;  // 16: Russian texts
extern int32_t deviceOs;        // 3 desktop simulator, 14 iOS, 18 Android

// The screen change a tap asks for, run right after the release is handled.
// Codes: 1 open a size class's list (class), 2 open a grid size's puzzle list
// (class, grid), 3 open a puzzle (class, grid, puzzle), 4 size list back to the
// main menu, 5 puzzle list back to the size list, 6 board back to the puzzle
// list. Any other code means nothing is pending (0 at start, -1 after a run).
struct PendingAction {
    int32_t code;
    int32_t args[3];
};
extern PendingAction pendingAction;
void SetPendingAction(int32_t code, int32_t a0 = 0, int32_t a1 = 0, int32_t a2 = 0);

enum ScreenId : int32_t {
    kScreenMainMenu = 1,
    kScreenSizeList = 2,
    kScreenPuzzleList = 3,
    kScreenBoard = 4,
};

struct App {
    int32_t screen;  // ScreenId; -1 once torn down

    // The four screens, owned.
    MainMenuScreen* mainMenu;
    SizeListScreen* sizeList;
    PuzzleListScreen* puzzleList;
    BoardScreen* board;

    // Presses, drags, taps and pinches as the pointer's passes make them.
    GestureTracker gestures;

    // Draws the current screen and shows the surface.
    void RenderFrame();
    // One pass of input dispatch.
    void UpdateFrame();
    // Performs the pending screen change, if any, and clears it.
    void RunPendingAction();
    // A native dialog was answered (button 0 is its first button).
    void HandleDialogResult(int32_t id, int32_t button);
    // Goes straight to the screen the host named in its configuration
    // ("nonogram"/"StartScreen" and "StartPuzzle"), as the player would get
    // there by taps; for screenshots and tests. Does nothing without one.
    void EnterStartScreen();
};

// The one application object while the game runs; handlers reach it only here.
extern App* g_app;

// Makes the App with its screens and images (zero-filled, main menu current).
App* CreateApp();
// Saves what the open board still holds, then releases everything the App owns.
void DestroyApp(App* app);

// Registered for surface events 1 and 2: asks the loop for a full redraw.
int32_t OnSurfaceChanged(void* systemData, void* userData);
