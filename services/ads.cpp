// Stand-in for the ad services until they are built: no interstitial is ever
// prepared or shown and no promotion tile is chosen; every wish counts as
// handled so the frame does not ask again on every pass.
#include "services/ads.h"

namespace {
int32_t g_prepareCount = 0;
}

void StartAds() {}
void StopAds() {}
void StartPromoRotator() {}
void PrepareInterstitial() {
    ++g_prepareCount;
}
bool ShowInterstitial() {
    return true;
}
int32_t InterstitialPrepareCount() {
    return g_prepareCount;
}
