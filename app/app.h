// The application object, the frame flags through which handlers talk to the
// main loop, and the device facts read once at start-up.
#pragma once

#include <cstdint>

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

enum ScreenId : int32_t {
    kScreenMainMenu = 1,
    kScreenSizeList = 2,
    kScreenPuzzleList = 3,
    kScreenBoard = 4,
};

struct App {
    int32_t screen;         // ScreenId; -1 once torn down
    int32_t dragThreshold;  // pointer travel (pixels) from which a release is a drag

    // The four screens, owned.
    MainMenuScreen* mainMenu;
    SizeListScreen* sizeList;
    PuzzleListScreen* puzzleList;
    BoardScreen* board;

    // Gesture state of the input dispatch.
    int32_t pointerHeld;
    int32_t pressPoint[2];
    int32_t lastPoint[2];
    int32_t pinchPoints[4];
    bool pinchTouch0Left;
    bool pinchTouch0Top;
    bool pinchActive;
    bool swallowRelease;

    // Draws the current screen and shows the surface.
    void RenderFrame();
    // One pass of input dispatch.
    void UpdateFrame();
    // Acts on the answer to dialog id (button 0 is the first button).
    void HandleDialogResult(int32_t id, int32_t button);
};

// The one application object while the game runs; handlers reach it only here.
extern App* g_app;

// Makes the App with its screens and images (zero-filled, main menu current).
App* CreateApp();
// Saves what the open board still holds, then releases everything the App owns.
void DestroyApp(App* app);

// Registered for surface events 1 and 2: asks the loop for a full redraw.
int32_t OnSurfaceChanged(void* systemData, void* userData);
