// The 2D drawing layer over the engine: the drawing state, images, and the
// batcher that joins consecutive primitives of one material and kind into a
// single draw call.
#include "draw2d/iw2d.h"

#include <cstdio>
#include <cstring>

#include "platform/s3e.h"

namespace {

// ===========================================================================
// Images

class CIw2DImageConcrete : public CIw2DImage {
  public:
    explicit CIw2DImageConcrete(const char* path) {
        if (texture_.LoadFromFile(path)) {
            texture_.SetMipMapping(false);
            texture_.SetFiltering(true);
            loaded_ = texture_.Upload() || texture_.IsLoaded();
        }
        material_.SetTexture(&texture_);
    }
    float GetWidth() override { return static_cast<float>(texture_.GetWidth()); }
    float GetHeight() override { return static_cast<float>(texture_.GetHeight()); }
    CIwMaterial* GetMaterial() override { return loaded_ ? &material_ : nullptr; }
    bool Loaded() const { return loaded_; }
    bool HasAlpha() const { return texture_.HasAlpha(); }

  private:
    CIwTexture texture_;
    CIwMaterial material_;
    bool loaded_ = false;
};

// ===========================================================================
// Batcher

enum class Kind { kTriangles, kLines };

struct CBatchHeader {
    CIwMaterial* material;
    bool blend;
    Kind kind;
    int32_t vertexCount;
    int32_t indexCount;
};

class CIw2DBatcher {
  public:
    // Room for every filled run and line of an 80 x 80 board in one batch each.
    static constexpr int32_t kMaxVertices = 16384;
    static constexpr int32_t kMaxIndices = 24576;

    // Room for v more vertices and i more indices in a batch of this key;
    // flushes the pending batch first when the key differs or storage is full.
    void Begin(CIwMaterial* material, bool blend, Kind kind, int32_t v, int32_t i) {
        CBatchHeader& h = header_;
        bool same = h.material == material && h.blend == blend && h.kind == kind;
        if (!same || h.vertexCount + v > kMaxVertices || h.indexCount + i > kMaxIndices) {
            Flush();
            h.material = material;
            h.blend = blend;
            h.kind = kind;
        }
    }

    // Appends a vertex; gives its index within the batch.
    uint16_t Vertex(float x, float y, float u, float v, uint32_t colour) {
        int32_t n = header_.vertexCount++;
        xy_[n * 2] = x;
        xy_[n * 2 + 1] = y;
        uv_[n * 2] = u;
        uv_[n * 2 + 1] = v;
        colours_[n] = colour;
        return static_cast<uint16_t>(n);
    }

    void Index(uint16_t i) { indices_[header_.indexCount++] = i; }

    void Flush() {
        CBatchHeader& h = header_;
        if (h.material && h.indexCount > 0) {
            h.material->SetAlphaMode(h.blend ? CIwMaterial::ALPHA_BLEND : CIwMaterial::ALPHA_NONE);
            IwGxSetMaterial(h.material);
            IwGxSetVertStreamScreenSpace(xy_, h.vertexCount);
            IwGxSetUVStream(h.material->GetTexture() ? uv_ : nullptr);
            IwGxSetColStream(colours_);
            IwGxDrawPrims(h.kind == Kind::kLines ? IW_GX_LINE_LIST : IW_GX_TRI_LIST, indices_,
                          h.indexCount);
            IwGxSetColStream(nullptr);
        }
        h.vertexCount = 0;
        h.indexCount = 0;
    }

    // Forgets a material that is about to go away.
    void Drop(CIwMaterial* material) {
        if (header_.material == material) {
            Flush();
            header_.material = nullptr;
        }
    }

  private:
    CBatchHeader header_{};
    float xy_[kMaxVertices * 2];
    float uv_[kMaxVertices * 2];
    uint32_t colours_[kMaxVertices];
    uint16_t indices_[kMaxIndices];
};

// ===========================================================================
// Drawing state

struct DrawingState {
    int started = 0;
    uint32_t colour = 0xFFFFFFFFu;
    CIwMaterial* untextured = nullptr;  // "Iw2DUnTexturedPrimitive"
    CIw2DBatcher* batcher = nullptr;
};

DrawingState& S() {
    static DrawingState s;
    return s;
}

bool ColourBlends(uint32_t colour) {
    return (colour >> 24) < 254;
}

CIwMaterial* UntexturedMaterial() {
    DrawingState& s = S();
    if (!s.untextured) s.untextured = new CIwMaterial();
    return s.untextured;
}

// Lines are drawn through pixel centres so that a line at an integer position
// lights exactly the pixels at that position.
constexpr float kLineOffset = 0.5f;

void AddLine(float x1, float y1, float x2, float y2) {
    DrawingState& s = S();
    s.batcher->Begin(UntexturedMaterial(), ColourBlends(s.colour), Kind::kLines, 2, 2);
    s.batcher->Index(s.batcher->Vertex(x1 + kLineOffset, y1 + kLineOffset, 0, 0, s.colour));
    s.batcher->Index(s.batcher->Vertex(x2 + kLineOffset, y2 + kLineOffset, 0, 0, s.colour));
}

void AddQuad(CIwMaterial* material, bool blend, float x, float y, float w, float h) {
    DrawingState& s = S();
    s.batcher->Begin(material, blend, Kind::kTriangles, 4, 6);
    uint16_t a = s.batcher->Vertex(x, y, 0, 0, s.colour);
    uint16_t b = s.batcher->Vertex(x, y + h, 0, 1, s.colour);
    uint16_t c = s.batcher->Vertex(x + w, y + h, 1, 1, s.colour);
    uint16_t d = s.batcher->Vertex(x + w, y, 1, 0, s.colour);
    const uint16_t order[6] = {a, b, c, a, c, d};
    for (uint16_t i : order)
        s.batcher->Index(i);
}

}  // namespace

// ===========================================================================
// Operations

void InitDrawing() {
    DrawingState& s = S();
    if (s.started++ > 0) return;
    IwGxInit();
    IwResManagerInit();
    s.batcher = new CIw2DBatcher();
    s.colour = 0xFFFFFFFFu;
    s.untextured = nullptr;
}

void TerminateDrawing() {
    DrawingState& s = S();
    if (s.started == 0) return;
    if (--s.started > 0) return;
    s.batcher->Flush();
    delete s.batcher;
    s.batcher = nullptr;
    delete s.untextured;
    s.untextured = nullptr;
    IwResManagerTerminate();
    IwGxTerminate();
}

CIw2DImage* CreateImage(const char* path) {
    auto* image = new CIw2DImageConcrete(path ? path : "");
    if (!image->Loaded()) {
        char text[320];
        std::snprintf(text, sizeof text, "image %s could not be loaded; it will not be drawn",
                      path ? path : "(null)");
        s3eDebugOutputString(text);
    }
    return image;
}

void SetDrawColour(uint32_t colour) {
    DrawingState& s = S();
    if (colour == s.colour) return;
    s.colour = colour;
    if (s.untextured) {
        if (s.batcher) s.batcher->Drop(s.untextured);
        delete s.untextured;
        s.untextured = nullptr;
    }
}

uint32_t GetDrawColour() {
    return S().colour;
}

void DrawImage(CIw2DImage* image, float x, float y, float w, float h) {
    DrawingState& s = S();
    if (!s.batcher || !image) return;
    CIwMaterial* material = image->GetMaterial();
    if (!material) return;
    auto* concrete = static_cast<CIw2DImageConcrete*>(image);
    AddQuad(material, concrete->HasAlpha() || ColourBlends(s.colour), x, y, w, h);
}

void FillRect(float x, float y, float w, float h) {
    DrawingState& s = S();
    if (!s.batcher) return;
    AddQuad(UntexturedMaterial(), ColourBlends(s.colour), x, y, w, h);
}

void DrawRect(float x, float y, float w, float h) {
    if (!S().batcher) return;
    // The closed outline as four segments, so that outlines batch with lines.
    AddLine(x, y, x + w, y);
    AddLine(x + w, y, x + w, y + h);
    AddLine(x + w, y + h, x, y + h);
    AddLine(x, y + h, x, y);
}

void DrawLine(float x1, float y1, float x2, float y2) {
    if (!S().batcher) return;
    AddLine(x1, y1, x2, y2);
}

void ClearSurface(uint32_t colour) {
    DrawingState& s = S();
    if (!s.batcher) return;
    s.batcher->Flush();
    IwGxSetColClear(static_cast<uint8_t>(colour & 0xFF), static_cast<uint8_t>((colour >> 8) & 0xFF),
                    static_cast<uint8_t>((colour >> 16) & 0xFF),
                    static_cast<uint8_t>((colour >> 24) & 0xFF));
    IwGxClear();
}

int32_t GetSurfaceWidth() {
    return IwGxGetScreenWidth();
}
int32_t GetSurfaceHeight() {
    return IwGxGetScreenHeight();
}

void FlushDrawing() {
    if (S().batcher) S().batcher->Flush();
}

void ShowSurface() {
    if (!S().batcher) return;
    S().batcher->Flush();
    IwGxSwapBuffers();
}
