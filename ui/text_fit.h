// Sizing text to a box: every screen lowers the font's scale by a fixed step
// until its sample text passes the screen's own test.
#pragma once

#include <cstdint>

#include "ui/look.h"

struct SdfFont;

// A screen's test of the sample's measures (widest line, text height).
typedef bool (*FitTest)(float width, float height, const void* context);

// Sets the font's box (a negative size becomes 0), layout flags, colour and
// start scale, as every fitting starts.
void SetTextBox(SdfFont* font, float maxWidth, float maxHeight, uint16_t layoutFlags,
                ColourWord colour, float scale);

// Measures sample at startScale and lowers the scale by step while test fails.
// A lowered value of zero or less is never taken: the search stops at the
// smallest positive scale it reached. Leaves the chosen scale in the font and
// gives it; with no loaded font, the start scale.
float FitTextScale(SdfFont* font, const char* sample, float startScale, float step, FitTest test,
                   const void* context);

// The common test: width < bounds[0] and height < bounds[1] (a measure equal
// to its bound is too large). context points to the two floats.
bool FitsBelow(float width, float height, const void* context);
