// The application object and the frame flags through which handlers talk to
// the main loop.
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

// The screen change a tap asks for, run right after the release is handled.
// Any other code means nothing is pending (kActionNone at start, kActionDone
// after a run).
enum PendingCode : int32_t {
    kActionDone = -1,
    kActionNone = 0,
    kActionOpenSizeList = 1,      // a size class's list (class)
    kActionOpenPuzzleList = 2,    // a grid size's puzzle list (class, grid)
    kActionOpenBoard = 3,         // a puzzle (class, grid, puzzle)
    kActionBackToMainMenu = 4,    // from the size list
    kActionBackToSizeList = 5,    // from the puzzle list
    kActionBackToPuzzleList = 6,  // from the board
};
struct PendingAction {
    int32_t code;  // PendingCode
    int32_t args[3];
};
extern PendingAction pendingAction;
void SetPendingAction(PendingCode code, int32_t a0 = 0, int32_t a1 = 0, int32_t a2 = 0);

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
    // One pass of input dispatch: keys and the pass's gesture are routed to
    // the current screen. True when what the pass did must be drawn.
    bool UpdateFrame();
    // Performs the pending screen change, if any, and clears it.
    void RunPendingAction();
    // The back keys: the current screen's way back ("Quit?" on the main menu;
    // on the board the legend goes first).
    void GoBack();
    // A tap or drag release at (x, y), handed to the current screen; then the
    // screen change it asked for runs.
    void RouteRelease(int32_t x, int32_t y, bool tap);
    // The pass's gesture, handed to the current screen. True when the screen
    // must be drawn.
    bool RouteGesture(const Gesture& g);
    // A pass with the pointer down (its press or a hold), handed to the
    // current screen. True when the screen must be drawn.
    bool RoutePointerDown(const Gesture& g);
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
