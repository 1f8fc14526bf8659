// The engine's GL state: start and end, the projection from surface pixels,
// the built-in programs for materials without a technique, streams, draws,
// clear and present. Consecutive text draws that share a material are joined
// into one GL draw, so a screen's draw calls do not grow with its texts.
#include <GLES2/gl2.h>

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
    int32_t viewportW = -1, viewportH = -1;
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
    int32_t w = IwGxGetScreenWidth(), h = IwGxGetScreenHeight();
    if (w != g.viewportW || h != g.viewportH) {
        glViewport(0, 0, w > 0 ? w : 0, h > 0 ? h : 0);
        g.viewportW = w;
        g.viewportH = h;
    }
}

// Column-major matrix from surface pixels (y down) to clip space.
void Projection(GLfloat m[16]) {
    Gx& g = G();
    float w = g.viewportW > 0 ? static_cast<float>(g.viewportW) : 1.0f;
    float h = g.viewportH > 0 ? static_cast<float>(g.viewportH) : 1.0f;
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
