// What every screen draws with: colour words, the palette of the three colour
// themes, the choice of Russian or English texts by the device facts, the surface size of the
// frame, and numbers as text.
#pragma once

#include <cstdint>

// A colour as one word: alpha in the top byte, then blue, green, red in the low byte.
typedef uint32_t ColourWord;

constexpr ColourWord MakeColour(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    return ((a & 0xFF) << 24) | ((b & 0xFF) << 16) | ((g & 0xFF) << 8) | (r & 0xFF);
}
constexpr ColourWord MakeColour(uint32_t r, uint32_t g, uint32_t b) {
    return MakeColour(r, g, b, 255);
}

constexpr ColourWord kColourWhite = 0xFFFFFFFFu;
constexpr ColourWord kColourBlack = 0xFF000000u;
constexpr ColourWord kColourDimWhite = 0x99FFFFFFu;  // white at alpha 0x99
constexpr ColourWord kColourBlue = 0xFFFF0000u;

// Theme indices as stored under "color_schema"; any other value is Light.
enum ColorSchema : int32_t { kSchemaLight = 0, kSchemaDark = 1, kSchemaGrey = 2 };

struct Palette {
    // Follow the theme.
    ColourWord background;  // surface clear of every screen; board toolbar strip
    ColourWord listText;    // grid-size labels on the size list
    ColourWord listLine;    // cell outlines of both lists
    ColourWord iconTint;    // tint of the puzzle-list status icons
    // The same in every theme.
    ColourWord footerFill;
    ColourWord footerLine;
    ColourWord scrollTrack;
    ColourWord scrollThumb;
    ColourWord clueBand;
    ColourWord filledCell;
    ColourWord gridLine;
    ColourWord clueText;
    ColourWord crossMark;
};

// The one palette the screens read while drawing.
extern Palette palette;

// Fills the palette for a theme index; 1 Dark, 2 Grey, anything else Light.
// Takes effect from the next frame; the stored setting is not touched.
void ApplyColorSchema(int32_t index);

// The Russian twin when the device language is Russian, else the English text.
const char* LocalText(const char* english, const char* russian);

// Surface width and height in pixels, read at the start of every frame; every
// layout and hit test of the frame uses these.
struct SurfaceSize {
    int32_t width;
    int32_t height;
};
extern SurfaceSize surfaceSize;
// Reads the drawing layer's surface size into surfaceSize.
void ReadSurfaceSize();
