// Contact sheets: solved puzzles drawn as pictures in one PNG, so a person can
// judge at a glance whether the pictures are still recognisable.
#pragma once

#include <string>
#include <vector>

#include "tools/forge/solver.h"

namespace forge {

struct SheetTile {
    std::string caption;
    Bitmap picture;
};

// Lays the tiles out in rows of `perRow`, each picture in a box `tile`
// pixels wide and high, and writes an 8-bit grey PNG.
bool WriteContactSheet(const std::string& path, const std::vector<SheetTile>& tiles, int perRow,
                       int tile, std::string* error);

}  // namespace forge
