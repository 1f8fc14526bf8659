// Writes 8-bit RGBA PNG files the same way on every run: fixed compression,
// fixed filters and no time or text chunks, so regenerated assets are byte-identical.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace forge {

// pixels: width * height * 4 bytes, top row first, straight (not premultiplied) alpha.
bool WritePng(const std::string& path, const std::vector<uint8_t>& pixels, int width, int height);

}  // namespace forge
