// The interstitial state machine over the two ad extensions, and the frame's
// ad requests. AdMob ads are prepared ahead and shown when loaded; ChartBoost
// is asked only when AdMob has none ready.
#include "services/ads.h"

#include "platform/s3e.h"
#include "platform/s3e_ext.h"
#include "services/config.h"
#include "services/device.h"
#include "services/promo.h"

namespace {

// admobState values.
enum : int32_t {
    kAdBusy = 0,        // a request or a show is under way
    kAdNotStarted = 1,  //
    kAdIdle = 2,        // no ad held
    kAdReady = 3,       // an ad is loaded
    kAdFailed = 4,      // the last request failed
};

constexpr uint64_t kMinInterval = 60000;  // ms between interstitials
constexpr uint64_t kRetryDelay = 500;     // ms between requests after a failure
constexpr int32_t kChartBoostPlacement = 2;

struct Ads {
    bool admobAvailable = false;
    bool chartboostAvailable = false;
    int32_t admobState = kAdNotStarted;
    s3eGoogleAdMobId admobAd = 0;
    bool hasAd = false;
    uint64_t minInterval = kMinInterval;
    // The clock starts at 0, so a time of 0 cannot mean "never".
    bool shownBefore = false;
    uint64_t lastShown = 0;
    uint64_t lastRetry = 0;
    s3eGoogleAdMobTable admob{};
    s3eChartBoostTable chartboost{};
};

Ads g_ads;
bool g_prepareRequested = false;
bool g_interstitialRequested = false;

void DestroyAd() {
    if (g_ads.hasAd) g_ads.admob.DestroyAd(g_ads.admobAd);
    g_ads.hasAd = false;
    g_ads.admobAd = 0;
}

// Events about an ad the game no longer holds are old news.
bool AboutOurAd(void* systemData) {
    const auto* event = static_cast<const s3eGoogleAdMobEvent*>(systemData);
    return g_ads.hasAd && (!event || event->ad == g_ads.admobAd);
}

int32_t OnAdLoaded(void* systemData, void*) {
    if (AboutOurAd(systemData)) g_ads.admobState = kAdReady;
    return 0;
}

int32_t OnAdClosed(void* systemData, void*) {
    if (!AboutOurAd(systemData)) return 0;
    DestroyAd();
    g_ads.admobState = kAdIdle;
    return 0;
}

int32_t OnAdFailed(void* systemData, void*) {
    if (!AboutOurAd(systemData)) return 0;
    DestroyAd();
    g_ads.admobState = kAdFailed;
    return 0;
}

int32_t OnChartBoostEvent(void*, void*) {
    return 0;
}

void RequestAd() {
    g_ads.admobState = kAdBusy;
    if (g_ads.admob.PrepareAd(&g_ads.admobAd) != S3E_RESULT_SUCCESS) {
        g_ads.admobState = kAdFailed;
        return;
    }
    g_ads.hasAd = true;
    uint8_t loaded = 0;
    g_ads.admob.QueryAd(g_ads.admobAd, &loaded);
    if (g_ads.admob.LoadAd(g_ads.admobAd) != S3E_RESULT_SUCCESS) {
        DestroyAd();
        g_ads.admobState = kAdFailed;
    }
}

}  // namespace

void StartAds() {
    g_ads = Ads();
    const config::AdIdentifiers* ids = config::AdIdentifiersFor(device.os);
    if (!ids) return;
    // Either service may be missing; that only turns its part off.
    s3eChartBoostTable& cb = g_ads.chartboost;
    g_ads.chartboostAvailable = s3eExtLookup(S3E_EXT_CHARTBOOST_ID, &cb) && cb.Register &&
                                cb.SetAppID && cb.SetAppSignature && cb.StartSession &&
                                cb.Location && cb.ShowInterstitial;
    s3eGoogleAdMobTable& am = g_ads.admob;
    g_ads.admobAvailable = s3eExtLookup(S3E_EXT_GOOGLEADMOB_ID, &am) && am.Register &&
                           am.SetAdUnit && am.PrepareAd && am.QueryAd && am.LoadAd && am.ShowAd &&
                           am.DestroyAd;
    if (g_ads.admobAvailable) {
        am.Register(S3E_GOOGLEADMOB_CALLBACK_AD_LOADED, &OnAdLoaded, nullptr);
        am.Register(S3E_GOOGLEADMOB_CALLBACK_AD_CLOSED, &OnAdClosed, nullptr);
        am.Register(S3E_GOOGLEADMOB_CALLBACK_AD_FAILED, &OnAdFailed, nullptr);
        am.SetAdUnit(ids->adMobUnit, 1);
        g_ads.admobState = kAdIdle;
    }
    if (g_ads.chartboostAvailable) {
        // The game acts on none of ChartBoost's events.
        static const int32_t kKinds[] = {0, 1, 2, 3, 5};
        for (int32_t kind : kKinds)
            cb.Register(kind, &OnChartBoostEvent, nullptr);
        cb.SetAppID(ids->chartBoostAppId);
        cb.SetAppSignature(ids->chartBoostSignature);
        cb.StartSession();
    }
}

void StopAds() {
    StopPromoRotator();
    if (g_ads.admobAvailable) DestroyAd();
    g_ads = Ads();
    g_prepareRequested = false;
    g_interstitialRequested = false;
}

void PrepareInterstitial() {
    if (!g_ads.admobAvailable) return;
    if (g_ads.admobState == kAdIdle) {
        RequestAd();
    } else if (g_ads.admobState == kAdFailed) {
        const uint64_t now = s3eTimerGetMs();
        if (now - g_ads.lastRetry > kRetryDelay) {
            g_ads.lastRetry = now;
            RequestAd();
        }
    }
}

bool ShowInterstitial() {
    const uint64_t now = s3eTimerGetMs();
    // Too soon after the last one: the wish is dropped, not kept for later.
    if (g_ads.shownBefore && now - g_ads.lastShown < g_ads.minInterval) return true;
    if (g_ads.admobAvailable && g_ads.admobState == kAdReady) {
        g_ads.admobState = kAdBusy;
        if (g_ads.admob.ShowAd(g_ads.admobAd) == S3E_RESULT_SUCCESS) {
            g_ads.shownBefore = true;
            g_ads.lastShown = now;
            return true;
        }
        // The ad went stale: drop it and let the next prepare ask again.
        DestroyAd();
        g_ads.admobState = kAdFailed;
    }
    if (g_ads.chartboostAvailable) {
        g_ads.chartboost.ShowInterstitial(g_ads.chartboost.Location(kChartBoostPlacement));
        g_ads.shownBefore = true;
        g_ads.lastShown = now;
        return true;
    }
    return false;
}

void RequestInterstitialPrepare() {
    g_prepareRequested = true;
}

void RequestInterstitial() {
    g_interstitialRequested = true;
}

void RunAdRequests() {
    if (g_prepareRequested) {
        PrepareInterstitial();
        g_prepareRequested = false;
    }
    if (g_interstitialRequested && ShowInterstitial()) g_interstitialRequested = false;
}
