// The one PNG writer: screenshots of the hosts and the files the tools make.
#pragma once

#include <cstdint>
#include <string>

namespace host {

// Pixels to write: rows of width * channels bytes (1 grey, 3 RGB, 4 RGBA with
// straight alpha), top row first, or bottom first as GL reads them when bottomUp.
struct PngImage {
    const uint8_t* pixels = nullptr;
    int32_t width = 0, height = 0;
    int32_t channels = 4;
    bool bottomUp = false;
    // zlib's level from 0 to 9, or -1 for its default. The committed assets
    // take 9; with no time or text chunks a run repeats its bytes exactly.
    int32_t compression = -1;
    // A smooth image (a distance field) is smaller with every row filtered
    // against the one above and zlib's default strategy than with libpng's
    // choices, which suit images with hard edges.
    bool smooth = false;
    // With one channel: the pixels are indices into these paletteSize RGBA
    // entries (at most 256), written as a palette with its transparency.
    const uint8_t* palette = nullptr;
    int32_t paletteSize = 0;
    // Marks the colours as sRGB, as a GL surface shows them.
    bool srgb = false;
};

// Writes the image to path. The file at path is replaced only once the new one
// is complete, so a failed write keeps the old file. False with a reason when
// the pixels or the file cannot be written.
bool WritePngFile(const std::string& path, const PngImage& image, std::string* error);

// Screenshots: width x height RGBA pixels as an opaque sRGB RGB PNG (the alpha
// channel of a GL surface is no part of what a player sees).
bool WritePng(const std::string& path, const uint8_t* rgba, int32_t width, int32_t height,
              bool bottomUp, std::string* error);

}  // namespace host
