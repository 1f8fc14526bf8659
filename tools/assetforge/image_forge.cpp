// Paints the game images and the promotion images and writes them as PNG files.
#include <cstdio>
#include <string>

#include "forge.h"
#include "icon_art.h"

namespace forge {
namespace {

bool PaintAll(const std::vector<ImageArt>& art, GlyphPainter& icons, const std::string& dir,
              std::string& credits) {
    for (const ImageArt& a : art) {
        Canvas canvas(a.size, a.size);
        a.paint(canvas, icons);
        if (!WriteAssetPng(dir + "/" + a.file, canvas.ToRgba8(), a.size, a.size)) {
            std::fprintf(stderr, "assetforge: cannot write %s/%s\n", dir.c_str(), a.file.c_str());
            return false;
        }
        credits += a.file + " (" + std::to_string(a.size) + " px): " + a.drawnAs + "\n";
    }
    return true;
}

const char kIconSource[] =
    "Glyphs from Material Design Icons 1.6.50 (Debian package fonts-materialdesignicons-webfont),\n"
    "by Austin Andrews and Google: the font under the SIL Open Font License 1.1, the icons\n"
    "under Creative Commons Attribution 4.0 International. Tiles, grids and colours are this\n"
    "project's own drawing, composited by tools/assetforge; the images are under CC BY 4.0.\n";

}  // namespace

bool ForgeImages(const Sources& sources, const std::string& dataDir, std::string& imageCredits,
                 std::string& promoCredits) {
    FT_Library lib;
    if (FT_Init_FreeType(&lib) != 0) return false;
    bool ok;
    {
        GlyphPainter icons(lib, sources.iconFont);
        ok = icons.Ok();
        if (!ok) std::fprintf(stderr, "assetforge: cannot open %s\n", sources.iconFont.c_str());
        imageCredits += kIconSource;
        promoCredits += kIconSource;
        ok = ok && PaintAll(GameImages(), icons, dataDir + "/images", imageCredits);
        ok = ok && PaintAll(PromoImages(), icons, dataDir + "/promoreel", promoCredits);
    }
    FT_Done_FreeType(lib);
    return ok;
}

}  // namespace forge
