// The engine's GL state: start and end, the projection from surface pixels
// onto the drawable, the built-in programs for materials without a technique,
// streams, draws, clear and present. Consecutive text draws that share a
// material are joined into one GL draw, so a screen's draw calls do not grow
// with its texts.
//
// The game lays out on its surface; the host may draw that surface on a
// drawable of more device pixels. The viewport is then the drawable and the
// projection still takes surface pixels, so every shape scales. Lines alone
// would not: GL draws them one device pixel wide, which leaves gaps between
// the two lines of a two-pixel frame. Scaled up, a line becomes the quad of
// the surface pixels it lights, and covers whole device pixels like a fill.
#include <GLES2/gl2.h>

#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "engine/engine_internal.h"
#include "engine/iwgx.h"
#include "platform/s3e.h"

namespace {

// Vertex colour times texture, or vertex colour alone. The vertex colour is the
// colour stream, or the material's emissive colour when there is none.
const char kVertexSource[] = R"(
attribute vec4 inVert;
attribute vec2 inUV0;
attribute vec4 inCol;
uniform mat4 inPMVMat;
varying vec2 vUV;
varying vec4 vCol;
void main() {
    gl_Position = inPMVMat * inVert;
    vUV = inUV0;
    vCol = inCol;
}
)";

const char kTexturedFragment[] = R"(
precision mediump float;
uniform sampler2D inSampler0;
varying vec2 vUV;
varying vec4 vCol;
void main() {
    gl_FragColor = texture2D(inSampler0, vUV) * vCol;
}
)";

const char kUntexturedFragment[] = R"(
precision mediump float;
varying vec4 vCol;
void main() {
    gl_FragColor = vCol;
}
)";

struct Streams {
    const float* xy = nullptr;
    int32_t vertexCount = 0;
    const float* uv = nullptr;
    const IwColour* colours = nullptr;
};

// Textured, indexed triangles without a colour stream (the font's draws), kept
// back while the next draws share their material, then drawn as one.
struct PendingDraw {
    bool active = false;
    CIwMaterial material;  // a copy: frame materials are made per text
    std::vector<float> xy;
    std::vector<float> uv;
    std::vector<uint16_t> indices;
};

// 16-bit indices reach this many vertices.
constexpr size_t kMaxJoinedVertices = 65536;

struct Gx {
    int started = 0;
    PendingDraw pending;
    CIwGxShaderTechnique* textured = nullptr;
    CIwGxShaderTechnique* untextured = nullptr;
    CIwMaterial* material = nullptr;
    Streams streams;
    GLfloat clear[4] = {0, 0, 0, 1};
    int32_t surfaceW = -1, surfaceH = -1;    // what the projection maps from
    int32_t viewportW = -1, viewportH = -1;  // the drawable, in device pixels
    float scaleX = 1.0f, scaleY = 1.0f;      // device pixels per surface pixel
    // Lines scaled up into quads: positions, colours, indices.
    std::vector<float> quadXY;
    std::vector<IwColour> quadColours;
    std::vector<uint16_t> quadIndices;
    int32_t drawCalls = 0;
    int32_t lastFrameDrawCalls = 0;
    int32_t maxTextureSide = 0;
    bool uploadsToCheck = false;
};

Gx& G() {
    static Gx g;
    return g;
}

void ColourToFloats(IwColour c, GLfloat out[4]) {
    out[0] = static_cast<GLfloat>(c & 0xFF) / 255.0f;
    out[1] = static_cast<GLfloat>((c >> 8) & 0xFF) / 255.0f;
    out[2] = static_cast<GLfloat>((c >> 16) & 0xFF) / 255.0f;
    out[3] = static_cast<GLfloat>((c >> 24) & 0xFF) / 255.0f;
}

void UpdateViewport() {
    Gx& g = G();
    const int32_t w = IwGxGetScreenWidth(), h = IwGxGetScreenHeight();
    int32_t dw = s3eSurfaceGetInt(S3E_SURFACE_DRAWABLE_WIDTH);
    int32_t dh = s3eSurfaceGetInt(S3E_SURFACE_DRAWABLE_HEIGHT);
    if (dw <= 0 || dh <= 0 || w <= 0 || h <= 0) {
        dw = w;
        dh = h;
    }
    g.surfaceW = w;
    g.surfaceH = h;
    g.scaleX = w > 0 ? static_cast<float>(dw) / static_cast<float>(w) : 1.0f;
    g.scaleY = h > 0 ? static_cast<float>(dh) / static_cast<float>(h) : 1.0f;
    if (dw != g.viewportW || dh != g.viewportH) {
        glViewport(0, 0, dw > 0 ? dw : 0, dh > 0 ? dh : 0);
        g.viewportW = dw;
        g.viewportH = dh;
    }
}

// Column-major matrix from surface pixels (y down) to clip space.
void Projection(GLfloat m[16]) {
    Gx& g = G();
    float w = g.surfaceW > 0 ? static_cast<float>(g.surfaceW) : 1.0f;
    float h = g.surfaceH > 0 ? static_cast<float>(g.surfaceH) : 1.0f;
    std::memset(m, 0, sizeof(GLfloat) * 16);
    m[0] = 2.0f / w;
    m[5] = -2.0f / h;
    m[10] = 1.0f;
    m[12] = -1.0f;
    m[13] = 1.0f;
    m[15] = 1.0f;
}

GLenum PrimMode(IwGxPrimType type) {
    switch (type) {
        case IW_GX_LINE_LIST:
            return GL_LINES;
        case IW_GX_LINE_STRIP:
            return GL_LINE_STRIP;
        case IW_GX_TRI_LIST:
        default:
            return GL_TRIANGLES;
    }
}

// Draws now with the given material and streams.
void Submit(IwGxPrimType type, const CIwMaterial& m, const Streams& streams,
            const uint16_t* indices, int32_t count) {
    Gx& g = G();
    CIwTexture* texture = m.GetTexture();
    if (texture && texture->GetGLName() == 0 && !texture->Upload()) return;
    bool textured = texture && streams.uv;

    CIwGxShaderTechnique* technique = m.GetShaderTechnique();
    if (technique && !technique->Prepare()) technique = nullptr;
    if (!technique) technique = textured ? g.textured : g.untextured;
    if (!technique->Prepare()) return;
    const CIwGxShaderTechnique::Locations& loc = technique->GetLocations();

    UpdateViewport();
    glUseProgram(technique->GetProgram());
    GLfloat matrix[16];
    Projection(matrix);
    if (loc.inPMVMat >= 0) glUniformMatrix4fv(loc.inPMVMat, 1, GL_FALSE, matrix);
    if (loc.inUVScale >= 0) glUniform2f(loc.inUVScale, 1.0f, 1.0f);
    GLfloat c[4];
    ColourToFloats(m.GetColEmissive(), c);
    if (loc.inEmissive >= 0) glUniform4fv(loc.inEmissive, 1, c);
    ColourToFloats(m.GetColAmbient(), c);
    if (loc.inMaterialAmbient >= 0) glUniform4fv(loc.inMaterialAmbient, 1, c);
    ColourToFloats(m.GetColDiffuse(), c);
    if (loc.inMaterialDiffuse >= 0) glUniform4fv(loc.inMaterialDiffuse, 1, c);

    if (texture) {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture->GetGLName());
        GLint f = m.GetFiltering() ? GL_LINEAR : GL_NEAREST;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, f);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, f);
        if (loc.inSampler0 >= 0) glUniform1i(loc.inSampler0, 0);
    }

    if (m.GetAlphaMode() == CIwMaterial::ALPHA_BLEND) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glDisable(GL_BLEND);
    }

    // Attributes: position always; texture coordinates and colours when both
    // the program reads them and a stream exists, else a constant.
    for (GLuint a = 0; a < 8; ++a)
        glDisableVertexAttribArray(a);
    if (loc.inVert < 0) return;
    glVertexAttribPointer(static_cast<GLuint>(loc.inVert), 2, GL_FLOAT, GL_FALSE, 0, streams.xy);
    glEnableVertexAttribArray(static_cast<GLuint>(loc.inVert));
    if (loc.inUV0 >= 0) {
        if (streams.uv) {
            glVertexAttribPointer(static_cast<GLuint>(loc.inUV0), 2, GL_FLOAT, GL_FALSE, 0,
                                  streams.uv);
            glEnableVertexAttribArray(static_cast<GLuint>(loc.inUV0));
        } else {
            glVertexAttrib2f(static_cast<GLuint>(loc.inUV0), 0.0f, 0.0f);
        }
    }
    if (loc.inCol >= 0) {
        if (streams.colours) {
            // Colour words are RGBA bytes in memory order on little-endian machines.
            glVertexAttribPointer(static_cast<GLuint>(loc.inCol), 4, GL_UNSIGNED_BYTE, GL_TRUE, 0,
                                  streams.colours);
            glEnableVertexAttribArray(static_cast<GLuint>(loc.inCol));
        } else {
            ColourToFloats(m.GetColEmissive(), c);
            glVertexAttrib4fv(static_cast<GLuint>(loc.inCol), c);
        }
    }

    if (indices) {
        glDrawElements(PrimMode(type), count, GL_UNSIGNED_SHORT, indices);
    } else {
        glDrawArrays(PrimMode(type), 0, count);
    }
    ++g.drawCalls;
}

// Draws the segments of a line list or strip as quads over the surface
// pixels GL lights for them at one device pixel per surface pixel: from the
// first end's pixel up to the last one's, which is left out, one pixel wide.
// Line ends lie on pixel centres, so the quad starts half a pixel before each.
void SubmitLinesAsQuads(IwGxPrimType type, const CIwMaterial& m, const Streams& streams,
                        const uint16_t* indices, int32_t count) {
    Gx& g = G();
    const bool list = type == IW_GX_LINE_LIST;
    const int32_t segments = list ? count / 2 : count - 1;
    auto vertex = [&](int32_t i) { return indices ? static_cast<int32_t>(indices[i]) : i; };
    // 16-bit indices reach this many quads in one draw.
    constexpr int32_t kMaxQuads = 16384;
    int32_t next = 0;
    while (next < segments) {
        g.quadXY.clear();
        g.quadColours.clear();
        g.quadIndices.clear();
        int32_t quads = 0;
        for (; next < segments && quads < kMaxQuads; ++next) {
            const int32_t a = vertex(list ? 2 * next : next);
            const int32_t b = vertex(list ? 2 * next + 1 : next + 1);
            if (a >= streams.vertexCount || b >= streams.vertexCount) continue;
            const float ax = streams.xy[2 * a], ay = streams.xy[2 * a + 1];
            const float bx = streams.xy[2 * b], by = streams.xy[2 * b + 1];
            const float length = std::sqrt((bx - ax) * (bx - ax) + (by - ay) * (by - ay));
            if (!(length > 0.0f)) continue;  // GL draws nothing for it either
            // Half a pixel along the line, and half a pixel across it.
            const float ux = 0.5f * (bx - ax) / length, uy = 0.5f * (by - ay) / length;
            const float nx = -uy, ny = ux;
            const float corners[8] = {ax - ux + nx, ay - uy + ny, ax - ux - nx, ay - uy - ny,
                                      bx - ux - nx, by - uy - ny, bx - ux + nx, by - uy + ny};
            g.quadXY.insert(g.quadXY.end(), corners, corners + 8);
            if (streams.colours) {
                g.quadColours.insert(g.quadColours.end(), 2, streams.colours[a]);
                g.quadColours.insert(g.quadColours.end(), 2, streams.colours[b]);
            }
            const uint16_t base = static_cast<uint16_t>(4 * quads);
            const uint16_t order[6] = {
                base, static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2),
                base, static_cast<uint16_t>(base + 2), static_cast<uint16_t>(base + 3)};
            g.quadIndices.insert(g.quadIndices.end(), order, order + 6);
            ++quads;
        }
        if (quads == 0) continue;
        Streams q;
        q.xy = g.quadXY.data();
        q.vertexCount = 4 * quads;
        q.colours = streams.colours ? g.quadColours.data() : nullptr;
        Submit(IW_GX_TRI_LIST, m, q, g.quadIndices.data(), 6 * quads);
    }
}

bool SameMaterial(const CIwMaterial& a, const CIwMaterial& b) {
    return a.GetTexture() == b.GetTexture() && a.GetColEmissive() == b.GetColEmissive() &&
           a.GetColAmbient() == b.GetColAmbient() && a.GetColDiffuse() == b.GetColDiffuse() &&
           a.GetAlphaMode() == b.GetAlphaMode() && a.GetFiltering() == b.GetFiltering() &&
           a.GetShaderTechnique() == b.GetShaderTechnique();
}

void FlushPending() {
    Gx& g = G();
    PendingDraw& p = g.pending;
    if (!p.active) return;
    p.active = false;
    Streams streams;
    streams.xy = p.xy.data();
    streams.vertexCount = static_cast<int32_t>(p.xy.size() / 2);
    streams.uv = p.uv.data();
    Submit(IW_GX_TRI_LIST, p.material, streams, p.indices.data(),
           static_cast<int32_t>(p.indices.size()));
    p.xy.clear();
    p.uv.clear();
    p.indices.clear();
}

// Adds the draw to the pending one when they share a material, else draws
// what was pending and keeps this draw back instead. Only the vertices the
// indices use are copied.
void Join(const uint16_t* indices, int32_t count) {
    Gx& g = G();
    uint16_t low = 0xFFFF, high = 0;
    for (int32_t i = 0; i < count; ++i) {
        low = indices[i] < low ? indices[i] : low;
        high = indices[i] > high ? indices[i] : high;
    }
    if (high >= g.streams.vertexCount) return;  // indices past the stream: nothing sane to draw
    const size_t used = static_cast<size_t>(high - low) + 1;
    PendingDraw& p = g.pending;
    if (p.active &&
        (!SameMaterial(p.material, *g.material) || p.xy.size() / 2 + used > kMaxJoinedVertices)) {
        FlushPending();
    }
    if (!p.active) {
        p.active = true;
        p.material = *g.material;
    }
    const size_t base = p.xy.size() / 2;
    p.xy.insert(p.xy.end(), g.streams.xy + 2 * low, g.streams.xy + 2 * (low + used));
    p.uv.insert(p.uv.end(), g.streams.uv + 2 * low, g.streams.uv + 2 * (low + used));
    for (int32_t i = 0; i < count; ++i)
        p.indices.push_back(static_cast<uint16_t>(base + (indices[i] - low)));
}

}  // namespace

bool IwGxInit() {
    Gx& g = G();
    if (g.started++ > 0) return true;
    g.textured = new CIwGxShaderTechnique("engine_textured", kVertexSource, kTexturedFragment);
    g.untextured =
        new CIwGxShaderTechnique("engine_untextured", kVertexSource, kUntexturedFragment);
    g.viewportW = g.viewportH = -1;
    g.drawCalls = g.lastFrameDrawCalls = 0;
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    g.maxTextureSide = side;
    g.uploadsToCheck = false;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glLineWidth(1.0f);
    UpdateViewport();
    return true;
}

void IwGxTerminate() {
    Gx& g = G();
    if (g.started == 0) return;
    if (g.started > 1) {
        --g.started;
        return;
    }
    // Still counted as started while the programs are deleted.
    FlushPending();
    delete g.textured;
    delete g.untextured;
    g.textured = g.untextured = nullptr;
    g.started = 0;
    g.material = nullptr;
    g.streams = Streams();
    engine::FreeScratch();
}

bool IwGxIsStarted() {
    return G().started > 0;
}

int32_t IwGxGetScreenWidth() {
    return s3eSurfaceGetInt(S3E_SURFACE_WIDTH);
}
int32_t IwGxGetScreenHeight() {
    return s3eSurfaceGetInt(S3E_SURFACE_HEIGHT);
}

float IwGxGetPixelScale() {
    const int32_t w = IwGxGetScreenWidth(), dw = s3eSurfaceGetInt(S3E_SURFACE_DRAWABLE_WIDTH);
    return w > 0 && dw > 0 ? static_cast<float>(dw) / static_cast<float>(w) : 1.0f;
}

CIwMaterial* IwGxAllocFrameMaterial() {
    void* mem = IwGxScratchAlloc(sizeof(CIwMaterial));
    return new (mem) CIwMaterial();
}

void IwGxSetMaterial(CIwMaterial* material) {
    G().material = material;
}

void IwGxSetVertStreamScreenSpace(const float* xy, int32_t vertexCount) {
    G().streams.xy = xy;
    G().streams.vertexCount = xy ? vertexCount : 0;
}

void IwGxSetUVStream(const float* uv) {
    G().streams.uv = uv;
}
void IwGxSetColStream(const IwColour* colours) {
    G().streams.colours = colours;
}

void IwGxDrawPrims(IwGxPrimType type, const uint16_t* indices, int32_t count) {
    Gx& g = G();
    if (g.started == 0 || !g.material || !g.streams.xy || count <= 0) return;
    if (!indices && count > g.streams.vertexCount) return;
    const bool joinable = type == IW_GX_TRI_LIST && indices && g.streams.uv && !g.streams.colours &&
                          g.material->GetTexture();
    if (joinable) {
        Join(indices, count);
        return;
    }
    FlushPending();
    if (type != IW_GX_TRI_LIST) {
        UpdateViewport();
        if (g.scaleX > 1.0f || g.scaleY > 1.0f) {
            SubmitLinesAsQuads(type, *g.material, g.streams, indices, count);
            return;
        }
    }
    Submit(type, *g.material, g.streams, indices, count);
}

void IwGxSetColClear(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    Gx& x = G();
    x.clear[0] = r / 255.0f;
    x.clear[1] = g / 255.0f;
    x.clear[2] = b / 255.0f;
    x.clear[3] = a / 255.0f;
}

void IwGxClear() {
    Gx& g = G();
    if (g.started == 0) return;
    FlushPending();
    UpdateViewport();
    glClearColor(g.clear[0], g.clear[1], g.clear[2], g.clear[3]);
    glClear(GL_COLOR_BUFFER_BIT);
}

void IwGxFlush() {
    if (G().started == 0) return;
    FlushPending();
    glFlush();
}

void IwGxSwapBuffers() {
    Gx& g = G();
    if (g.started == 0) return;
    FlushPending();
    if (g.uploadsToCheck) {
        g.uploadsToCheck = false;
        const GLenum error = glGetError();
        // Out of memory, most likely: the images of this frame may be blank.
        if (error != GL_NO_ERROR) engine::Warn("GL error 0x%x after uploading textures", error);
    }
    s3eSurfaceShow(g.drawCalls);
    g.lastFrameDrawCalls = g.drawCalls;
    g.drawCalls = 0;
    g.material = nullptr;
    g.streams = Streams();
    engine::ResetScratch();
}

namespace engine {

int32_t MaxTextureSide() {
    return G().maxTextureSide;
}

void NoteTextureUpload() {
    G().uploadsToCheck = true;
}

void ForgetTexture(const CIwTexture* texture) {
    if (G().pending.active && G().pending.material.GetTexture() == texture) FlushPending();
}

}  // namespace engine

int32_t IwGxGetDrawCallCount() {
    return G().drawCalls;
}
int32_t IwGxGetLastFrameDrawCalls() {
    return G().lastFrameDrawCalls;
}
