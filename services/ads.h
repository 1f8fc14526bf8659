// Interstitial ads, as the frame calls them. They come from the host's
// s3eGoogleAdMob extension when it has an ad loaded, else from s3eChartBoost,
// at most once a minute; only iOS and Android have identifiers, so on other
// systems nothing starts. The promotion tiles have their own header (promo.h).
#pragma once

// Starts the ad services; at start-up, after the first frame is drawn.
void StartAds();
// At shut-down: releases the promotion slots and their images, and forgets
// every ad request and the ad services.
void StopAds();
// Asks AdMob for an interstitial to have ready (again 500 ms after a failure).
void PrepareInterstitial();
// Shows an interstitial if one may be shown now. True when the wish is
// handled: shown, or dropped because one was shown less than a minute ago.
bool ShowInterstitial();

// The frame's ad requests: set by the flow (leaving a board or the size list
// asks for a prepare, opening a puzzle for an interstitial) and acted on by
// the main loop once a pass, after drawing.
void RequestInterstitialPrepare();
void RequestInterstitial();
// Runs PrepareInterstitial once if asked; ShowInterstitial while an
// interstitial is wished, until it reports the wish handled.
void RunAdRequests();
