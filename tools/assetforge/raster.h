// A small anti-aliased painter for the icon art: shapes given as inside tests
// are supersampled, glyphs of icon fonts come from FreeType's coverage
// rasteriser, and everything is composited over a transparent canvas.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace forge {

struct Colour {
    float r, g, b, a;  // 0..1, straight alpha
};
Colour Rgb(int r, int g, int b, int a = 255);

class Canvas {
  public:
    Canvas(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Paints colour where inside(x, y) holds, x and y in pixels (pixel centres at
    // +0.5), over the box [x0, x1) x [y0, y1), with 4 x 4 samples per pixel.
    void Fill(const std::function<bool(float, float)>& inside, float x0, float y0, float x1,
              float y1, Colour colour);
    // Composites a coverage value (0..1) of colour onto one pixel.
    void Blend(int x, int y, float coverage, Colour colour);

    // Straight-alpha RGBA bytes, top row first.
    std::vector<uint8_t> ToRgba8() const;

  private:
    int width_, height_;
    std::vector<float> px_;  // premultiplied RGBA
};

// Shapes.
void FillRoundRect(Canvas& c, float x0, float y0, float x1, float y1, float radius, Colour colour);
void FillRect(Canvas& c, float x0, float y0, float x1, float y1, Colour colour);
void FillCircle(Canvas& c, float cx, float cy, float radius, Colour colour);
void FillRing(Canvas& c, float cx, float cy, float inner, float outer, Colour colour);
// A straight stroke with round ends.
void StrokeLine(Canvas& c, float ax, float ay, float bx, float by, float width, Colour colour);
// The frame between a rounded rectangle and the same one shrunk by width.
void StrokeRoundRect(Canvas& c, float x0, float y0, float x1, float y1, float radius, float width,
                     Colour colour);

// Glyphs of one font face, drawn by their ink box so that icons sit visually centred.
class GlyphPainter {
  public:
    GlyphPainter(FT_Library library, const std::string& fontPath);
    ~GlyphPainter();
    bool Ok() const { return face_ != nullptr; }
    // Draws code so that its ink fits a square of side size centred at (cx, cy).
    bool Draw(Canvas& c, uint32_t code, float cx, float cy, float size, Colour colour);

  private:
    FT_Face face_ = nullptr;
};

}  // namespace forge
