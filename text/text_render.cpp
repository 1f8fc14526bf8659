// Drawing laid-out text through the engine: the material that carries the
// colours, smoothing and outline width to the techniques, one indexed draw per
// page run, and glyph batches that gather single-glyph texts into one draw.
#include <algorithm>
#include <cstring>

#include "engine/iwgx.h"
#include "text/sdf_font.h"
#include "text/sdf_shaders.h"

namespace {

CIwGxShaderTechnique* TechniqueForStyle(uint8_t style) {
    // Fall back along outline, bold, plain; then to whichever exists at all.
    int first = (style & kStyleOutline) ? 0 : (style & kStyleBold) ? 1 : 2;
    for (int i = 0; i < 3; ++i) {
        if (CIwGxShaderTechnique* t = IwResFindTechnique(kSdfTechniqueNames[(first + i) % 3])) {
            return t;
        }
    }
    return nullptr;
}

CIwMaterial* TextMaterial(const SdfFont* font, const TextMesh* mesh, uint16_t page) {
    CIwMaterial* mat = IwGxAllocFrameMaterial();
    mat->SetTexture(font->pages[page].texture);
    mat->SetFiltering(true);
    mat->SetAlphaMode(CIwMaterial::ALPHA_BLEND);
    mat->SetColEmissive(mesh->colour);
    mat->SetColAmbient(SmoothingAmbient(EffectiveSmoothing(font, mesh), mesh->outlineWidth));
    mat->SetColDiffuse(mesh->outlineColour);
    mat->SetShaderTechnique(TechniqueForStyle(mesh->style));
    return mat;
}

// Appends a mesh's quads to the batch; false when the mesh is not for this batch.
bool AddToBatch(const SdfFont* font, GlyphBatch* batch, const TextMesh* mesh) {
    const uint16_t page = mesh->quadPages[0];
    for (uint32_t q = 1; q < mesh->quadCount; ++q) {
        if (mesh->quadPages[q] != page) return false;
    }
    if (batch->count == 0) {
        batch->material = TextMaterial(font, mesh, page);
        batch->page = page;
    } else if (batch->page != page) {
        return false;
    }
    // A full batch takes nothing more: it was sized by its owner.
    for (uint32_t q = 0; q < mesh->quadCount && batch->count < batch->capacity; ++q) {
        const uint32_t at = batch->count;
        std::memcpy(batch->vertices + at * 8, mesh->vertices + q * 8, 8 * sizeof(float));
        std::memcpy(batch->uvs + at * 8, mesh->uvs + q * 8, 8 * sizeof(float));
        const uint16_t b = static_cast<uint16_t>(at * 4);
        const uint16_t idx[6] = {b,
                                 static_cast<uint16_t>(b + 1),
                                 static_cast<uint16_t>(b + 2),
                                 static_cast<uint16_t>(b + 2),
                                 static_cast<uint16_t>(b + 3),
                                 b};
        std::memcpy(batch->indices + at * 6, idx, sizeof idx);
        ++batch->count;
    }
    return true;
}

}  // namespace

float EffectiveSmoothing(const SdfFont* font, const TextMesh* mesh) {
    if (mesh->smoothing != kSmoothingAuto) return mesh->smoothing;
    const float f = (mesh->style & kStyleSoft) ? 1.5f : 1.0f;
    const float ref = font->smoothRef > 0 ? font->smoothRef : 1.0f;
    // Letters drawn on more device pixels than surface pixels keep an edge
    // of the same device pixels, so they stay as sharp as at full size.
    const float scale = mesh->scale > 0.0f ? mesh->scale * IwGxGetPixelScale() : 0.0f;
    if (scale == 0.0f) return 0.3f;
    return std::min(0.25f / ref / scale * f, 0.3f);
}

uint32_t SmoothingAmbient(float smoothing, float outlineWidth) {
    auto byte = [](float v) -> uint32_t {
        if (!(v > 0.0f)) return 0;
        return v >= 255.0f ? 255u : static_cast<uint32_t>(v);
    };
    return byte(smoothing * 850.0f) | (byte(outlineWidth * 1700.0f) << 8);
}

const char* TechniqueNameForStyle(uint8_t style) {
    CIwGxShaderTechnique* t = TechniqueForStyle(style);
    return t ? t->GetName() : nullptr;
}

void RenderText(SdfFont* font, const TextMesh* mesh) {
    if (!font || !font->loaded || !mesh || mesh->quadCount == 0 || !mesh->vertices) return;
    GlyphBatch* batch = font->batch;
    if (batch && AddToBatch(font, batch, mesh)) return;
    for (uint16_t r = 0; r < mesh->runCount; ++r) {
        const uint16_t page = mesh->runs[r * 2];
        const uint32_t first = mesh->runs[r * 2 + 1];
        const uint32_t end = r + 1 < mesh->runCount ? mesh->runs[r * 2 + 3] : mesh->quadCount;
        if (page >= font->pageCount || end <= first) continue;
        IwGxSetMaterial(TextMaterial(font, mesh, page));
        IwGxSetVertStreamScreenSpace(mesh->vertices, static_cast<int32_t>(mesh->quadCount * 4));
        IwGxSetUVStream(mesh->uvs);
        IwGxSetColStream(nullptr);
        IwGxDrawPrims(IW_GX_TRI_LIST, mesh->indices + first * 6,
                      static_cast<int32_t>((end - first) * 6));
    }
}

void DrawText(SdfFont* font, float x, float y, const char* text, float angle) {
    if (!font || !font->loaded || !text) return;
    TextMesh* mesh = nullptr;
    if (LayoutText(font, &mesh, x, y, text, angle)) RenderText(font, mesh);
    FreeTextMesh(mesh);
}

GlyphBatch* CreateGlyphBatch(uint16_t capacity) {
    // Four vertices a quad must stay within 16-bit indices.
    const uint16_t cap = static_cast<uint16_t>(std::min<uint32_t>(capacity, kMaxTextQuads));
    GlyphBatch* batch = IwGxScratchNew<GlyphBatch>(1);
    const size_t n = cap > 0 ? cap : 1;
    batch->vertices = IwGxScratchNew<float>(n * 8);
    batch->uvs = IwGxScratchNew<float>(n * 8);
    batch->indices = IwGxScratchNew<uint16_t>(n * 6);
    batch->capacity = cap;
    return batch;
}

void SetGlyphBatch(SdfFont* font, GlyphBatch* batch) {
    if (font) font->batch = batch;
}

void FlushGlyphBatch(SdfFont* font, GlyphBatch* batch) {
    if (!font || !batch || font->batch != batch || batch->count == 0 || !batch->material) return;
    IwGxSetMaterial(batch->material);
    IwGxSetVertStreamScreenSpace(batch->vertices, static_cast<int32_t>(batch->count) * 4);
    IwGxSetUVStream(batch->uvs);
    IwGxSetColStream(nullptr);
    IwGxDrawPrims(IW_GX_TRI_LIST, batch->indices, static_cast<int32_t>(batch->count) * 6);
    // Emptied, so the batch can gather again in the same frame.
    batch->count = 0;
    batch->material = nullptr;
}
