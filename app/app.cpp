// Drawing a frame of the current screen, and the per-pass input dispatch.
#include "app/app.h"

#include "platform/iw2d.h"

uint8_t redrawRequested = 0;
uint8_t quitRequested = 0;
uint8_t surfaceChanged = 0;
uint8_t interstitialPrepareRequested = 0;
uint8_t interstitialRequested = 0;
int32_t deviceLanguage = 0;
int32_t deviceOs = 0;
App* g_app = nullptr;

namespace {

// Stand-in until the screens are built: each clears to the Light background.
constexpr uint32_t kLightBackground = 0xFFF1F0ECu;

}  // namespace

void App::RenderFrame() {
    const int32_t width = GetSurfaceWidth();
    const int32_t height = GetSurfaceHeight();
    (void)width;
    (void)height;
    switch (screen) {
        case kScreenMainMenu:
        case kScreenSizeList:
        case kScreenPuzzleList:
        case kScreenBoard:
            ClearSurface(kLightBackground);
            break;
        default:
            break;
    }
    ShowSurface();
}

void App::UpdateFrame() {
    // Input dispatch arrives with the screens; nothing reacts to input yet.
}

int32_t OnSurfaceChanged(void*, void*) {
    redrawRequested = 1;
    surfaceChanged = 1;
    return 0;
}
