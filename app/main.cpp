// The application's main function: start-up in its fixed order, the
// event-driven main loop, and shut-down in reverse.
#include <cstdlib>

#include "app/app.h"
#include "platform/binding.h"
#include "platform/iw2d.h"
#include "platform/s3e.h"
#include "services/ads.h"

namespace {

void StartUp() {
    interstitialRequested = 0;
    interstitialPrepareRequested = 1;

    InitDrawing();
    IwGxInit();
    IwResManagerInit();

    deviceLanguage = s3eDeviceGetInt(S3E_DEVICE_LANGUAGE);
    deviceOs = s3eDeviceGetInt(S3E_DEVICE_OS);

    StartPromoRotator();

    g_app = static_cast<App*>(std::calloc(1, sizeof(App)));
    g_app->screen = kScreenMainMenu;
    g_app->pointerHeld = 0;
    g_app->pinchActive = false;
    g_app->dragThreshold = 20;

    g_app->RenderFrame();
    StartAds();
    redrawRequested = 1;
    quitRequested = 0;

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
        g_app->UpdateFrame();
        if (redrawRequested || surfaceChanged) {
            g_app->RenderFrame();
            g_app->RenderFrame();
            redrawRequested = 0;
            surfaceChanged = 0;
        }
        if (interstitialPrepareRequested) {
            PrepareInterstitial();
            interstitialPrepareRequested = 0;
        }
        if (interstitialRequested && ShowInterstitial()) interstitialRequested = 0;
        s3eDeviceYieldUntilEvent(0x7FFFFFFF);
        if (s3eDeviceCheckQuitRequest()) break;
    }
}

void ShutDown() {
    s3eSurfaceUnRegister(S3E_SURFACE_SCREENSIZE_2, &OnSurfaceChanged);
    s3eSurfaceUnRegister(S3E_SURFACE_SCREENSIZE, &OnSurfaceChanged);

    g_app->screen = -1;
    std::free(g_app);
    g_app = nullptr;

    StopAds();

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
