#include "tests/support/gl_surface.h"

#include <GLES2/gl2.h>
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace testsupport {

namespace {
GLSurface* g_current = nullptr;
}

namespace {

// Windows and contexts are kept for the whole process, one per size: tearing
// them down would unload the GL driver before the leak checker reads its stacks.
struct CachedSurface {
    int width, height;
    SDL_Window* window;
    SDL_GLContext context;
};

std::vector<CachedSurface>& Cache() {
    static std::vector<CachedSurface> cache;
    return cache;
}

}  // namespace

GLSurface::GLSurface(int width, int height, const std::string& dataDir)
    : width_(width), height_(height) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    // No shader cache: tests write nothing under the user's home, and the
    // cache's worker thread, ending at exit just as the leak checker stops
    // every thread, can crash the checker.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error_ = SDL_GetError();
        return;
    }
    const CachedSurface* found = nullptr;
    for (const CachedSurface& c : Cache()) {
        if (c.width == width && c.height == height) found = &c;
    }
    if (!found) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
        SDL_Window* w = SDL_CreateWindow("test", 0, 0, width, height, SDL_WINDOW_OPENGL);
        if (!w) {
            error_ = SDL_GetError();
            return;
        }
        SDL_GLContext c = SDL_GL_CreateContext(w);
        if (!c) {
            error_ = SDL_GetError();
            SDL_DestroyWindow(w);
            return;
        }
        Cache().push_back(CachedSurface{width, height, w, c});
        found = &Cache().back();
    }
    window_ = found->window;
    context_ = found->context;
    SDL_GL_MakeCurrent(found->window, found->context);

    host::HostHooks hooks;
    hooks.show = &GLSurface::OnShow;
    hooks.log = &GLSurface::OnLog;
    hooks.yield = &GLSurface::OnYield;
    g_current = this;
    host_ = std::make_unique<BoundHost>(dataDir, hooks);
    host::SetSurfaceSize(width, height);
    ok_ = true;
}

GLSurface::~GLSurface() {
    host_.reset();
    if (g_current == this) g_current = nullptr;
}

void GLSurface::OnShow(int32_t drawCalls) {
    GLSurface* s = g_current;
    if (!s) return;
    int w = s->width_, h = s->height_;
    std::vector<uint8_t> bottomUp(static_cast<size_t>(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    s->frame_.resize(bottomUp.size());
    for (int y = 0; y < h; ++y) {
        std::copy_n(&bottomUp[static_cast<size_t>(h - 1 - y) * w * 4], static_cast<size_t>(w) * 4,
                    &s->frame_[static_cast<size_t>(y) * w * 4]);
    }
    s->framesShown_++;
    s->lastDrawCalls_ = drawCalls;
    SDL_GL_SwapWindow(static_cast<SDL_Window*>(s->window_));
}

void GLSurface::OnYield(int32_t) {
    GLSurface* s = g_current;
    if (!s) return;
    s->yields++;
    if (s->onYield) s->onYield();
}

void GLSurface::OnLog(const char* kind, const char* text) {
    if (g_current) g_current->warnings.push_back(std::string(kind) + " " + text);
}

uint32_t GLSurface::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || frame_.empty()) return 0;
    const uint8_t* p = &frame_[(static_cast<size_t>(y) * width_ + x) * 4];
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool GLSurface::SavePng(const std::string& path) const {
    return !frame_.empty() && WritePngRGBA(path, width_, height_, frame_.data());
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    return std::abs(Red(a) - Red(b)) <= tolerance && std::abs(Green(a) - Green(b)) <= tolerance &&
           std::abs(Blue(a) - Blue(b)) <= tolerance;
}

}  // namespace testsupport
