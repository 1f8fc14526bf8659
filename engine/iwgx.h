// The tiny graphics engine beneath the 2D drawing layer and the font: GL ES 2.0
// state on the surface the host made current, per-frame scratch memory,
// textures from PNG and JPEG files, materials, shader techniques kept in
// resource groups built into the module, screen-space vertex streams, indexed
// primitives, clear and present. One thread; nothing here is re-entrant.
#pragma once

#include <cstddef>
#include <cstdint>

// Colours are ColourWords: alpha in the top byte, then blue, green, red in the low byte.
typedef uint32_t IwColour;

// ---------------------------------------------------------------------------
// Lifecycle. Both pairs are reference counted: the first Init starts, the last
// Terminate ends; extra calls on top are harmless.

bool IwGxInit();
void IwGxTerminate();
bool IwGxIsStarted();
void IwResManagerInit();
void IwResManagerTerminate();

// Surface size in pixels, as the host reports it now: what the game lays out
// on and every drawing call's coordinates are in.
int32_t IwGxGetScreenWidth();
int32_t IwGxGetScreenHeight();
// Device pixels per surface pixel: above 1 when the host draws the surface at
// a higher resolution, 1 when pixel for pixel.
float IwGxGetPixelScale();

// ---------------------------------------------------------------------------
// Per-frame scratch memory: 16-byte aligned, zero-filled, valid until the end
// of the frame (IwGxSwapBuffers). Never gives null.

void* IwGxScratchAlloc(size_t bytes);
template <typename T>
T* IwGxScratchNew(size_t count) {
    return static_cast<T*>(IwGxScratchAlloc(sizeof(T) * count));
}
// Bytes handed out in this frame (for tests and benchmarks).
size_t IwGxScratchUsed();

// ---------------------------------------------------------------------------
// Textures.

class CIwTexture {
  public:
    CIwTexture();
    ~CIwTexture();
    CIwTexture(const CIwTexture&) = delete;
    CIwTexture& operator=(const CIwTexture&) = delete;

    // Decodes a PNG or JPEG file read through the file services; false when the
    // file is missing or cannot be decoded (the texture then stays empty).
    // greyToAlpha: an image without alpha comes as GreyToAlpha makes it.
    bool LoadFromFile(const char* path, bool greyToAlpha = false);
    // Takes a copy of width x height RGBA pixels, top row first.
    bool LoadFromRGBA(const uint8_t* pixels, int32_t width, int32_t height);
    // Turns loaded pixels without alpha into white ones whose alpha is their
    // grey level (the red channel), kept as luminance with alpha (half the
    // memory of RGBA): a distance field then ships as a one-channel image.
    // False when nothing waits for upload or the pixels have alpha.
    bool GreyToAlpha();

    void SetMipMapping(bool on);  // the engine makes no mipmaps; kept for callers
    void SetFiltering(bool on);   // bilinear when on, nearest when off
    // Sends the pixels to GL (needs IwGxInit); false when empty or GL is not started.
    bool Upload();

    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }
    bool HasAlpha() const { return hasAlpha_; }
    bool IsLoaded() const { return pixels_ != nullptr || glName_ != 0; }
    uint32_t GetGLName() const { return glName_; }

  private:
    // Takes ownership of a malloc'd pixel block in place of the current one.
    void Adopt(uint8_t* pixels, int32_t width, int32_t height, bool hasAlpha, bool whiteAlpha);

    uint8_t* pixels_ = nullptr;  // RGBA (luminance, alpha when whiteAlpha_), freed after upload
    int32_t width_ = 0;
    int32_t height_ = 0;
    bool hasAlpha_ = false;
    bool whiteAlpha_ = false;
    bool filtering_ = true;
    uint32_t glName_ = 0;
};

// ---------------------------------------------------------------------------
// Shader techniques: a GLSL ES 1.00 vertex and fragment program. Attributes the
// engine feeds: inVert (vec4 position in pixels, z 0, w 1), inUV0 (vec2),
// inCol (vec4, 0..1, the vertex colour stream or the emissive colour).
// Uniforms: inPMVMat (mat4, pixels to clip space), inUVScale (vec2, 1,1),
// inEmissive, inMaterialAmbient, inMaterialDiffuse (vec4, 0..1), inSampler0.

class CIwGxShaderTechnique {
  public:
    CIwGxShaderTechnique(const char* name, const char* vertexSource, const char* fragmentSource);
    ~CIwGxShaderTechnique();
    CIwGxShaderTechnique(const CIwGxShaderTechnique&) = delete;
    CIwGxShaderTechnique& operator=(const CIwGxShaderTechnique&) = delete;

    const char* GetName() const { return name_; }
    // Hands the program to GL to compile and link, without waiting for it
    // (done when made with GL started, so that GL builds it while the game
    // does other work); nothing when started before or GL is not started.
    void Start();
    // Starts if need be and takes the program on first use; false (and a
    // warning once) when GL refuses it.
    bool Prepare();
    uint32_t GetProgram() const { return program_; }

    struct Locations {
        int32_t inVert = -1, inUV0 = -1, inCol = -1;
        int32_t inPMVMat = -1, inUVScale = -1, inEmissive = -1, inMaterialAmbient = -1,
                inMaterialDiffuse = -1, inSampler0 = -1;
    };
    const Locations& GetLocations() const { return loc_; }

  private:
    char name_[64];
    char* vertexSource_;
    char* fragmentSource_;
    uint32_t program_ = 0;
    // Started, not yet taken: the program and its two stages.
    uint32_t linking_ = 0, vertex_ = 0, fragment_ = 0;
    bool failed_ = false;
    Locations loc_;
};

// Resource groups built into the module. A group is text:
//   technique <name>
//   [vertex]
//   ...GLSL...
//   [fragment]
//   ...GLSL...
//   [end]
// repeated; lines starting with '#' outside a program are comments. The module
// registers its groups at start-up; loading one makes its techniques findable.
void IwResRegisterBuiltinGroup(const char* groupName, const char* text, size_t size);
// Parses a registered group and adds its techniques; false when the group is
// unknown or malformed (techniques parsed before the fault stay).
bool IwResLoadGroup(const char* groupName);
// A technique of a loaded group, or null.
CIwGxShaderTechnique* IwResFindTechnique(const char* name);

// ---------------------------------------------------------------------------
// Materials.

class CIwMaterial {
  public:
    enum AlphaMode { ALPHA_NONE, ALPHA_BLEND };

    void SetTexture(CIwTexture* texture) { texture_ = texture; }
    CIwTexture* GetTexture() const { return texture_; }
    void SetColEmissive(IwColour c) { emissive_ = c; }
    void SetColAmbient(IwColour c) { ambient_ = c; }
    void SetColDiffuse(IwColour c) { diffuse_ = c; }
    IwColour GetColEmissive() const { return emissive_; }
    IwColour GetColAmbient() const { return ambient_; }
    IwColour GetColDiffuse() const { return diffuse_; }
    void SetAlphaMode(AlphaMode mode) { alphaMode_ = mode; }
    AlphaMode GetAlphaMode() const { return alphaMode_; }
    void SetFiltering(bool on) { filtering_ = on; }
    bool GetFiltering() const { return filtering_; }
    // Null draws with the engine's own program (texture times colour).
    void SetShaderTechnique(CIwGxShaderTechnique* technique) { technique_ = technique; }
    CIwGxShaderTechnique* GetShaderTechnique() const { return technique_; }

  private:
    CIwTexture* texture_ = nullptr;
    IwColour emissive_ = 0xFFFFFFFFu;
    IwColour ambient_ = 0xFFFFFFFFu;
    IwColour diffuse_ = 0xFFFFFFFFu;
    AlphaMode alphaMode_ = ALPHA_NONE;
    bool filtering_ = true;
    CIwGxShaderTechnique* technique_ = nullptr;
};

// A default material in per-frame scratch memory, gone at the end of the frame.
CIwMaterial* IwGxAllocFrameMaterial();

// ---------------------------------------------------------------------------
// Drawing. Streams are pointers the engine reads at the next draw; they must
// stay valid until then. Coordinates are float pixels, origin top left, y down.

enum IwGxPrimType { IW_GX_TRI_LIST, IW_GX_LINE_LIST, IW_GX_LINE_STRIP };

void IwGxSetMaterial(CIwMaterial* material);
// 2 floats per vertex.
void IwGxSetVertStreamScreenSpace(const float* xy, int32_t vertexCount);
// 2 floats per vertex, or null.
void IwGxSetUVStream(const float* uv);
// One IwColour per vertex, or null (then every vertex takes the material's emissive colour).
void IwGxSetColStream(const IwColour* colours);
// Draws count indices of the current streams with the current material; null
// indices draw the vertices in order. Each call is one draw call.
void IwGxDrawPrims(IwGxPrimType type, const uint16_t* indices, int32_t count);

void IwGxSetColClear(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
void IwGxClear();
// Finishes GL work issued so far (the engine draws immediately; nothing is queued).
void IwGxFlush();
// Presents the frame through the host, then empties the scratch memory and
// starts counting draw calls afresh.
void IwGxSwapBuffers();

int32_t IwGxGetDrawCallCount();       // draw calls of the frame in progress
int32_t IwGxGetLastFrameDrawCalls();  // draw calls of the last frame presented
