// The application's main function: start-up in its fixed order, the
// event-driven main loop, and shut-down in reverse.
#include "app/app.h"
#include "draw2d/iw2d.h"
#include "platform/binding.h"
#include "platform/s3e.h"
#include "puzzles/board_state.h"
#include "services/ads.h"
#include "services/device.h"
#include "services/dialogs.h"
#include "services/links.h"
#include "services/promo.h"
#include "storage/settings.h"
#include "text/sdf_font.h"
#include "ui/look.h"

namespace {

// Frames drawn for a redraw asked from outside the pass.
constexpr int32_t kRedrawFrames = 2;

// The dialog extension's answers reach the App between passes.
void OnDialogAnswered(int32_t id, int32_t button) {
    if (g_app) g_app->HandleDialogResult(id, button);
}

void StartUp() {
    // The first pass prepares an interstitial; none is wished yet.
    RequestInterstitialPrepare();

    InitDrawing();
    IwGxInit();
    IwResManagerInit();

    CreateTechniques();
    g_font = CreateFont();
    // Without the font every text is missing; say so once, through the host.
    if (!LoadFont(g_font, "images/calibri_new.fnt")) {
        s3eDebugOutputString(
            "font images/calibri_new.fnt could not be loaded; no text will be drawn");
    }
    g_font->byteText = 0;

    // A player's folder that cannot hold the game's folders (a file in its
    // place, say) keeps nothing; the game still runs, and says so once.
    if (!PrepareStorage()) {
        s3eDebugOutputString("the player's folder cannot be prepared; nothing will be saved");
    }

    ReadDeviceFacts();

    rate_redirected = 0;
    ReadSettings();
    ApplyColorSchema(color_schema);
    ReadPoints();

    StartPromoRotator();

    g_app = CreateApp();
    g_app->EnterStartScreen();

    StartAds();
    // The first frames are the main loop's: drawn once a pass like any other.
    redrawRequested = 1;
    quitRequested = 0;

    StartDialogs(&OnDialogAnswered);
    s3eSurfaceRegister(S3E_SURFACE_SCREENSIZE, &OnSurfaceChanged, nullptr);
    s3eSurfaceRegister(S3E_SURFACE_SCREENSIZE_2, &OnSurfaceChanged, nullptr);
}

void MainLoop() {
    if (s3eDeviceCheckQuitRequest()) return;
    int32_t framesOwed = 0;
    for (;;) {
        if (quitRequested) break;
        s3eKeyboardUpdate();
        s3ePointerUpdate();
        // A pass draws at most one frame, so that every frame drawn is a
        // frame shown. What the pass changed is drawn once; a redraw asked
        // from outside the pass (start-up, a dialog answered, the surface
        // resized or turned, a pinch step) is drawn on this pass and the next,
        // so that both buffers of a double-buffered surface hold the new
        // picture and no stale frame can come back on a host that shows the
        // other buffer. A frame still owed makes the yield return at the
        // host's next frame instead of waiting for an event.
        const bool changed = g_app->UpdateFrame();
        if (redrawRequested || surfaceChanged) {
            framesOwed = kRedrawFrames;
        } else if (changed && framesOwed == 0) {
            framesOwed = 1;
        }
        if (framesOwed > 0) {
            g_app->RenderFrame();
            --framesOwed;
        }
        redrawRequested = 0;
        surfaceChanged = 0;
        RunAdRequests();
        s3eDeviceYieldUntilEvent(framesOwed > 0 ? 0 : 0x7FFFFFFF);
        if (s3eDeviceCheckQuitRequest()) break;
    }
}

void ShutDown() {
    StopDialogs();
    s3eSurfaceUnRegister(S3E_SURFACE_SCREENSIZE_2, &OnSurfaceChanged);
    s3eSurfaceUnRegister(S3E_SURFACE_SCREENSIZE, &OnSurfaceChanged);

    DestroyApp(g_app);
    g_app = nullptr;

    DestroyFont(g_font);
    g_font = nullptr;

    StopAds();
    StopLinks();

    TerminateDrawing();
    IwResManagerTerminate();
    IwGxTerminate();
}

}  // namespace

int AppMain(int, char**) {
    StartUp();
    MainLoop();
    ShutDown();
    return 0;
}
