// The game's one text renderer: a signed-distance-field bitmap font loaded from
// its binary file, text laid out into meshes that serve both measuring and
// drawing, three shader techniques (plain, bold, outline), and glyph batches
// that draw many single-glyph texts in one call.
#pragma once

#include <cstdint>

class CIwTexture;
class CIwMaterial;

// layoutFlags bits.
enum : uint16_t {
    kLayoutCentre = 0x001,         // centre each line within maxWidth
    kLayoutRight = 0x002,          // align each line to the right end of maxWidth
    kLayoutTopAtY = 0x004,         // top of the highest glyph at y
    kLayoutCentreV = 0x008,        // glyphs' vertical extent centred in maxHeight below y
    kLayoutBottom = 0x010,         // bottom of the lowest glyph at y + maxHeight
    kLayoutWrapAnywhere = 0x020,   // wrap at the overflowing character, not the last space
    kLayoutFirstLineOnly = 0x040,  // lay out the first line only
    kLayoutClipBottom = 0x080,     // drop the line reaching below y + maxHeight, and stop
    kLayoutKeepWords = 0x100,      // never break a line that holds no space yet
    kLayoutRightToLeft = 0x200,    // place each line's glyphs from right to left
};

// style bits.
enum : uint8_t {
    kStyleSoft = 0x01,     // softer automatic edges
    kStyleItalic = 0x02,   // slanted quads
    kStyleBold = 0x04,     // bold technique
    kStyleOutline = 0x08,  // outline technique
};

// Smoothing value that asks for the automatic edge width.
constexpr float kSmoothingAuto = -1.0f;
// Indices are 16-bit: four vertices a quad leave room for this many quads.
constexpr uint32_t kMaxTextQuads = 16383;
// Longer texts are not laid out.
constexpr uint32_t kMaxTextChars = 65535;

struct SdfFontPage {
    char name[64];
    CIwTexture* texture;  // owned
};

struct SdfGlyph {
    uint32_t code;
    // Texture coordinates: top-left, bottom-left, bottom-right, top-right (u, v each).
    float uv[8];
    uint16_t width, height;
    int16_t xOffset, yOffset, xAdvance;
    uint16_t page;
};

struct GlyphBatch;

struct SdfFont {
    // Header, as read from the file.
    uint16_t fontSize;
    uint16_t lineHeight;
    uint16_t reserved;  // written by the font tool (the field's spread); not used here
    uint16_t smoothRef;
    uint16_t textureWidth;
    uint16_t textureHeight;
    uint16_t pageCount;
    uint16_t glyphCount;

    SdfFontPage* pages;  // pageCount, owned
    SdfGlyph* glyphs;    // glyphCount, owned
    bool loaded;

    // Render settings, read by every later layout.
    float scale;
    float lineSpacing;
    float tracking;          // pixels added to every advance before scaling
    float indent;            // pixels added to the pen at the start and after each line feed
    uint32_t colour;         // ColourWord
    uint32_t outlineColour;  // ColourWord
    uint16_t layoutFlags;
    uint8_t byteText;  // 1: every byte is a character; 0: UTF-8
    uint8_t style;
    float smoothing;  // kSmoothingAuto or an explicit edge half-width
    float outlineWidth;
    float maxWidth;   // 0: none
    float maxHeight;  // 0: none
    GlyphBatch* batch;
};

struct TextMesh {
    uint32_t charCount;
    uint32_t textHash;
    float x, y;
    // Copies of the settings the mesh was laid out with.
    float scale;
    float angle;
    float maxWidth;
    float maxHeight;
    uint32_t colour;
    uint32_t outlineColour;
    float lineSpacing;
    float tracking;
    uint16_t layoutFlags;
    uint8_t style;
    float smoothing;
    float outlineWidth;
    // Indent and byteText change the layout too, so a mesh remembers them as well.
    float indent;
    uint8_t byteText;

    uint32_t quadCount;
    float* vertices;      // 4 (x, y) pairs a quad, screen pixels
    float* uvs;           // 4 (u, v) pairs a quad
    uint16_t* indices;    // 6 a quad, in page order
    uint16_t* quadPages;  // page of each quad
    uint16_t runCount;
    uint16_t* runs;  // runCount pairs: page, first quad in index order
    uint32_t lineCount;
    float widestLine;
    float textHeight;
    uint8_t inFrameMemory;  // 1: arrays in per-frame scratch memory; 0: owned heap arrays

    uint32_t capacity;     // characters the arrays were sized for
    uint16_t runCapacity;  // runs the run array was sized for
};

struct GlyphBatch {
    CIwMaterial* material;  // from the first text added
    uint16_t page;
    float* vertices;
    float* uvs;
    uint16_t* indices;
    uint16_t capacity;
    uint16_t count;
};

// ---------------------------------------------------------------------------
// Characters and the text hash.

// Number of characters: bytes when byteText, else bytes that are not UTF-8
// continuation bytes, counted up to the terminating zero.
uint32_t CountTextChars(const char* text, bool byteText);
// Decodes one character at text[*pos] and advances *pos. False for a refused
// sequence (and at the terminating zero), leaving *pos where it was.
bool DecodeTextChar(const char* text, uint32_t* pos, bool byteText, uint32_t* code);
// h = 1315423911; for each byte c: h ^= (h << 5) + c + (h >> 2), in 32 bits.
uint32_t TextHash(const char* text);

// ---------------------------------------------------------------------------
// The font's life.

// Loads the three shader techniques from the built-in group "SDFF_shaders".
// Gives how many of "sdf_font", "sdf_font_bold", "sdf_font_outline" exist.
int CreateTechniques();
// Frees pages, textures and glyphs and zeroes the font.
void ClearFont(SdfFont* font);
// Reads and checks the font file and its page images; false leaves the font
// cleared and not loaded, so that every text operation does nothing.
bool LoadFont(SdfFont* font, const char* path);
// A new zeroed font object, and its end (ClearFont, then free).
SdfFont* CreateFont();
void DestroyFont(SdfFont* font);

// The game's one font: made and loaded at start-up, destroyed at shut-down;
// null outside that span.
extern SdfFont* g_font;

// ---------------------------------------------------------------------------
// Layout and drawing.

// A zeroed mesh whose arrays the mesh owns on the heap; for meshes kept across frames.
TextMesh* CreateTextMesh();
// Frees a mesh record made by CreateTextMesh or by LayoutText, with its heap arrays.
void FreeTextMesh(TextMesh* mesh);

// Lays text out at (x, y), the pen starting at x + indent and the first line's
// top at y, turned by angle degrees (clockwise on screen). When *mesh is null
// a new zeroed mesh whose arrays live in per-frame memory is made for the
// caller to free with FreeTextMesh; it is made even when the text cannot be
// laid out, so a caller can always read its (then zero) measures. False when
// nothing was laid out: font not loaded, null text, more than kMaxTextChars
// characters or more than kMaxTextQuads quads; the mesh is then empty.
bool LayoutText(SdfFont* font, TextMesh** mesh, float x, float y, const char* text,
                float angle = 0.0f);
// Draws a laid-out mesh, or adds it to the font's current glyph batch.
void RenderText(SdfFont* font, const TextMesh* mesh);
// LayoutText into a temporary mesh, RenderText, free the mesh.
void DrawText(SdfFont* font, float x, float y, const char* text, float angle = 0.0f);
// Widest line and text height of text with the font's current settings (0 when
// the font is not loaded); the position does not change either.
void MeasureText(SdfFont* font, const char* text, float* width, float* height);

// Glyph batches: one material and one draw call for many single-glyph texts.
GlyphBatch* CreateGlyphBatch(uint16_t capacity);
void SetGlyphBatch(SdfFont* font, GlyphBatch* batch);
void FlushGlyphBatch(SdfFont* font, GlyphBatch* batch);

// ---------------------------------------------------------------------------
// For tests and diagnostics.

// The smoothing RenderText uses for a mesh: its own, or the automatic one.
float EffectiveSmoothing(const SdfFont* font, const TextMesh* mesh);
// The material colour that carries smoothing (red byte) and outline width (green byte).
uint32_t SmoothingAmbient(float smoothing, float outlineWidth);
// Name of the technique RenderText draws a style with, given what exists; null for none.
const char* TechniqueNameForStyle(uint8_t style);
