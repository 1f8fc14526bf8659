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

    g_app->RenderFrame();
    StartAds();
    redrawRequested = 1;
    quitRequested = 0;

    StartDialogs(&OnDialogAnswered);
    s3eSurfaceRegister(S3E_SURFACE_SCREENSIZE, &OnSurfaceChanged, nullptr);
    s3eSurfaceRegister(S3E_SURFACE_SCREENSIZE_2, &OnSurfaceChanged, nullptr);
    g_app->RenderFrame();
}

void MainLoop() {
    if (s3eDeviceCheckQuitRequest()) return;
    for (;;) {
        if (quitRequested) break;
        s3eKeyboardUpdate();
        s3ePointerUpdate();
        // What the pass changed is drawn once. A redraw asked from outside
        // the pass (a dialog answered, the surface resized or turned, a pinch
        // step) is drawn and shown twice more, so that both buffers of a
        // double-buffered surface hold the new picture and no stale frame can
        // come back on a host that shows the other buffer.
        int32_t frames = g_app->UpdateFrame() ? 1 : 0;
        if (redrawRequested || surfaceChanged) frames += kRedrawFrames;
        for (int32_t i = 0; i < frames; ++i)
            g_app->RenderFrame();
        redrawRequested = 0;
        surfaceChanged = 0;
        RunAdRequests();
        s3eDeviceYieldUntilEvent(0x7FFFFFFF);
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
