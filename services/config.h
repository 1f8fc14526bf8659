// The addresses and identifiers this build talks to: the game's and its paid
// edition's store pages, the help site, the sibling apps' store pages and the
// ad services' identifiers. They are configuration of the build, kept here and
// nowhere else; which of them is used when (by system and language) is decided
// by links.cpp, ads.cpp and promo.cpp.
#pragma once

#include <cstdint>

namespace config {

// The store pages of one app. A null page means the app has none there.
struct StorePages {
    const char* android;     // Android store
    const char* iosRussian;  // iOS store, for the device language 16
    const char* iosOther;    // iOS store, for every other language
};

// This game: the rate link's target. Its iOS page for other languages has no
// storefront segment, so the store picks the player's own.
extern const StorePages kGamePages;
// The ad-free paid edition, with the same storefront rule.
extern const StorePages kPaidEditionPages;

// Scheme and host of the maker's web site; the help page lies under it.
extern const char* const kHelpSite;

// The sibling apps behind the promotion rows 1 to 8 (index row - 1). Rows 1 to
// 3 use the English storefront for other languages, rows 4 to 6 always the
// Russian one, row 7 always the US one; row 8 has no iOS page.
constexpr int kPromoRowCount = 8;
extern const StorePages kPromoPages[kPromoRowCount];

// Identifiers of the interstitial services on one system.
struct AdIdentifiers {
    const char* adMobUnit;            // "ca-app-pub-", 16 digits, "/", 10 digits
    const char* chartBoostAppId;      // 24 lower-case hexadecimal digits
    const char* chartBoostSignature;  // 40 lower-case hexadecimal digits
};

// The identifiers for an operating system (14 iOS, 18 Android), or null: on
// every other system no ad service is started.
const AdIdentifiers* AdIdentifiersFor(int32_t os);

}  // namespace config
