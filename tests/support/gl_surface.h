// An in-process offscreen GL ES 2.0 surface for tests: SDL's offscreen video
// driver on Mesa's software renderer (the same path as the headless host), with
// the module's services bound on temporary folders. Tests draw through the
// engine, the drawing layer or the font and read the shown frame's pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_host.h"

namespace testsupport {

class GLSurface {
  public:
    // dataDir: the game data folder (a fresh temporary one when empty).
    GLSurface(int width, int height, const std::string& dataDir = std::string());
    ~GLSurface();
    GLSurface(const GLSurface&) = delete;
    GLSurface& operator=(const GLSurface&) = delete;

    bool Ok() const { return ok_; }
    const std::string& Error() const { return error_; }
    BoundHost& Host() { return *host_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // The frame most recently shown through s3eSurfaceShow, as ColourWords
    // (0xAABBGGRR), origin top left. 0 outside the surface or before a frame.
    uint32_t Pixel(int x, int y) const;
    int FramesShown() const { return framesShown_; }
    int LastDrawCalls() const { return lastDrawCalls_; }
    bool SavePng(const std::string& path) const;

  private:
    static void OnShow(int32_t drawCalls);
    static void OnYield(int32_t ms);
    static void OnLog(const char* kind, const char* text);

    bool ok_ = false;
    std::string error_;
    int width_ = 0, height_ = 0;
    void* window_ = nullptr;
    void* context_ = nullptr;
    std::unique_ptr<BoundHost> host_;
    std::vector<uint8_t> frame_;  // RGBA, top row first
    int framesShown_ = 0;
    int lastDrawCalls_ = 0;

  public:
    std::vector<std::string> warnings;  // lines the module logged
    // Runs inside every s3eDeviceYieldUntilEvent, as a host applies its events.
    std::function<void()> onYield;
    int yields = 0;
};

// Channel helpers for ColourWords.
inline int Red(uint32_t c) {
    return static_cast<int>(c & 0xFF);
}
inline int Green(uint32_t c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline int Blue(uint32_t c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
inline int Alpha(uint32_t c) {
    return static_cast<int>(c >> 24);
}
// True when every colour channel of a and b differs by at most tolerance.
bool Near(uint32_t a, uint32_t b, int tolerance = 2);

}  // namespace testsupport
