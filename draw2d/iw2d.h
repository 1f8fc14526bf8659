// The immediate-mode 2D drawing layer every screen draws through: images from
// files, a current colour, filled and outlined rectangles, lines, clear, the
// surface size, flush and present. Consecutive primitives that share a
// material and primitive kind go to the engine as one draw call.
#pragma once

#include <cstdint>

#include "engine/iwgx.h"

class CIw2DImage {
  public:
    virtual float GetWidth() = 0;
    virtual float GetHeight() = 0;
    virtual CIwMaterial* GetMaterial() = 0;
    virtual ~CIw2DImage() {}
};

// Reference counted: the first call starts the engine, the resource manager,
// the batcher and the drawing state; the last TerminateDrawing ends them.
void InitDrawing();
void TerminateDrawing();

// Loads a PNG (or JPEG) image. A missing or unreadable file gives an image that
// draws nothing, and one warning line through the host.
CIw2DImage* CreateImage(const char* path);

void SetDrawColour(uint32_t colour);
uint32_t GetDrawColour();
void DrawImage(CIw2DImage* image, float x, float y, float w, float h);
void FillRect(float x, float y, float w, float h);
void DrawRect(float x, float y, float w, float h);
void DrawLine(float x1, float y1, float x2, float y2);
void ClearSurface(uint32_t colour);
int32_t GetSurfaceWidth();
int32_t GetSurfaceHeight();
void FlushDrawing();
void ShowSurface();
