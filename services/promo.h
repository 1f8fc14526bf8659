// The promotion rotator: it picks, once per run, the sibling apps the main
// menu's promotion tiles show, loads their images and opens their store pages.
// Its random choice is reachable apart from the images it loads (which
// promotion row fills each slot and which image variant it shows, from the
// seed, the operating system and the device language).
#pragma once

#include <cstdint>

class CIw2DImage;

// Chooses the promotion slots and loads their images; at start-up, after the
// points are read and before the screens are made. Three slots, four on the
// desktop simulator.
void StartPromoRotator();
// The image of promotion slot 0 to 3, or null when the slot is not filled.
CIw2DImage* PromoImage(int32_t slot);
// Opens the store page of the app in a slot: on iOS or Android that system's
// page; on other systems the Android page, then the iOS page.
void OpenPromo(int32_t slot);
// Destroys the slots' images and empties the slots (StopAds runs it at shut-down).
void StopPromoRotator();

constexpr int kPromoSlotMax = 4;

struct PromoPick {
    uint32_t row;      // 1 to 8
    int32_t variant;   // image number, from 1
    const char* file;  // image file name under "promoreel/"
};

// Fills picks (room for kPromoSlotMax) and gives how many slots were chosen:
// four on the desktop simulator, three elsewhere, fewer only if fewer rows
// could be shown. The seed feeds a linear congruential generator; a language
// of the group that reads the Russian storefront sees rows 4 to 6 instead of 7.
int32_t ChoosePromoRows(uint32_t seed, int32_t os, int32_t language, PromoPick* picks);
