// The screen flow: each pass turns keys and gestures into calls on the current
// screen, which handles them against the last frame it drew, and answers to
// dialogs into their effects. What a screen's gesture asks beyond the screen
// itself comes back here as a pending screen change.
#include <algorithm>

#include "app/app.h"
#include "platform/s3e.h"
#include "services/device.h"
#include "services/dialogs.h"
#include "services/links.h"
#include "services/promo.h"
#include "storage/settings.h"
#include "ui/board_input.h"
#include "ui/board_screen.h"
#include "ui/look.h"
#include "ui/main_menu.h"
#include "ui/puzzle_list.h"
#include "ui/size_list.h"

namespace {

bool Pressed(int32_t key) {
    return (s3eKeyboardGetState(key) & S3E_KEY_STATE_PRESSED) != 0;
}
bool Released(int32_t key) {
    return (s3eKeyboardGetState(key) & S3E_KEY_STATE_RELEASED) != 0;
}
bool Down(int32_t key) {
    return (s3eKeyboardGetState(key) & S3E_KEY_STATE_DOWN) != 0;
}

// Zoom per pixel of a wheel's scroll on the board, in thousandths of a
// doubling: a notch of 100 pixels is an eighth of a doubling.
constexpr int32_t kBoardZoomPerScroll100 = 125;

// The wheel scrolls the lists and zooms the board about the pointer; true
// when the screen changed.
bool WheelTurned(App& app, const PointerSample& s) {
    switch (app.screen) {
        case kScreenSizeList:
            return ScrollListView(app.sizeList, s.wheelScroll);
        case kScreenPuzzleList:
            return ScrollListView(app.puzzleList, s.wheelScroll);
        case kScreenBoard: {
            const int64_t zoom = static_cast<int64_t>(s.wheelZoom) -
                                 static_cast<int64_t>(s.wheelScroll) * kBoardZoomPerScroll100 / 100;
            return WheelZoom(
                app.board, static_cast<int32_t>(std::clamp<int64_t>(zoom, -4000, 4000)), s.x, s.y);
        }
        default:
            return false;
    }
}

}  // namespace

void App::HandleDialogResult(int32_t id, int32_t button) {
    switch (id) {
        case kDialogQuit:
            if (button == 0) quitRequested = 1;
            break;
        case kDialogClearBoard:
            board->AnswerClearAll(button == 0 && screen == kScreenBoard);
            break;
        case kDialogTheme:
            if (button >= 0 && button <= 2) color_schema = static_cast<uint8_t>(button);
            WriteSettings();
            ApplyColorSchema(color_schema);
            break;
        case kDialogPaidEdition:
            if (button == 0) OpenLink(kLinkPaidEdition);
            break;
        default:
            break;
    }
    redrawRequested = 1;
}

void App::GoBack() {
    switch (screen) {
        case kScreenMainMenu:
            ShowDialog(kDialogQuit);
            break;
        case kScreenSizeList:
            SetPendingAction(kActionBackToMainMenu);
            RunPendingAction();
            break;
        case kScreenPuzzleList:
            SetPendingAction(kActionBackToSizeList);
            RunPendingAction();
            break;
        case kScreenBoard:
            if (board->legendShown) {
                board->legendShown = 0;
            } else {
                SetPendingAction(kActionBackToPuzzleList);
                RunPendingAction();
            }
            break;
        default:
            break;
    }
}

void App::RouteRelease(int32_t x, int32_t y, bool tap) {
    switch (screen) {
        case kScreenMainMenu: {
            // Every release on the main menu is a tap, however far it travelled.
            const MainMenuHit hit = TapMainMenu(mainMenu, x, y);
            if (hit.target == kMenuSizeClass) SetPendingAction(kActionOpenSizeList, hit.index);
            break;
        }
        case kScreenSizeList: {
            const ListHit hit = ReleaseOnListView(sizeList, false, tap, x, y);
            if (hit.target == kListBack) SetPendingAction(kActionBackToMainMenu);
            if (hit.target == kListEntry)
                SetPendingAction(kActionOpenPuzzleList, sizeList->sizeClass, hit.index);
            break;
        }
        case kScreenPuzzleList: {
            const ListHit hit = ReleaseOnListView(puzzleList, true, tap, x, y);
            if (hit.target == kListBack) SetPendingAction(kActionBackToSizeList);
            if (hit.target == kListEntry)
                SetPendingAction(kActionOpenBoard, puzzleList->sizeClass, puzzleList->gridIndex,
                                 hit.index);
            break;
        }
        case kScreenBoard: {
            const BoardTapOutcome outcome = ReleaseOnBoard(board, x, y, tap);
            if (outcome == kTapBack) SetPendingAction(kActionBackToPuzzleList);
            if (outcome == kTapClearAll) board->AskClearAll();
            break;
        }
        default:
            break;
    }
    RunPendingAction();
}

bool App::RoutePointerDown(const Gesture& g) {
    const bool pressed = g.kind == kGesturePress;
    const int32_t pressY = gestures.pressPoint[1];
    switch (screen) {
        case kScreenSizeList:
            return !pressed && DragListView(sizeList, pressY, g.y);
        case kScreenPuzzleList:
            return !pressed && DragListView(puzzleList, pressY, g.y);
        case kScreenBoard:
            return PointerDownOnBoard(board, g.x, g.y, pressed,
                                      !pressed && gestures.TravelledFromPress(g.x, g.y),
                                      gestures.lastPoint);
        default:
            // The main menu acts on releases only.
            return false;
    }
}

bool App::UpdateFrame() {
    // Back keys: Escape and Backspace when pressed, the device's Back key
    // when released.
    if (Pressed(s3eKeyEsc) || Released(s3eKeyBack) || Pressed(s3eKeyBackspace)) {
        GoBack();
        return true;
    }

    if (device.DesktopSimulator()) {
        const bool control = Down(s3eKeyLeftControl) || Down(s3eKeyRightControl);
        if (screen == kScreenBoard && control && Pressed(s3eKeyZ)) {
            UndoStep(board);
            return true;
        }
        if (screen == kScreenBoard && Pressed(s3eKeyDelete)) {
            // As a release would: what an undo changed, and a point still
            // waiting for the points file, are saved before the box opens.
            board->SaveDirtyState();
            board->AskClearAll();
            return false;
        }
        if (Pressed(s3eKeyF1)) {
            OpenLink(kLinkHelp);
            return false;
        }
    }

    const bool onBoard = screen == kScreenBoard;
    const PointerSample sample = ReadPointerSample();
    const bool wheeled =
        (sample.wheelScroll != 0 || sample.wheelZoom != 0) && WheelTurned(*this, sample);
    return RouteGesture(gestures.Next(sample, onBoard)) || wheeled;
}

bool App::RouteGesture(const Gesture& g) {
    const bool onBoard = screen == kScreenBoard;
    switch (g.kind) {
        case kGestureTap:
        case kGestureDrag:
            RouteRelease(g.x, g.y, g.kind == kGestureTap);
            return true;
        case kGestureReleaseEnd:
            // Whatever was painted before the second finger came down is kept.
            if (onBoard) {
                board->panning = 0;
                board->SaveDirtyState();
            }
            return false;
        case kGesturePinchStep:
            // A zoom is drawn as a requested redraw, like a change of surface.
            if (PinchZoom(board, g.moves[0], g.moves[1], g.moves[2], g.moves[3], g.direction)) {
                redrawRequested = 1;
            }
            return false;
        case kGesturePress:
        case kGestureHold:
            return RoutePointerDown(g);
        default:
            return false;
    }
}
