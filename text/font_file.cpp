// Loading the font file and its page images, and the font object's life.
// The file is parsed into staging storage and checked whole before anything
// is installed in the font, so a bad file leaves a cleared, unloaded font.
#include <cstdlib>
#include <cstring>

#include "engine/iwgx.h"
#include "platform/s3e.h"
#include "text/sdf_font.h"

namespace {

constexpr uint32_t kHeaderBytes = 16;
constexpr uint32_t kPageRecordBytes = 68;
constexpr uint32_t kPageNameBytes = 64;
constexpr uint32_t kGlyphRecordBytes = 20;
constexpr size_t kPathMax = 256;

uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
int16_t I16(const uint8_t* p) {
    return static_cast<int16_t>(U16(p));
}
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Everything read from the file before it is installed in the font.
struct Staging {
    uint16_t header[8] = {};
    SdfFontPage* pages = nullptr;
    SdfGlyph* glyphs = nullptr;
    uint8_t* raw = nullptr;

    ~Staging() {
        if (pages) {
            for (uint16_t i = 0; i < header[6]; ++i)
                delete pages[i].texture;
        }
        std::free(pages);
        std::free(glyphs);
        std::free(raw);
    }
};

bool ReadRecords(s3eFile* file, Staging& s) {
    uint8_t head[kHeaderBytes];
    if (s3eFileRead(head, 2, 8, file) != 8) return false;
    for (int i = 0; i < 8; ++i)
        s.header[i] = U16(head + 2 * i);
    const uint16_t texW = s.header[4], texH = s.header[5];
    const uint16_t pageCount = s.header[6], glyphCount = s.header[7];
    // Texture sizes divide every glyph rectangle.
    if (pageCount == 0 || glyphCount == 0 || texW == 0 || texH == 0) return false;
    // The counts size the allocations below: a file too short to hold the records
    // it announces is refused before anything is allocated for them.
    const size_t records = static_cast<size_t>(pageCount) * kPageRecordBytes +
                           static_cast<size_t>(glyphCount) * kGlyphRecordBytes;
    const int32_t fileBytes = s3eFileGetSize(file);
    if (fileBytes < 0 || static_cast<size_t>(fileBytes) < kHeaderBytes + records) return false;

    s.raw = static_cast<uint8_t*>(std::malloc(records));
    s.pages = static_cast<SdfFontPage*>(std::calloc(pageCount, sizeof(SdfFontPage)));
    s.glyphs = static_cast<SdfGlyph*>(std::calloc(glyphCount, sizeof(SdfGlyph)));
    if (!s.raw || !s.pages || !s.glyphs) return false;

    if (s3eFileRead(s.raw, kPageRecordBytes, pageCount, file) != pageCount) return false;
    for (uint16_t i = 0; i < pageCount; ++i) {
        const uint8_t* rec = s.raw + static_cast<size_t>(i) * kPageRecordBytes;
        // The name must end inside its 64 bytes and must not be empty.
        const void* end = std::memchr(rec, 0, kPageNameBytes);
        if (!end || end == rec) return false;
        std::memcpy(s.pages[i].name, rec, kPageNameBytes);
    }

    if (s3eFileRead(s.raw, kGlyphRecordBytes, glyphCount, file) != glyphCount) return false;
    for (uint16_t i = 0; i < glyphCount; ++i) {
        const uint8_t* rec = s.raw + static_cast<size_t>(i) * kGlyphRecordBytes;
        SdfGlyph& g = s.glyphs[i];
        g.code = U32(rec);
        const uint32_t x = U16(rec + 4), y = U16(rec + 6);
        g.width = U16(rec + 8);
        g.height = U16(rec + 10);
        g.xOffset = I16(rec + 12);
        g.yOffset = I16(rec + 14);
        g.xAdvance = I16(rec + 16);
        g.page = U16(rec + 18);
        if (g.page >= pageCount) return false;
        if (x + g.width > texW || y + g.height > texH) return false;
        const float left = static_cast<float>(x) / texW;
        const float top = static_cast<float>(y) / texH;
        const float right = static_cast<float>(x + g.width) / texW;
        const float bottom = static_cast<float>(y + g.height) / texH;
        const float uv[8] = {left, top, left, bottom, right, bottom, right, top};
        std::memcpy(g.uv, uv, sizeof uv);
    }
    return true;
}

bool LoadPages(const char* fontPath, Staging& s) {
    // Page names are relative to the font file's directory.
    const char* slash = std::strrchr(fontPath, '/');
    const size_t dirLength = slash ? static_cast<size_t>(slash - fontPath) + 1 : 0;
    for (uint16_t i = 0; i < s.header[6]; ++i) {
        char path[kPathMax];
        const size_t nameLength = std::strlen(s.pages[i].name);
        if (dirLength + nameLength >= sizeof path) return false;
        std::memcpy(path, fontPath, dirLength);
        std::memcpy(path + dirLength, s.pages[i].name, nameLength + 1);
        CIwTexture* texture = new CIwTexture();
        s.pages[i].texture = texture;
        // A page without alpha carries the distance as grey levels.
        if (!texture->LoadFromFile(path, true)) return false;
        // Glyph rectangles were checked against the header's size; a page of
        // another size would put every glyph in the wrong place.
        if (texture->GetWidth() != s.header[4] || texture->GetHeight() != s.header[5]) {
            return false;
        }
        texture->SetMipMapping(false);
        texture->SetFiltering(true);
        // Without a running engine (measuring only) the pixels wait for the first draw.
        if (IwGxIsStarted() && !texture->Upload()) return false;
    }
    return true;
}

}  // namespace

SdfFont* g_font = nullptr;

void ClearFont(SdfFont* font) {
    if (!font) return;
    if (font->pages) {
        for (uint16_t i = 0; i < font->pageCount; ++i)
            delete font->pages[i].texture;
    }
    std::free(font->pages);
    std::free(font->glyphs);
    std::memset(static_cast<void*>(font), 0, sizeof *font);
}

bool LoadFont(SdfFont* font, const char* path) {
    if (!font) return false;
    ClearFont(font);
    if (!path) return false;
    s3eFile* file = s3eFileOpen(path, "rb");
    if (!file) return false;
    Staging s;
    const bool read = ReadRecords(file, s);
    s3eFileClose(file);
    if (!read || !LoadPages(path, s)) return false;

    font->fontSize = s.header[0];
    font->lineHeight = s.header[1];
    font->reserved = s.header[2];
    font->smoothRef = s.header[3];
    font->textureWidth = s.header[4];
    font->textureHeight = s.header[5];
    font->pageCount = s.header[6];
    font->glyphCount = s.header[7];
    font->pages = s.pages;
    font->glyphs = s.glyphs;
    s.pages = nullptr;
    s.glyphs = nullptr;

    font->scale = 1.0f;
    font->lineSpacing = 1.0f;
    font->tracking = 0.0f;
    font->indent = 0.0f;
    font->colour = 0xFFFFFFFFu;
    font->outlineColour = 0xFF000000u;
    font->layoutFlags = 0;
    font->style = 0;
    font->smoothing = kSmoothingAuto;
    font->outlineWidth = 0.15f;
    font->maxWidth = 0.0f;
    font->maxHeight = 0.0f;
    font->batch = nullptr;
    font->loaded = true;
    return true;
}

SdfFont* CreateFont() {
    return static_cast<SdfFont*>(std::calloc(1, sizeof(SdfFont)));
}

void DestroyFont(SdfFont* font) {
    if (!font) return;
    ClearFont(font);
    std::free(font);
}
