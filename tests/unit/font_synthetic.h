// A small synthetic distance-field font for the font tests: round metrics that
// make every layout computable by hand, written as a real font file with page
// images into a game data folder. Glyph rectangles are solid (distance 255
// inside, 0 outside) so a drawn glyph fills its quad.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_host.h"

namespace fonttest {

struct GlyphRecord {
    uint32_t code;
    uint16_t x, y, w, h;
    int16_t xOffset, yOffset, xAdvance;
    uint16_t page;
};

// fontSize 20, lineHeight 25, smoothRef 4, two 64 x 64 pages.
//   'A' 10 x 20, offset (1, 2), advance 12        'B' 10 x 20, offset (0, 0), advance 10
//   ' ' no quad, advance 5                          'g' 8 x 24, offset (0, 4), advance 9
//   U+0416 (Zhe) 12 x 20, advance 14                'C' on page 1, 10 x 20, advance 11
constexpr uint16_t kFontSize = 20, kLineHeight = 25, kSmoothRef = 4, kTexSize = 64;

inline std::vector<GlyphRecord> Glyphs() {
    return {
        {'A', 0, 0, 10, 20, 1, 2, 12, 0},    {'B', 12, 0, 10, 20, 0, 0, 10, 0},
        {' ', 0, 0, 0, 0, 0, 0, 5, 0},       {'g', 24, 0, 8, 24, 0, 4, 9, 0},
        {0x416, 34, 0, 12, 20, 0, 0, 14, 0}, {'C', 0, 0, 10, 20, 0, 0, 11, 1},
    };
}

inline void Put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
inline void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

struct FontFileParts {
    uint16_t header[8] = {kFontSize, kLineHeight, 0, kSmoothRef, kTexSize, kTexSize, 2, 6};
    std::vector<std::string> pageNames = {"synth_0.png", "synth_1.png"};
    std::vector<GlyphRecord> glyphs = Glyphs();
};

// The bytes of a font file.
inline std::string FontBytes(const FontFileParts& parts) {
    std::string out;
    for (uint16_t v : parts.header)
        Put16(out, v);
    for (const std::string& name : parts.pageNames) {
        std::string rec(68, '\0');
        rec.replace(0, name.size() < 68 ? name.size() : 68, name.substr(0, 68));
        out += rec;
    }
    for (const GlyphRecord& g : parts.glyphs) {
        Put32(out, g.code);
        Put16(out, g.x);
        Put16(out, g.y);
        Put16(out, g.w);
        Put16(out, g.h);
        Put16(out, static_cast<uint16_t>(g.xOffset));
        Put16(out, static_cast<uint16_t>(g.yOffset));
        Put16(out, static_cast<uint16_t>(g.xAdvance));
        Put16(out, g.page);
    }
    return out;
}

// A page: white, alpha 255 inside every glyph rectangle of that page.
inline bool WritePage(const std::string& path, int page, int size = kTexSize) {
    std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4, 0);
    for (size_t i = 0; i < rgba.size(); i += 4)
        rgba[i] = rgba[i + 1] = rgba[i + 2] = 255;
    for (const GlyphRecord& g : Glyphs()) {
        if (g.page != page) continue;
        for (int y = g.y; y < g.y + g.h && y < size; ++y) {
            for (int x = g.x; x < g.x + g.w && x < size; ++x)
                rgba[(static_cast<size_t>(y) * size + x) * 4 + 3] = 255;
        }
    }
    return testsupport::WritePngRGBA(path, size, size, rgba.data());
}

// Writes "fonts/synth.fnt" with its two pages into dataDir; gives the game path.
inline std::string WriteSyntheticFont(const std::string& dataDir,
                                      const FontFileParts& parts = FontFileParts()) {
    std::filesystem::create_directories(dataDir + "/fonts");
    WritePage(dataDir + "/fonts/synth_0.png", 0);
    WritePage(dataDir + "/fonts/synth_1.png", 1);
    std::string bytes = FontBytes(parts);
    FILE* f = std::fopen((dataDir + "/fonts/synth.fnt").c_str(), "wb");
    if (f) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return "fonts/synth.fnt";
}

}  // namespace fonttest
