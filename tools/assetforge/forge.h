// The two halves of the asset forge and what they share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
bool WriteAssetPng(const std::string& path, const std::vector<uint8_t>& pixels, int width,
                   int height, int channels = 4);

}  // namespace forge
