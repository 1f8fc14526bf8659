// The two halves of the asset forge and what they share.
#pragma once

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

// Writes width * height pixels of the given channels (4 RGBA with straight
// alpha, or 1 for a grey distance field; top row first) as a committed asset:
// the strongest compression, so regenerated files are small and byte-identical
// from run to run.
inline bool WriteAssetPng(const std::string& path, const std::vector<uint8_t>& pixels, int width,
                          int height, int channels = 4) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * channels) {
        return false;
    }
    host::PngImage image;
    image.pixels = pixels.data();
    image.width = width;
    image.height = height;
    image.channels = channels;
    image.compression = 9;
    image.smooth = channels == 1;
    std::string error;
    return host::WritePngFile(path, image, &error);
}

}  // namespace forge
