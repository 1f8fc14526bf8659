// The two halves of the asset forge and what they share.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "hosts/common/png_writer.h"

namespace forge {

struct Sources {
    std::string textFont;  // Carlito Regular (TrueType)
    std::string iconFont;  // Material Design Icons webfont (TrueType)
};

// Writes images/calibri_new.fnt and its page images under dataDir; appends the
// credits lines of its source to credits. False (with a message on stderr) on failure.
bool ForgeFont(const Sources& sources, const std::string& dataDir, std::string& credits);

// Writes the fourteen game images under dataDir/images and the promotion images
// under dataDir/promoreel; appends credits lines for each folder.
bool ForgeImages(const Sources& sources, const std::string& dataDir, std::string& imageCredits,
                 std::string& promoCredits);

// Recompresses the pixel data of the PNG at path with Zopfli when that makes
// it smaller; false when the file cannot be read, parsed or replaced.
bool SqueezePng(const std::string& path);

// Writes width * height pixels of the given channels (4 RGBA with straight
// alpha, or 1 for a grey distance field; top row first) as a committed asset:
// the strongest compression (finished by Zopfli), so regenerated files are
// small and byte-identical from run to run. RGBA with at most 256 distinct colours is written as a
// palette, which every PNG reader turns back into the same RGBA in far fewer bytes.
inline bool WriteAssetPng(const std::string& path, const std::vector<uint8_t>& pixels, int width,
                          int height, int channels = 4) {
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (width <= 0 || height <= 0 || pixels.size() != count * channels) return false;
    host::PngImage image;
    image.pixels = pixels.data();
    image.width = width;
    image.height = height;
    image.channels = channels;
    image.compression = 9;
    image.smooth = channels == 1;
    std::vector<uint32_t> entries;  // RGBA as a big-endian word, in palette order
    std::vector<uint8_t> indices, palette;
    if (channels == 4) {
        std::vector<uint32_t> colours(count);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* p = &pixels[i * 4];
            colours[i] = (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (p[2] << 8) | p[3];
        }
        entries = colours;
        // Translucent entries first, so the transparency list stops early.
        auto before = [](uint32_t a, uint32_t b) {
            const bool aOpaque = (a & 0xFF) == 0xFF, bOpaque = (b & 0xFF) == 0xFF;
            return aOpaque != bOpaque ? bOpaque : a < b;
        };
        std::sort(entries.begin(), entries.end(), before);
        entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
        if (entries.size() <= 256) {
            indices.resize(count);
            for (size_t i = 0; i < count; ++i) {
                indices[i] = static_cast<uint8_t>(
                    std::lower_bound(entries.begin(), entries.end(), colours[i], before) -
                    entries.begin());
            }
            for (uint32_t e : entries) {
                for (int shift = 24; shift >= 0; shift -= 8)
                    palette.push_back(static_cast<uint8_t>(e >> shift));
            }
            image.pixels = indices.data();
            image.channels = 1;
            image.palette = palette.data();
            image.paletteSize = static_cast<int32_t>(entries.size());
        }
    }
    std::string error;
    return host::WritePngFile(path, image, &error) && SqueezePng(path);
}

}  // namespace forge
