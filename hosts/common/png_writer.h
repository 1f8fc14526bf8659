// Screenshots: RGBA pixels as an 8-bit RGB PNG file.
#pragma once

#include <cstdint>
#include <string>

namespace host {

// Writes width x height RGBA pixels (rows top first, or bottom first as GL
// reads them when bottomUp) as an opaque RGB PNG. The file at path is replaced
// only once the new one is complete, so a failed write keeps the old file.
// False with a reason when the pixels or the file cannot be written.
bool WritePng(const std::string& path, const uint8_t* rgba, int32_t width, int32_t height,
              bool bottomUp, std::string* error);

}  // namespace host
