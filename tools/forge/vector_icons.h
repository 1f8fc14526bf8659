// Vector pictures: icon sets in the Iconify JSON format (one SVG body per
// icon, as the npm packages @iconify-json/* ship them), rasterised with
// rsvg-convert from librsvg.
#pragma once

#include <string>
#include <vector>

#include "tools/forge/picture.h"

namespace forge {

struct VectorIcon {
    std::string name;
    std::string body;  // SVG elements inside the icon's view box
    double width = 0;  // view box
    double height = 0;
};

// Reads the visible icons of an Iconify icon set, in the file's order
// (aliases and hidden icons are left out). False with a message when the
// file is missing or is not such a set.
bool ReadIconSet(const std::string& path, std::vector<VectorIcon>* icons, std::string* error);

// Renders every icon to a pixels x pixels square (its view box scaled to fit,
// centred), as straight RGBA rasters, many icons per rsvg-convert run. The
// result depends only on the icons and the size. False with a message when
// rsvg-convert is missing or fails.
bool RasteriseIcons(const std::vector<VectorIcon>& icons, int pixels, std::vector<Raster>* out,
                    std::string* error);

}  // namespace forge
