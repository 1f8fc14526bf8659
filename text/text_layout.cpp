// Text layout: lines, wrapping, alignment, vertical placement and rotation of
// a text's glyph quads, and the cheap paths that only move or re-place a mesh
// that already holds the same text.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/iwgx.h"
#include "text/sdf_font.h"

namespace {

constexpr float kNoTop = 1000000.0f;
constexpr float kDegreesToRadians = 0.017453292f;

const SdfGlyph* FindGlyph(const SdfFont* font, uint32_t code) {
    for (uint16_t i = 0; i < font->glyphCount; ++i) {
        if (font->glyphs[i].code == code) return &font->glyphs[i];
    }
    return nullptr;
}

void FreeArrays(TextMesh* m) {
    if (!m->inFrameMemory) {
        std::free(m->vertices);
        std::free(m->uvs);
        std::free(m->indices);
        std::free(m->quadPages);
        std::free(m->runs);
    }
    m->vertices = m->uvs = nullptr;
    m->indices = m->quadPages = m->runs = nullptr;
    m->capacity = 0;
    m->runCapacity = 0;
}

template <typename T>
T* Alloc(const TextMesh* m, size_t count) {
    if (m->inFrameMemory) return IwGxScratchNew<T>(count);
    return static_cast<T*>(std::calloc(count, sizeof(T)));
}

bool Reserve(TextMesh* m, uint32_t chars, uint16_t pages) {
    FreeArrays(m);
    const size_t n = chars > 0 ? chars : 1;
    const size_t p = pages > 0 ? pages : 1;
    m->vertices = Alloc<float>(m, n * 8);
    m->uvs = Alloc<float>(m, n * 8);
    m->indices = Alloc<uint16_t>(m, n * 6);
    m->quadPages = Alloc<uint16_t>(m, n);
    m->runs = Alloc<uint16_t>(m, p * 2);
    if (!m->vertices || !m->uvs || !m->indices || !m->quadPages || !m->runs) {
        FreeArrays(m);
        return false;
    }
    m->capacity = chars;
    m->runCapacity = static_cast<uint16_t>(p);
    return true;
}

// Leaves a mesh that draws nothing and measures zero, and that any later
// layout lays out afresh.
void EmptyMesh(TextMesh* m) {
    m->charCount = 0;
    m->textHash = 0;
    m->quadCount = 0;
    m->runCount = 0;
    m->lineCount = 0;
    m->widestLine = 0.0f;
    m->textHeight = 0.0f;
}

void PlaceQuad(TextMesh* m, uint32_t q, const SdfGlyph* g, float penX, float penY, float s,
               float slant) {
    const float left = g->xOffset * s + penX;
    const float right = left + g->width * s;
    const float top = g->yOffset * s + penY;
    const float bottom = top + g->height * s;
    float* v = m->vertices + q * 8;
    v[0] = left + slant;
    v[1] = top;
    v[2] = left;
    v[3] = bottom;
    v[4] = right;
    v[5] = bottom;
    v[6] = right + slant;
    v[7] = top;
    std::memcpy(m->uvs + q * 8, g->uv, sizeof g->uv);
    m->quadPages[q] = g->page;
}

void ShiftQuads(TextMesh* m, uint32_t first, uint32_t end, float dx, float dy) {
    for (uint32_t i = first * 4; i < end * 4; ++i) {
        m->vertices[2 * i] += dx;
        m->vertices[2 * i + 1] += dy;
    }
}

uint32_t SkipSpaces(const char* text, uint32_t pos) {
    while (text[pos] == ' ')
        ++pos;
    return pos;
}

// Indices in page order (a stable order within each page) and the page runs.
void BuildIndices(const SdfFont* font, TextMesh* m) {
    m->runCount = 0;
    uint32_t place = 0;
    for (uint16_t page = 0; page < font->pageCount && m->runCount < m->runCapacity; ++page) {
        const uint32_t first = place;
        for (uint32_t q = 0; q < m->quadCount; ++q) {
            if (m->quadPages[q] != page) continue;
            uint16_t* idx = m->indices + place * 6;
            const uint16_t b = static_cast<uint16_t>(q * 4);
            idx[0] = b;
            idx[1] = static_cast<uint16_t>(b + 1);
            idx[2] = static_cast<uint16_t>(b + 2);
            idx[3] = static_cast<uint16_t>(b + 2);
            idx[4] = static_cast<uint16_t>(b + 3);
            idx[5] = b;
            ++place;
        }
        if (place > first) {
            m->runs[m->runCount * 2] = page;
            m->runs[m->runCount * 2 + 1] = static_cast<uint16_t>(first);
            ++m->runCount;
        }
    }
}

// The whole layout of text into m, whose arrays hold m->charCount characters.
// False when the text needs more quads than 16-bit indices can reach.
bool FullLayout(const SdfFont* font, TextMesh* m, const char* text) {
    const float x = m->x, y = m->y;
    const float s = m->scale;
    const uint16_t flags = m->layoutFlags;
    const bool byteText = m->byteText != 0;
    const float maxWidth = m->maxWidth, maxHeight = m->maxHeight;
    const float lineStep = font->lineHeight * m->lineSpacing * s;
    const float slant = (m->style & kStyleItalic) ? 0.33f * font->fontSize * s : 0.0f;

    uint32_t q = 0;
    float penX = x + m->indent, penY = y;
    float lowest = y, highest = kNoTop;
    float widest = 0.0f;
    uint32_t lines = 0;

    uint32_t pos = 0;
    // The line being built.
    uint32_t lineStart = 0, lineFirstQuad = 0;
    float lowestBefore = lowest, highestBefore = highest;
    bool lineHasSpace = false;
    // The run of spaces being read, and the last run that may take a break.
    bool inSpaceRun = false;
    uint32_t runPos = 0, runQuads = 0;
    float runPen = 0.0f;
    bool haveBreak = false;
    uint32_t breakPos = 0, breakQuads = 0, breakResume = 0;
    float breakPen = 0.0f;

    for (;;) {
        uint32_t next = pos, code = 0;
        const bool atEnd = !DecodeTextChar(text, &next, byteText, &code);
        const bool isLineFeed = !atEnd && code == 10;
        const bool isSpace = !atEnd && code == ' ';
        const SdfGlyph* g = (atEnd || isLineFeed) ? nullptr : FindGlyph(font, code);
        const float advance = g ? (g->xAdvance + m->tracking) * s : 0.0f;

        bool ends = atEnd || isLineFeed;
        bool overflow = false;
        // A line breaks only once it holds a quad, so every line takes at least
        // one character and a glyph wider than maxWidth cannot loop forever.
        if (!ends && maxWidth > 0.0f && q > lineFirstQuad &&
            penX - x + advance + slant > maxWidth) {
            if (!((flags & kLayoutKeepWords) && !lineHasSpace && !isSpace)) {
                ends = true;
                overflow = true;
            }
        }

        if (!ends) {
            if (isSpace && !inSpaceRun) {
                inSpaceRun = true;
                runPos = pos;
                runQuads = q;
                runPen = penX;
            }
            if (g) {
                if (g->width != 0 && g->height != 0) {
                    if (q >= kMaxTextQuads) return false;
                    PlaceQuad(m, q, g, penX, penY, s, slant);
                    const float* v = m->vertices + q * 8;
                    if (v[1] < highest) highest = v[1];
                    if (v[3] > lowest) lowest = v[3];
                    ++q;
                }
                penX += advance;
            }
            if (isSpace) {
                lineHasSpace = true;
                // A break point: the line may end before this run of spaces.
                if (runQuads > lineFirstQuad) {
                    haveBreak = true;
                    breakPos = runPos;
                    breakQuads = runQuads;
                    breakPen = runPen;
                    breakResume = next;
                }
            } else {
                inSpaceRun = false;
            }
            pos = next;
            continue;
        }

        // The line ends here.
        if ((flags & kLayoutClipBottom) && maxHeight > 0.0f && lowest > y + maxHeight) {
            q = lineFirstQuad;
            lowest = lowestBefore;
            highest = highestBefore;
            break;
        }
        bool stop = atEnd || (flags & kLayoutFirstLineOnly);
        uint32_t contentEnd = pos;
        uint32_t resume = isLineFeed ? next : pos;
        if (overflow) {
            if (isSpace) {
                // The line is full exactly where a space stands: everything on it
                // stays, trailing spaces take no room, and the next line starts
                // after the run.
                if (inSpaceRun) {
                    q = runQuads;
                    penX = runPen;
                    contentEnd = runPos;
                }
                resume = SkipSpaces(text, pos);
            } else if (flags & kLayoutWrapAnywhere) {
                resume = pos;
            } else if (haveBreak) {
                q = breakQuads;
                penX = breakPen;
                contentEnd = breakPos;
                resume = SkipSpaces(text, breakResume);
            } else {
                resume = pos;
            }
        }

        if (flags & kLayoutRightToLeft) {
            // Place the line's glyphs again, each one's advance taken off the pen first.
            float pen = penX;
            uint32_t k = lineFirstQuad;
            for (uint32_t p = lineStart; p < contentEnd && k < q;) {
                uint32_t c = 0;
                if (!DecodeTextChar(text, &p, byteText, &c)) break;
                const SdfGlyph* lg = FindGlyph(font, c);
                if (!lg) continue;
                pen -= (lg->xAdvance + m->tracking) * s;
                if (lg->width != 0 && lg->height != 0) PlaceQuad(m, k++, lg, pen, penY, s, slant);
            }
        }

        const float lineWidth = penX - x + slant;
        float shift = 0.0f;
        if (flags & kLayoutCentre) {
            shift = (maxWidth - lineWidth) * 0.5f;
        } else if (flags & kLayoutRight) {
            shift = maxWidth - lineWidth;
        }
        if (shift != 0.0f) ShiftQuads(m, lineFirstQuad, q, shift, 0.0f);
        if (penX - x > widest) widest = penX - x;
        ++lines;
        if (stop) break;

        penX = x + (isLineFeed ? m->indent : 0.0f);
        penY += lineStep;
        pos = resume;
        lineStart = resume;
        lineFirstQuad = q;
        lowestBefore = lowest;
        highestBefore = highest;
        lineHasSpace = false;
        inSpaceRun = false;
        haveBreak = false;
    }

    m->quadCount = q;
    m->lineCount = lines;
    m->widestLine = widest;
    // Without a quad there is no extent: the text is 0 high under every flag.
    if (q == 0) highest = lowest = y;
    const bool fromTop = (flags & (kLayoutTopAtY | kLayoutCentreV | kLayoutBottom)) != 0;
    m->textHeight = fromTop ? lowest - highest : lowest - y;

    float shiftY = 0.0f;
    if (flags & kLayoutTopAtY) {
        shiftY = y - highest;
    } else if (flags & kLayoutCentreV) {
        shiftY = (maxHeight - ((lowest - y) - (y - highest))) * 0.5f;
    } else if (flags & kLayoutBottom) {
        shiftY = maxHeight - (lowest - y);
    }
    if (shiftY != 0.0f) ShiftQuads(m, 0, q, 0.0f, shiftY);

    if (m->angle != 0.0f) {
        float px = x, py = y;
        if (maxWidth > 0.0f && maxHeight > 0.0f) {
            px = x + maxWidth * 0.5f;
            py = y + maxHeight * 0.5f;
        }
        const float a = m->angle * kDegreesToRadians;
        const float c = std::cos(a), sn = std::sin(a);
        for (uint32_t i = 0; i < q * 4; ++i) {
            const float dx = m->vertices[2 * i] - px, dy = m->vertices[2 * i + 1] - py;
            m->vertices[2 * i] = px + dx * c - dy * sn;
            m->vertices[2 * i + 1] = py + dx * sn + dy * c;
        }
    }
    return true;
}

bool SameSettings(const SdfFont* f, const TextMesh* m, float angle) {
    return m->scale == f->scale && m->angle == angle && m->lineSpacing == f->lineSpacing &&
           m->tracking == f->tracking && m->layoutFlags == f->layoutFlags && m->style == f->style &&
           m->maxWidth == f->maxWidth && m->maxHeight == f->maxHeight && m->indent == f->indent;
}

}  // namespace

TextMesh* CreateTextMesh() {
    return static_cast<TextMesh*>(std::calloc(1, sizeof(TextMesh)));
}

void FreeTextMesh(TextMesh* mesh) {
    if (!mesh) return;
    FreeArrays(mesh);
    std::free(mesh);
}

bool LayoutText(SdfFont* font, TextMesh** meshRef, float x, float y, const char* text,
                float angle) {
    if (!meshRef) return false;
    if (!*meshRef) {
        *meshRef = CreateTextMesh();
        if (!*meshRef) return false;
        (*meshRef)->inFrameMemory = 1;
    }
    TextMesh* m = *meshRef;
    if (!font || !font->loaded || !text) {
        EmptyMesh(m);
        return false;
    }
    const bool byteText = font->byteText != 0;
    const uint32_t chars = CountTextChars(text, byteText);
    if (chars > kMaxTextChars) {
        EmptyMesh(m);
        return false;
    }

    m->colour = font->colour;
    m->outlineColour = font->outlineColour;
    m->smoothing = font->smoothing;
    m->outlineWidth = font->outlineWidth;

    const uint32_t hash = TextHash(text);
    const bool sameText = chars == m->charCount && hash == m->textHash &&
                          m->byteText == font->byteText && m->vertices != nullptr;
    bool indicesValid = sameText;
    if (sameText && SameSettings(font, m, angle)) {
        if (x != m->x || y != m->y) {
            ShiftQuads(m, 0, m->quadCount, x - m->x, y - m->y);
            m->x = x;
            m->y = y;
        }
        return true;
    }
    if (!sameText || m->capacity < chars || m->runCapacity < font->pageCount) {
        if (!Reserve(m, chars, font->pageCount)) {
            EmptyMesh(m);
            return false;
        }
        indicesValid = false;
    }

    const uint32_t oldQuads = m->quadCount;
    m->charCount = chars;
    m->textHash = hash;
    m->byteText = font->byteText;
    m->x = x;
    m->y = y;
    m->scale = font->scale;
    m->angle = angle;
    m->lineSpacing = font->lineSpacing;
    m->tracking = font->tracking;
    m->layoutFlags = font->layoutFlags;
    m->style = font->style;
    m->maxWidth = font->maxWidth;
    m->maxHeight = font->maxHeight;
    m->indent = font->indent;
    if (!FullLayout(font, m, text)) {
        EmptyMesh(m);
        return false;
    }
    // With one page the indices depend on the quad count alone; with more, a
    // new wrap may change which quads lie on which page.
    if (!indicesValid || m->quadCount != oldQuads || font->pageCount > 1) BuildIndices(font, m);
    return true;
}

void MeasureText(SdfFont* font, const char* text, float* width, float* height) {
    // One mesh with heap arrays, reused: fitting searches measure again and again.
    static TextMesh* mesh = CreateTextMesh();
    float w = 0.0f, h = 0.0f;
    if (mesh && LayoutText(font, &mesh, 0.0f, 0.0f, text, 0.0f)) {
        w = mesh->widestLine;
        h = mesh->textHeight;
    }
    if (width) *width = w;
    if (height) *height = h;
}
