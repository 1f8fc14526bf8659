// Anti-aliased shapes and glyph compositing for the icon art.
#include "raster.h"

#include <algorithm>
#include <cmath>

#include FT_OUTLINE_H

namespace forge {

Colour Rgb(int r, int g, int b, int a) {
    return Colour{r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f};
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), px_(static_cast<size_t>(width) * height * 4, 0.0f) {}

void Canvas::Blend(int x, int y, float coverage, Colour colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0.0f) return;
    float a = std::min(coverage, 1.0f) * colour.a;
    float* p = &px_[(static_cast<size_t>(y) * width_ + x) * 4];
    p[0] = colour.r * a + p[0] * (1.0f - a);
    p[1] = colour.g * a + p[1] * (1.0f - a);
    p[2] = colour.b * a + p[2] * (1.0f - a);
    p[3] = a + p[3] * (1.0f - a);
}

void Canvas::Fill(const std::function<bool(float, float)>& inside, float x0, float y0, float x1,
                  float y1, Colour colour) {
    int ix0 = std::max(0, static_cast<int>(std::floor(x0)));
    int iy0 = std::max(0, static_cast<int>(std::floor(y0)));
    int ix1 = std::min(width_, static_cast<int>(std::ceil(x1)));
    int iy1 = std::min(height_, static_cast<int>(std::ceil(y1)));
    for (int y = iy0; y < iy1; ++y) {
        for (int x = ix0; x < ix1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    if (inside(x + (sx + 0.5f) / 4.0f, y + (sy + 0.5f) / 4.0f)) ++hits;
                }
            }
            Blend(x, y, hits / 16.0f, colour);
        }
    }
}

std::vector<uint8_t> Canvas::ToRgba8() const {
    std::vector<uint8_t> out(px_.size());
    for (size_t i = 0; i < px_.size(); i += 4) {
        float a = px_[i + 3];
        auto byte = [](float v) {
            v = std::min(std::max(v, 0.0f), 1.0f);
            return static_cast<uint8_t>(std::floor(v * 255.0f + 0.5f));
        };
        uint8_t ab = byte(a);
        out[i + 3] = ab;
        if (ab == 0) continue;  // fully transparent pixels keep black colour bytes
        out[i + 0] = byte(px_[i + 0] / a);
        out[i + 1] = byte(px_[i + 1] / a);
        out[i + 2] = byte(px_[i + 2] / a);
    }
    return out;
}

static bool InRoundRect(float x, float y, float x0, float y0, float x1, float y1, float r) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    float cx = std::min(std::max(x, x0 + r), x1 - r);
    float cy = std::min(std::max(y, y0 + r), y1 - r);
    float dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy <= r * r;
}

void FillRoundRect(Canvas& c, float x0, float y0, float x1, float y1, float radius, Colour colour) {
    c.Fill([=](float x, float y) { return InRoundRect(x, y, x0, y0, x1, y1, radius); }, x0, y0, x1,
           y1, colour);
}

void FillRect(Canvas& c, float x0, float y0, float x1, float y1, Colour colour) {
    FillRoundRect(c, x0, y0, x1, y1, 0.0f, colour);
}

void FillCircle(Canvas& c, float cx, float cy, float radius, Colour colour) {
    FillRing(c, cx, cy, -1.0f, radius, colour);
}

void FillRing(Canvas& c, float cx, float cy, float inner, float outer, Colour colour) {
    c.Fill(
        [=](float x, float y) {
            float d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            return d2 <= outer * outer && (inner < 0.0f || d2 >= inner * inner);
        },
        cx - outer, cy - outer, cx + outer, cy + outer, colour);
}

void StrokeLine(Canvas& c, float ax, float ay, float bx, float by, float width, Colour colour) {
    float h = width * 0.5f;
    float dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    c.Fill(
        [=](float x, float y) {
            float t = len2 > 0.0f ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0.0f;
            t = std::min(std::max(t, 0.0f), 1.0f);
            float px = ax + t * dx - x, py = ay + t * dy - y;
            return px * px + py * py <= h * h;
        },
        std::min(ax, bx) - h, std::min(ay, by) - h, std::max(ax, bx) + h, std::max(ay, by) + h,
        colour);
}

void StrokeRoundRect(Canvas& c, float x0, float y0, float x1, float y1, float radius, float width,
                     Colour colour) {
    float ir = std::max(radius - width, 0.0f);
    c.Fill(
        [=](float x, float y) {
            return InRoundRect(x, y, x0, y0, x1, y1, radius) &&
                   !InRoundRect(x, y, x0 + width, y0 + width, x1 - width, y1 - width, ir);
        },
        x0, y0, x1, y1, colour);
}

GlyphPainter::GlyphPainter(FT_Library library, const std::string& fontPath) {
    if (FT_New_Face(library, fontPath.c_str(), 0, &face_) != 0) face_ = nullptr;
}

GlyphPainter::~GlyphPainter() {
    if (face_) FT_Done_Face(face_);
}

bool GlyphPainter::Draw(Canvas& c, uint32_t code, float cx, float cy, float size, Colour colour) {
    if (!face_) return false;
    FT_UInt index = FT_Get_Char_Index(face_, code);
    if (index == 0) return false;
    // Icon fonts draw their icons on a square em; size the em so that the ink
    // box's larger side is size pixels.
    if (FT_Set_Pixel_Sizes(face_, 0, 1000) != 0) return false;
    if (FT_Load_Glyph(face_, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) return false;
    FT_BBox box;
    FT_Outline_Get_CBox(&face_->glyph->outline, &box);
    float inkW = (box.xMax - box.xMin) / 64.0f, inkH = (box.yMax - box.yMin) / 64.0f;
    float ink = std::max(inkW, inkH);
    if (ink <= 0.0f) return false;
    FT_UInt px = static_cast<FT_UInt>(std::lround(1000.0f * size / ink));
    if (FT_Set_Pixel_Sizes(face_, 0, px) != 0) return false;
    if (FT_Load_Glyph(face_, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) return false;
    FT_Outline_Get_CBox(&face_->glyph->outline, &box);
    // Move the outline so that its ink box centre lands on (cx, cy) at the
    // sub-pixel position, then render at the origin.
    float inkCx = (box.xMin + box.xMax) / 128.0f, inkCy = (box.yMin + box.yMax) / 128.0f;
    float fracX = cx - std::floor(cx), fracY = cy - std::floor(cy);
    FT_Pos shiftX = static_cast<FT_Pos>(std::lround((fracX - inkCx) * 64.0f));
    FT_Pos shiftY = static_cast<FT_Pos>(std::lround((-fracY - inkCy) * 64.0f));
    FT_Outline_Translate(&face_->glyph->outline, shiftX, shiftY);
    if (FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_NORMAL) != 0) return false;
    const FT_Bitmap& bm = face_->glyph->bitmap;
    int left = static_cast<int>(std::floor(cx)) + face_->glyph->bitmap_left;
    int top = static_cast<int>(std::floor(cy)) - face_->glyph->bitmap_top;
    for (unsigned y = 0; y < bm.rows; ++y) {
        for (unsigned x = 0; x < bm.width; ++x) {
            uint8_t v = bm.buffer[y * bm.pitch + x];
            if (v)
                c.Blend(left + static_cast<int>(x), top + static_cast<int>(y), v / 255.0f, colour);
        }
    }
    return true;
}

}  // namespace forge
