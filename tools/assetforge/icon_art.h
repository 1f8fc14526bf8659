// The art of every image the game ships: toolbar buttons, puzzle-list status
// icons, the solved badge, the main menu's tile face and premium tile, and the
// promotion tiles. One flat style: rounded tiles with a glyph of the icon font.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster.h"

namespace forge {

struct ImageArt {
    std::string file;     // name within its folder
    int size;             // square side in pixels
    std::string drawnAs;  // what the game draws it as, for the credits
    void (*paint)(Canvas& canvas, GlyphPainter& icons);
};

// The fourteen images under images/, in the game's loading order.
const std::vector<ImageArt>& GameImages();
// The promotion images under promoreel/.
const std::vector<ImageArt>& PromoImages();

}  // namespace forge
