// The two halves of the asset forge and what they share.
#pragma once

#include <string>

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

}  // namespace forge
