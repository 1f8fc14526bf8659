// The screen flow: each pass turns keys and gestures into what the current
// screen does with them, and answers to dialogs into their effects. Screens
// say what lies under a point (their hit tests against the last frame drawn);
// this file decides what follows.
#include <algorithm>
#include <cstdlib>

#include "app/app.h"
#include "board/board.h"
#include "board/board_tools.h"
#include "platform/s3e.h"
#include "puzzles/progress.h"
#include "services/ads.h"
#include "services/dialogs.h"
#include "services/links.h"
#include "storage/settings.h"
#include "ui/board_screen.h"
#include "ui/board_view.h"
#include "ui/look.h"
#include "ui/main_menu.h"
#include "ui/puzzle_list.h"
#include "ui/size_list.h"

namespace {

constexpr int32_t kDesktopSimulator = 3;
// A list moves once the finger is this far above or below the press.
constexpr int32_t kListScrollGate = 10;

// The puzzle whose "Clear all?" box is open: an answer that arrives once
// another puzzle is open, or none, must not clear anything.
bool clearAllAsked = false;
PuzzleAddress clearAllAsker = {0, 0, 0};

bool Pressed(int32_t key) {
    return (s3eKeyboardGetState(key) & S3E_KEY_STATE_PRESSED) != 0;
}
bool Released(int32_t key) {
    return (s3eKeyboardGetState(key) & S3E_KEY_STATE_RELEASED) != 0;
}
bool Down(int32_t key) {
    return (s3eKeyboardGetState(key) & S3E_KEY_STATE_DOWN) != 0;
}

void AskClearAll(const BoardScreen* board) {
    if (!board->progress.board) return;
    clearAllAsked = true;
    clearAllAsker = board->progress.address;
    ShowDialog(kDialogClearBoard);
}

bool SameAddress(const PuzzleAddress& a, const PuzzleAddress& b) {
    return a.sizeClass == b.sizeClass && a.gridIndex == b.gridIndex &&
           a.puzzleIndex == b.puzzleIndex;
}

void TapMainMenu(const MainMenuScreen* menu, int32_t x, int32_t y) {
    const MainMenuHit hit = HitMainMenu(menu, x, y);
    switch (hit.target) {
        case kMenuRate:
            rate_redirected = 1;
            WriteSettings();
            OpenLink(kLinkRate);
            break;
        case kMenuHelp:
            OpenLink(kLinkHelp);
            break;
        case kMenuCorner:
            // On the desktop simulator the corner is a fourth promotion tile.
            if (deviceOs == kDesktopSimulator) {
                OpenPromo(3);
            } else {
                ShowDialog(kDialogPaidEdition);
            }
            break;
        case kMenuSizeClass:
            SetPendingAction(1, hit.index);
            break;
        case kMenuThemes:
            ShowDialog(kDialogTheme);
            break;
        case kMenuPromo:
            OpenPromo(hit.index);
            break;
        case kMenuNone:
            break;
    }
}

// Folds the drag in progress into the list's scroll when the release counts
// as a drag; a tap release drops it, so a tap never scrolls.
template <typename List>
void EndListDrag(List* list, bool keep) {
    if (keep) list->scrollOffset += list->dragOffset;
    list->dragOffset = 0;
}

// The list follows the finger, measured from the press, within its limits.
template <typename List>
bool DragList(List* list, int32_t pressY, int32_t y) {
    if (std::abs(pressY - y) < kListScrollGate || list->maxScroll < 1) return false;
    const int32_t offset =
        std::clamp(pressY - y, -list->scrollOffset, list->maxScroll - list->scrollOffset);
    if (offset == list->dragOffset) return false;
    list->dragOffset = offset;
    return true;
}

}  // namespace

void App::HandleDialogResult(int32_t id, int32_t button) {
    switch (id) {
        case kDialogQuit:
            if (button == 0) quitRequested = 1;
            break;
        case kDialogClearBoard: {
            const bool asker = clearAllAsked && screen == kScreenBoard && board->progress.board &&
                               SameAddress(clearAllAsker, board->progress.address);
            clearAllAsked = false;
            if (button == 0 && asker) board->ClearAll();
            break;
        }
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

void App::UpdateFrame() {
    // Back keys: Escape and Backspace when pressed, the device's Back key
    // when released.
    if (Pressed(s3eKeyEsc) || Released(s3eKeyBack) || Pressed(s3eKeyBackspace)) {
        switch (screen) {
            case kScreenMainMenu:
                ShowDialog(kDialogQuit);
                break;
            case kScreenSizeList:
                SetPendingAction(4);
                RunPendingAction();
                break;
            case kScreenPuzzleList:
                SetPendingAction(5);
                RunPendingAction();
                break;
            case kScreenBoard:
                if (board->legendShown) {
                    board->legendShown = 0;
                } else {
                    SetPendingAction(6);
                    RunPendingAction();
                }
                break;
            default:
                break;
        }
        RenderFrame();
        return;
    }

    if (deviceOs == kDesktopSimulator) {
        const bool control = Down(s3eKeyLeftControl) || Down(s3eKeyRightControl);
        if (screen == kScreenBoard && control && Pressed(s3eKeyZ)) {
            UndoStep(board);
            RenderFrame();
            return;
        }
        if (screen == kScreenBoard && Pressed(s3eKeyDelete)) {
            // As a release would: what an undo changed, and a point still
            // waiting for the points file, are saved before the box opens.
            board->SaveDirtyState();
            AskClearAll(board);
            return;
        }
        if (Pressed(s3eKeyF1)) {
            OpenLink(kLinkHelp);
            return;
        }
    }

    const bool onBoard = screen == kScreenBoard;
    const Gesture g = gestures.Next(ReadPointerSample(), onBoard);
    switch (g.kind) {
        case kGestureTap:
        case kGestureDrag: {
            const bool tap = g.kind == kGestureTap;
            switch (screen) {
                case kScreenMainMenu:
                    TapMainMenu(mainMenu, g.x, g.y);
                    break;
                // A tap hits the list as the player saw it, drag offset
                // included; then the offset goes, since a tap never scrolls.
                case kScreenSizeList:
                    if (tap) {
                        const ListHit hit = HitSizeList(sizeList, g.x, g.y);
                        if (hit.target == kListBack) SetPendingAction(4);
                        if (hit.target == kListEntry)
                            SetPendingAction(2, sizeList->sizeClass, hit.index);
                    }
                    EndListDrag(sizeList, !tap);
                    break;
                case kScreenPuzzleList:
                    if (tap) {
                        const ListHit hit = HitPuzzleList(puzzleList, g.x, g.y);
                        if (hit.target == kListBack) SetPendingAction(5);
                        if (hit.target == kListEntry)
                            SetPendingAction(3, puzzleList->sizeClass, puzzleList->gridIndex,
                                             hit.index);
                    }
                    EndListDrag(puzzleList, !tap);
                    break;
                case kScreenBoard:
                    if (tap) {
                        const BoardTapOutcome outcome = TapBoard(board, g.x, g.y);
                        if (outcome == kTapBack) SetPendingAction(6);
                        if (outcome == kTapClearAll) AskClearAll(board);
                    }
                    board->SaveDirtyState();
                    break;
                default:
                    break;
            }
            RunPendingAction();
            RenderFrame();
            return;
        }
        case kGestureReleaseEnd:
            // Whatever was painted before the second finger came down is kept.
            if (onBoard) board->SaveDirtyState();
            return;
        case kGesturePinchStep:
            if (PinchZoom(board, g.moves[0], g.moves[1], g.moves[2], g.moves[3], g.direction)) {
                redrawRequested = 1;
            }
            return;
        case kGesturePress:
        case kGestureHold:
            break;
        default:
            return;
    }

    // The pointer is down. The main menu acts on releases only.
    if (screen == kScreenMainMenu) return;
    if (onBoard && PressPaint(board, g.x, g.y)) RenderFrame();
    if (g.kind == kGesturePress) return;

    const int32_t pressY = gestures.pressPoint[1];
    if (screen == kScreenSizeList) {
        if (DragList(sizeList, pressY, g.y)) RenderFrame();
    } else if (screen == kScreenPuzzleList) {
        if (DragList(puzzleList, pressY, g.y)) RenderFrame();
    } else if (onBoard) {
        // One finger pans once it has travelled as far as a drag: a small
        // wobble of a tap never moves the board.
        if (!gestures.TravelledFromPress(g.x, g.y)) return;
        if (InToolbarStrip(board, gestures.lastPoint[0], gestures.lastPoint[1])) {
            gestures.lastPoint[0] = g.x;
            gestures.lastPoint[1] = g.y;
            return;
        }
        if (PanBy(board, g.x - gestures.lastPoint[0], g.y - gestures.lastPoint[1])) {
            gestures.lastPoint[0] = g.x;
            gestures.lastPoint[1] = g.y;
            RenderFrame();
        }
    }
}
