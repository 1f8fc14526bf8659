// The values behind config.h. The store pages and the help site belong to the
// maker's accounts; the AdMob units are the ad service's published test units,
// which serve sample ads only, and the ChartBoost pair is a placeholder: a
// release build puts its own accounts' values here.
#include "services/config.h"

#include "platform/s3e.h"

namespace config {

#define NONOGRAM_PLAY "https://play.google.com/store/apps/details?id="
#define NONOGRAM_APPSTORE "https://apps.apple.com/"

const StorePages kGamePages = {
    NONOGRAM_PLAY "com.example.nonogram",
    NONOGRAM_APPSTORE "ru/app/id1000000002",
    NONOGRAM_APPSTORE "app/id1000000002",
};

const StorePages kPaidEditionPages = {
    NONOGRAM_PLAY "com.example.nonogram.premium",
    NONOGRAM_APPSTORE "ru/app/id1000000009",
    NONOGRAM_APPSTORE "app/id1000000009",
};

const char* const kHelpSite = "https://www.example.com";

const StorePages kPromoPages[kPromoRowCount] = {
    // 1 alder
    {NONOGRAM_PLAY "com.example.alder", NONOGRAM_APPSTORE "ru/app/id1000000001",
     NONOGRAM_APPSTORE "en/app/id1000000001"},
    // 2 birch: this game
    {NONOGRAM_PLAY "com.example.nonogram", NONOGRAM_APPSTORE "ru/app/id1000000002",
     NONOGRAM_APPSTORE "en/app/id1000000002"},
    // 3 cedar
    {NONOGRAM_PLAY "com.example.cedar", NONOGRAM_APPSTORE "ru/app/id1000000003",
     NONOGRAM_APPSTORE "en/app/id1000000003"},
    // 4 to 6: the maple apps of the Russian storefront
    {NONOGRAM_PLAY "com.example.maple1", NONOGRAM_APPSTORE "ru/app/id1000000004",
     NONOGRAM_APPSTORE "ru/app/id1000000004"},
    {NONOGRAM_PLAY "com.example.maple2", NONOGRAM_APPSTORE "ru/app/id1000000005",
     NONOGRAM_APPSTORE "ru/app/id1000000005"},
    {NONOGRAM_PLAY "com.example.maple8", NONOGRAM_APPSTORE "ru/app/id1000000006",
     NONOGRAM_APPSTORE "ru/app/id1000000006"},
    // 7 maple of the US storefront
    {NONOGRAM_PLAY "com.example.mapleus", NONOGRAM_APPSTORE "us/app/id1000000007",
     NONOGRAM_APPSTORE "us/app/id1000000007"},
    // 8 aspen: Android only
    {NONOGRAM_PLAY "com.example.aspen", nullptr, nullptr},
};

#undef NONOGRAM_PLAY
#undef NONOGRAM_APPSTORE

namespace {

const AdIdentifiers kAdsIos = {
    "ca-app-pub-3940256099942544/4411468910",
    "000000000000000000000014",
    "0000000000000000000000000000000000000014",
};

const AdIdentifiers kAdsAndroid = {
    "ca-app-pub-3940256099942544/1033173712",
    "000000000000000000000018",
    "0000000000000000000000000000000000000018",
};

}  // namespace

const AdIdentifiers* AdIdentifiersFor(int32_t os) {
    switch (os) {
        case S3E_OS_ID_IPHONE:
            return &kAdsIos;
        case S3E_OS_ID_ANDROID:
            return &kAdsAndroid;
        default:
            return nullptr;
    }
}

}  // namespace config
