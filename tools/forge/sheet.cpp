// Drawing contact sheets, written by the hosts' PNG writer; captions with
// FreeType when a DejaVu font is installed (they are left out otherwise).
#include "tools/forge/sheet.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

#include "hosts/common/png_writer.h"

namespace forge {

namespace {

// Drawn as reviewers name pictures best: black on a white page, the caption
// large and above its picture, the pictures well apart. The same pictures on a
// grey page with small captions underneath were named far less often.
constexpr int kGap = 20;
constexpr const char* kCaptionFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct Canvas {
    int width, height;
    std::vector<uint8_t> px;
    void Fill(int x, int y, int w, int h, uint8_t v) {
        for (int j = std::max(0, y); j < std::min(height, y + h); ++j) {
            for (int i = std::max(0, x); i < std::min(width, x + w); ++i)
                px[static_cast<size_t>(j) * width + i] = v;
        }
    }
};

void DrawText(FT_Face face, Canvas& c, int x, int baseline, int maxWidth, const std::string& text) {
    int pen = x;
    for (char ch : text) {
        if (FT_Load_Char(face, static_cast<unsigned char>(ch), FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot g = face->glyph;
        if (pen + static_cast<int>(g->advance.x >> 6) > x + maxWidth) break;
        for (unsigned row = 0; row < g->bitmap.rows; ++row) {
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                int px = pen + g->bitmap_left + static_cast<int>(col);
                int py = baseline - g->bitmap_top + static_cast<int>(row);
                if (px < 0 || py < 0 || px >= c.width || py >= c.height) continue;
                uint8_t a = g->bitmap.buffer[row * g->bitmap.pitch + col];
                uint8_t& d = c.px[static_cast<size_t>(py) * c.width + px];
                d = static_cast<uint8_t>(std::min<int>(d, 255 - a));
            }
        }
        pen += static_cast<int>(g->advance.x >> 6);
    }
}

}  // namespace

bool WriteContactSheet(const std::string& path, const std::vector<SheetTile>& tiles, int perRow,
                       int tile, std::string* error) {
    if (tiles.empty() || perRow < 1) {
        *error = "nothing to draw";
        return false;
    }
    if (tile < 16) {
        *error = "a tile must be at least 16 pixels";
        return false;
    }
    const int cols = std::min(perRow, static_cast<int>(tiles.size()));
    const int rows = (static_cast<int>(tiles.size()) + cols - 1) / cols;
    size_t longest = 1;
    for (const SheetTile& t : tiles)
        longest = std::max(longest, t.caption.size());
    // Large for the numbers of a review sheet; small enough that a name fits.
    const int fontPixels = std::max(
        9, std::min(tile / 11, static_cast<int>(tile * 1.6 / static_cast<double>(longest))));
    const int caption = fontPixels + fontPixels / 2;  // band above each picture
    Canvas c{kGap + cols * (tile + kGap), kGap + rows * (caption + tile + kGap), {}};
    c.px.assign(static_cast<size_t>(c.width) * c.height, 255);

    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&lib) == 0 && FT_New_Face(lib, kCaptionFont, 0, &face) == 0) {
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(fontPixels));
    }
    for (size_t t = 0; t < tiles.size(); ++t) {
        const Bitmap& b = tiles[t].picture;
        const int tx = kGap + static_cast<int>(t % cols) * (tile + kGap);
        const int ty = kGap + static_cast<int>(t / cols) * (caption + tile + kGap) + caption;
        if (b.rows > 0 && b.cols > 0) {
            const int cell = std::max(1, std::min(tile / b.cols, tile / b.rows));
            const int ox = tx + (tile - cell * b.cols) / 2;
            const int oy = ty + (tile - cell * b.rows) / 2;
            c.Fill(ox - 1, oy - 1, cell * b.cols + 2, cell * b.rows + 2, 190);
            c.Fill(ox, oy, cell * b.cols, cell * b.rows, 255);
            for (int r = 0; r < b.rows; ++r) {
                for (int col = 0; col < b.cols; ++col) {
                    if (b.at(r, col)) c.Fill(ox + col * cell, oy + r * cell, cell, cell, 0);
                }
            }
        }
        if (face) DrawText(face, c, tx, ty - fontPixels / 3, tile, tiles[t].caption);
    }
    if (face) FT_Done_Face(face);
    if (lib) FT_Done_FreeType(lib);

    host::PngImage image;
    image.pixels = c.px.data();
    image.width = c.width;
    image.height = c.height;
    image.channels = 1;
    return host::WritePngFile(path, image, error);
}

}  // namespace forge
