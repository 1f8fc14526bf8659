// A stand-in game module for testing the desktop host under a virtual
// display: on Escape it asks "Quit?" through the game's own dialog service,
// waits for the answer between passes as the game's loop does, opens the help
// link, and ends with 10 + the pressed button (9 when the box was closed
// without one, 2 when the host quit first).
#include "platform/binding.h"
#include "platform/s3e.h"
#include "services/device.h"
#include "services/dialogs.h"
#include "services/links.h"

namespace {

constexpr int32_t kNoAnswer = -100;
int32_t g_button = kNoAnswer;

void OnAnswer(int32_t id, int32_t button) {
    if (id == kDialogQuit) g_button = button;
}

}  // namespace

int AppMain(int, char**) {
    ReadDeviceFacts();
    StartDialogs(&OnAnswer);
    while (g_button == kNoAnswer && !s3eDeviceCheckQuitRequest()) {
        s3eKeyboardUpdate();
        if (s3eKeyboardGetState(s3eKeyEsc) & S3E_KEY_STATE_PRESSED) ShowDialog(kDialogQuit);
        s3eDeviceYieldUntilEvent(0x7FFFFFFF);
    }
    StopDialogs();
    if (g_button == kNoAnswer) return 2;
    OpenLink(kLinkHelp);
    StopLinks();
    return 10 + g_button;
}
