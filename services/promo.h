// The promotion rotator's inside: its random choice apart from the images it
// loads (which promotion row fills each slot and which image variant it shows,
// from the seed, the operating system and the device language), and the
// release StopAds runs.
#pragma once

#include <cstdint>

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

// Destroys the slots' images and empties the slots.
void StopPromoRotator();
