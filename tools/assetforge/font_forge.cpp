// Makes the game's distance-field font: every glyph of the set below rendered
// by FreeType's signed-distance-field renderer from Carlito, packed on one
// page, and written as the binary font file the game reads.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H

#include "forge.h"

namespace forge {
namespace {

// Pixel size the glyphs are rendered at: scale 1.0 in the game.
constexpr int kFontSize = 48;
// Distance in texture pixels from the edge to where the field reaches 0 or 255.
// The game's automatic smoothing divides by smoothRef; with smoothRef equal to
// the spread, one step of the smoothing covers one screen pixel at any scale.
constexpr int kSpread = 8;
constexpr int kPageWidth = 1024;
constexpr int kPageHeight = 512;
constexpr int kGap = 1;  // empty texels between glyphs, so bilinear reads never bleed

struct Glyph {
    uint32_t code;
    int width = 0, height = 0, left = 0, top = 0, advance = 0;
    std::vector<uint8_t> field;  // width * height distance values, 128 on the edge
    int x = 0, y = 0;
};

std::vector<uint32_t> GlyphSet() {
    std::vector<uint32_t> codes;
    for (uint32_t c = 0x20; c <= 0x7E; ++c)
        codes.push_back(c);
    codes.push_back(0x0401);  // Ё
    for (uint32_t c = 0x0410; c <= 0x044F; ++c)
        codes.push_back(c);
    codes.push_back(0x0451);  // ё
    // Punctuation a Russian or English text may use.
    const uint32_t extra[] = {0x00AB, 0x00B0, 0x00B7, 0x00BB, 0x00D7, 0x2013,
                              0x2014, 0x2019, 0x201C, 0x201D, 0x2026, 0x2116};
    codes.insert(codes.end(), std::begin(extra), std::end(extra));
    return codes;
}

void Put16(std::vector<uint8_t>& out, int v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

// Shelf packing, tallest first; the order is fixed so the page is the same on every run.
bool Pack(std::vector<Glyph>& glyphs) {
    std::vector<Glyph*> order;
    for (Glyph& g : glyphs) {
        if (g.width > 0 && g.height > 0) order.push_back(&g);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const Glyph* a, const Glyph* b) { return a->height > b->height; });
    int x = kGap, y = kGap, shelf = 0;
    for (Glyph* g : order) {
        if (x + g->width + kGap > kPageWidth) {
            x = kGap;
            y += shelf + kGap;
            shelf = 0;
        }
        if (y + g->height + kGap > kPageHeight) return false;
        g->x = x;
        g->y = y;
        x += g->width + kGap;
        shelf = std::max(shelf, g->height);
    }
    return true;
}

}  // namespace

bool ForgeFont(const Sources& sources, const std::string& dataDir, std::string& credits) {
    FT_Library lib;
    if (FT_Init_FreeType(&lib) != 0) return false;
    FT_Int spread = kSpread;
    FT_Property_Set(lib, "sdf", "spread", &spread);
    FT_Face face;
    if (FT_New_Face(lib, sources.textFont.c_str(), 0, &face) != 0) {
        std::fprintf(stderr, "assetforge: cannot open %s\n", sources.textFont.c_str());
        FT_Done_FreeType(lib);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, kFontSize);
    // Unhinted metrics from the face's own units keep the proportions of the design.
    const double unit = static_cast<double>(kFontSize) / face->units_per_EM;
    const int ascender = static_cast<int>(face->ascender * unit + 0.5);
    const int lineHeight = static_cast<int>(face->height * unit + 0.5);

    std::vector<Glyph> glyphs;
    bool ok = true;
    for (uint32_t code : GlyphSet()) {
        if (FT_Get_Char_Index(face, code) == 0) {
            std::fprintf(stderr, "assetforge: the text font lacks U+%04X\n", code);
            ok = false;
            continue;
        }
        if (FT_Load_Char(face, code, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) {
            ok = false;
            continue;
        }
        Glyph g;
        g.code = code;
        g.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
        if (face->glyph->outline.n_contours > 0) {
            if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_SDF) != 0) {
                ok = false;
                continue;
            }
            const FT_Bitmap& bm = face->glyph->bitmap;
            g.width = static_cast<int>(bm.width);
            g.height = static_cast<int>(bm.rows);
            g.left = face->glyph->bitmap_left;
            g.top = ascender - face->glyph->bitmap_top;
            g.field.resize(static_cast<size_t>(g.width) * g.height);
            for (int y = 0; y < g.height; ++y) {
                for (int x = 0; x < g.width; ++x) {
                    g.field[static_cast<size_t>(y) * g.width + x] = bm.buffer[y * bm.pitch + x];
                }
            }
        }
        glyphs.push_back(std::move(g));
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    if (!ok) return false;
    if (!Pack(glyphs)) {
        std::fprintf(stderr, "assetforge: the glyphs do not fit a %dx%d page\n", kPageWidth,
                     kPageHeight);
        return false;
    }

    // The page: the distance as grey levels, which the game reads as white
    // with the distance in alpha (a third of the bytes of RGBA).
    std::vector<uint8_t> page(static_cast<size_t>(kPageWidth) * kPageHeight, 0);
    for (const Glyph& g : glyphs) {
        for (int y = 0; y < g.height; ++y) {
            for (int x = 0; x < g.width; ++x) {
                page[static_cast<size_t>(g.y + y) * kPageWidth + g.x + x] =
                    g.field[static_cast<size_t>(y) * g.width + x];
            }
        }
    }
    const std::string pageName = "calibri_new_0.png";
    if (!WriteAssetPng(dataDir + "/images/" + pageName, page, kPageWidth, kPageHeight, 1)) {
        std::fprintf(stderr, "assetforge: cannot write the font page\n");
        return false;
    }

    std::vector<uint8_t> file;
    Put16(file, kFontSize);
    Put16(file, lineHeight);
    Put16(file, kSpread);  // not read by the game; records the field's spread
    Put16(file, kSpread);  // smoothRef
    Put16(file, kPageWidth);
    Put16(file, kPageHeight);
    Put16(file, 1);
    Put16(file, static_cast<int>(glyphs.size()));
    char name[68] = {};
    std::snprintf(name, 64, "%s", pageName.c_str());
    file.insert(file.end(), name, name + 68);
    for (const Glyph& g : glyphs) {
        Put32(file, g.code);
        Put16(file, g.x);
        Put16(file, g.y);
        Put16(file, g.width);
        Put16(file, g.height);
        Put16(file, g.left);
        Put16(file, g.top);
        Put16(file, g.advance);
        Put16(file, 0);
    }
    const std::string fontPath = dataDir + "/images/calibri_new.fnt";
    FILE* f = std::fopen(fontPath.c_str(), "wb");
    if (!f) return false;
    bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    written = std::fclose(f) == 0 && written;
    if (!written) {
        std::fprintf(stderr, "assetforge: cannot write %s\n", fontPath.c_str());
        return false;
    }

    char line[256];
    std::snprintf(line, sizeof line,
                  "calibri_new.fnt, %s: %zu glyphs at %d px, distance spread %d px, rendered "
                  "with FreeType's SDF renderer from\n",
                  pageName.c_str(), glyphs.size(), kFontSize, kSpread);
    credits += line;
    credits +=
        "  Carlito Regular (Debian package fonts-crosextra-carlito), by tyPoland Lukasz Dziedzic,\n"
        "  SIL Open Font License 1.1. The font file and its page are a derived rendering of it\n"
        "  and are under the same license.\n";
    return true;
}

}  // namespace forge
