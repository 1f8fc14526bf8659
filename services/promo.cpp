// The promotion rotator: the candidate rows, the random choice of the slots and
// their images, and opening a slot's store page.
#include <cstdio>

#include "draw2d/iw2d.h"
#include "platform/s3e.h"
#include "services/config.h"
#include "services/device.h"
#include "services/links.h"
#include "services/promo.h"

namespace {

struct PromoRow {
    const char* images[3];  // the variants; rows with one image leave the rest null
};

// Index row - 1.
const PromoRow kRows[config::kPromoRowCount] = {
    {{"ad_alder_1.png", "ad_alder_2.png", "ad_alder_3.png"}},
    {{"ad_birch_1.png", "ad_birch_2.png", "ad_birch_3.png"}},
    {{"ad_cedar_1.png", "ad_cedar_2.png", "ad_cedar_3.png"}},
    {{"ad_maple1_ru_1.png", nullptr, nullptr}},
    {{"ad_maple2_ru_1.png", nullptr, nullptr}},
    {{"ad_maple8_ru_1.png", nullptr, nullptr}},
    {{"maple_us_100.png", nullptr, nullptr}},
    {{"ad_aspen_1.png", nullptr, nullptr}},
};

constexpr uint32_t kRowThisGame = 2;
constexpr uint32_t kRowAndroidOnly = 8;
constexpr int kCandidateMax = 30;

struct PromoCandidate {
    uint32_t row;
    uint8_t used;
};

struct PromoSlot {
    CIw2DImage* image;
    uint32_t row;
};

struct Rotator {
    int32_t os = 0;
    bool russian = false;
    PromoSlot slots[kPromoSlotMax] = {};
    int32_t count = 0;
};

Rotator g_rotator;

struct PromoRandom {
    uint32_t seed;
    // The next draw, 0 to 32767.
    uint32_t Draw() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 10) & 0x7FFFu;
    }
};

bool InPromoLanguageGroup(int32_t language) {
    switch (language) {
        case S3E_DEVICE_LANGUAGE_RUSSIAN:
        case 21:
        case 34:
        case 35:
        case 37:
        case 52:
        case 75:
            return true;
        default:
            return false;
    }
}

}  // namespace

int32_t ChoosePromoRows(uint32_t seed, int32_t os, int32_t language, PromoPick* picks) {
    PromoCandidate candidates[kCandidateMax] = {};
    int32_t count = 0;
    auto add = [&](uint32_t row) { candidates[count++] = PromoCandidate{row, 0}; };
    if (InPromoLanguageGroup(language)) {
        add(4);
        add(5);
        add(6);
    } else {
        add(7);
    }
    add(1);
    add(kRowAndroidOnly);
    add(3);
    if (os == S3E_OS_ID_DESKTOP) add(kRowThisGame);

    const bool ios = os == S3E_OS_ID_IPHONE;
    auto eligible = [&](const PromoCandidate& c) {
        return !c.used && !(ios && c.row == kRowAndroidOnly);
    };
    int32_t showable = 0;
    for (int32_t i = 0; i < count; ++i)
        showable += eligible(candidates[i]) ? 1 : 0;
    int32_t wanted = os == S3E_OS_ID_DESKTOP ? 4 : 3;
    // Never ask for more slots than rows can fill: the walk would draw forever.
    if (wanted > showable) wanted = showable;

    PromoRandom random{seed};
    for (int32_t k = 0; k < wanted; ++k) {
        const int32_t remaining = count - k;
        PromoCandidate* taken = nullptr;
        while (!taken) {
            const uint32_t draw = random.Draw();
            int32_t r =
                remaining > 0 ? static_cast<int32_t>(draw % static_cast<uint32_t>(remaining)) : 0;
            for (int32_t i = 0; i < count; ++i) {
                if (!eligible(candidates[i])) continue;
                if (r-- == 0) {
                    taken = &candidates[i];
                    break;
                }
            }
        }
        taken->used = 1;
        const PromoRow& row = kRows[taken->row - 1];
        int32_t variant = 1;
        const uint32_t draw = random.Draw();
        if (row.images[1]) variant = static_cast<int32_t>(draw % 3) + 1;
        picks[k] = PromoPick{taken->row, variant, row.images[variant - 1]};
    }
    return wanted;
}

void StartPromoRotator() {
    StopPromoRotator();
    g_rotator.os = device.os;
    g_rotator.russian = device.russian;
    const uint32_t seed = static_cast<uint32_t>(s3eTimerGetUTC() / 10000u);

    PromoPick picks[kPromoSlotMax];
    g_rotator.count = ChoosePromoRows(seed, g_rotator.os, device.language, picks);
    for (int32_t k = 0; k < g_rotator.count; ++k) {
        char path[64];
        std::snprintf(path, sizeof path, "promoreel/%s", picks[k].file);
        g_rotator.slots[k] = PromoSlot{CreateImage(path), picks[k].row};
    }
}

void StopPromoRotator() {
    for (int32_t k = 0; k < g_rotator.count; ++k)
        delete g_rotator.slots[k].image;
    g_rotator = Rotator();
}

CIw2DImage* PromoImage(int32_t slot) {
    if (slot < 0 || slot >= g_rotator.count) return nullptr;
    return g_rotator.slots[slot].image;
}

void OpenPromo(int32_t slot) {
    if (slot < 0 || slot >= g_rotator.count) return;
    const config::StorePages& pages = config::kPromoPages[g_rotator.slots[slot].row - 1];
    const char* ios = g_rotator.russian ? pages.iosRussian : pages.iosOther;
    switch (g_rotator.os) {
        case S3E_OS_ID_IPHONE:
            if (ios) OpenAddress(ios);
            break;
        case S3E_OS_ID_ANDROID:
            if (pages.android) OpenAddress(pages.android);
            break;
        default:
            if (pages.android) OpenAddress(pages.android);
            if (ios) OpenAddress(ios);
            break;
    }
}
