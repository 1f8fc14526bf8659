// Interstitial ads and cross-promotion, as the frame calls them.
#pragma once

#include <cstdint>

void StartAds();
void StopAds();
void StartPromoRotator();
// Asks the ad service to have an interstitial ready.
void PrepareInterstitial();
// Shows an interstitial if one may be shown now; true when the wish is handled.
bool ShowInterstitial();
// How often PrepareInterstitial ran in this process (diagnostics and tests).
int32_t InterstitialPrepareCount();
// Opens the store page of the app in promotion slot 0..3.
void OpenPromo(int32_t slot);
