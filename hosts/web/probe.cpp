// A test module for the browser host, in place of the game: it binds the
// services like the game, counts its starts in a file it saves the game's way
// (Documents/probe/starts, replaced through a temporary file), asks one
// dialog with Russian texts in Windows-1251, and runs the game's loop shape,
// printing what it sees of the keys and touches and drawing the surface in a
// colour that tells whether the first touch is down. Backspace opens a web
// address (a script address is refused at start). Answering the dialog's
// first button ends it.
#include <GLES2/gl2.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "platform/binding.h"
#include "platform/s3e.h"
#include "platform/s3e_ext.h"
#include "storage/file_replace.h"

namespace {

const char kStarts[] = "Documents/probe/starts";
bool quit = false;
bool redraw = false;

void Say(const char* format, int a, int b = 0, int c = 0) {
    char line[128];
    std::snprintf(line, sizeof line, format, a, b, c);
    s3eDebugOutputString(line);
}

int32_t ReadStarts() {
    char text[16] = {};
    s3eFile* f = s3eFileOpen(kStarts, "rb");
    if (!f) return 0;
    s3eFileRead(text, 1, sizeof text - 1, f);
    s3eFileClose(f);
    int32_t n = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p)
        n = n * 10 + (*p - '0');
    return n;
}

int32_t OnAnswer(void* system, void*) {
    const auto* answer = static_cast<const DialogAnswer*>(system);
    Say("probe answer %d %d", answer->id, answer->button);
    if (answer->button == 0) quit = true;
    return 0;
}

int32_t OnSurface(void*, void*) {
    Say("probe surface %dx%d", s3eSurfaceGetInt(S3E_SURFACE_WIDTH),
        s3eSurfaceGetInt(S3E_SURFACE_HEIGHT));
    redraw = true;
    return 0;
}

void Draw() {
    const bool touched = s3ePointerGetTouchState(0) != 0;
    glViewport(0, 0, s3eSurfaceGetInt(S3E_SURFACE_WIDTH), s3eSurfaceGetInt(S3E_SURFACE_HEIGHT));
    // Green while the first touch is down, else blue.
    glClearColor(0.0f, touched ? 1.0f : 0.0f, touched ? 0.0f : 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    s3eSurfaceShow(1);
}

}  // namespace

int AppMain(int, char**) {
    s3eFileMakeDirectory("Documents/probe");
    const int32_t starts = ReadStarts() + 1;
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%d\n", starts);
    Say("probe starts %d saved %d", starts,
        ReplaceFile(kStarts, text, static_cast<uint32_t>(length)) ? 1 : 0);
    Say("probe device os=%d language=%d", s3eDeviceGetInt(S3E_DEVICE_OS),
        s3eDeviceGetInt(S3E_DEVICE_LANGUAGE));
    char screen[S3E_CONFIG_STRING_MAX], puzzle[S3E_CONFIG_STRING_MAX];
    if (s3eConfigGetString("nonogram", "StartScreen", screen) == S3E_RESULT_SUCCESS &&
        s3eConfigGetString("nonogram", "StartPuzzle", puzzle) == S3E_RESULT_SUCCESS) {
        char line[2 * S3E_CONFIG_STRING_MAX + 32];
        std::snprintf(line, sizeof line, "probe start %s %s", screen, puzzle);
        s3eDebugOutputString(line);
    }

    s3eDialogTable dialogs;
    s3eOSExecTable links;
    const bool haveDialogs = s3eExtLookup(S3E_EXT_DIALOG_ID, &dialogs);
    s3eGoogleAdMobTable adMob;
    Say("probe extensions dialog=%d osexec=%d admob=%d", haveDialogs,
        s3eExtLookup(S3E_EXT_OSEXEC_ID, &links), s3eExtLookup(S3E_EXT_GOOGLEADMOB_ID, &adMob));
    const bool haveLinks = links.ExecuteURL != nullptr;
    if (haveLinks) {
        Say("probe script link %d", links.ExecuteURL("javascript:alert(1)", S3E_FALSE));
    }
    s3eSurfaceRegister(S3E_SURFACE_SCREENSIZE, &OnSurface, nullptr);
    if (haveDialogs) {
        dialogs.Register(S3E_DIALOG_CALLBACK_ANSWER, &OnAnswer, nullptr);
        // "Выйти?" / "Да" / "Нет" in Windows-1251.
        DialogRequest request{"\xC2\xFB\xE9\xF2\xE8?", "Probe", "\xC4\xE0",
                              "\xCD\xE5\xF2",          nullptr, 7};
        dialogs.AlertShow(&request);
    }
    Draw();
    int32_t lastTouch = 0;
    while (!quit && !s3eDeviceCheckQuitRequest()) {
        s3eKeyboardUpdate();
        s3ePointerUpdate();
        for (int32_t key : {s3eKeyEsc, s3eKeyBackspace, s3eKeyBack}) {
            if (int32_t state = s3eKeyboardGetState(key)) Say("probe key %d state %d", key, state);
        }
        if (haveLinks && (s3eKeyboardGetState(s3eKeyBackspace) & S3E_KEY_STATE_PRESSED)) {
            Say("probe web link %d", links.ExecuteURL("https://example.org/", S3E_FALSE));
        }
        if (int32_t state = s3ePointerGetState(0)) {
            if (state != S3E_POINTER_STATE_DOWN) {
                Say("probe pointer state %d at %d %d", state, s3ePointerGetX(), s3ePointerGetY());
            }
        }
        const int32_t touch = s3ePointerGetTouchState(0) | s3ePointerGetTouchState(1) << 1;
        if (touch != lastTouch) Say("probe touches %d", touch);
        if (touch != lastTouch || redraw) Draw();
        lastTouch = touch;
        redraw = false;
        s3eDeviceYieldUntilEvent(0x7FFFFFFF);
    }
    if (haveDialogs) dialogs.UnRegister(S3E_DIALOG_CALLBACK_ANSWER, &OnAnswer);
    s3eSurfaceUnRegister(S3E_SURFACE_SCREENSIZE, &OnSurface);
    s3eDeviceSetInt(S3E_DEVICE_EXIT_CODE, 0);
    return 0;
}
