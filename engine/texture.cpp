// Textures: PNG and JPEG files decoded to RGBA (by the decoder the build
// chose, see engine/decoders/) and uploaded to GL with bilinear filtering and
// no mipmaps.
#include <GLES2/gl2.h>

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/engine_internal.h"
#include "engine/iwgx.h"
#include "platform/s3e.h"

namespace {

// No image the game ships comes near this; anything larger is not ours.
constexpr size_t kMaxImageFileBytes = 32u * 1024u * 1024u;
// The largest side the game can use: no screen it draws on is larger, and every
// GL ES 2.0 device it runs on takes textures of this size (64 MiB of RGBA).
constexpr uint32_t kMaxImageSide = 4096;

}  // namespace

namespace engine {

unsigned char* ReadWholeFile(const char* path, size_t maxBytes, size_t* size) {
    *size = 0;
    s3eFile* f = s3eFileOpen(path, "rb");
    if (!f) return nullptr;
    int32_t length = s3eFileGetSize(f);
    if (length <= 0 || static_cast<size_t>(length) > maxBytes) {
        s3eFileClose(f);
        return nullptr;
    }
    auto* data = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(length)));
    if (!data) {
        s3eFileClose(f);
        return nullptr;
    }
    uint32_t got = s3eFileRead(data, static_cast<uint32_t>(length), 1, f);
    s3eFileClose(f);
    if (got != 1) {
        std::free(data);
        return nullptr;
    }
    *size = static_cast<size_t>(length);
    return data;
}

void Warn(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    s3eDebugOutputString(text);
}

}  // namespace engine

CIwTexture::CIwTexture() = default;

CIwTexture::~CIwTexture() {
    std::free(pixels_);
    if (glName_ != 0 && IwGxIsStarted()) {
        GLuint name = glName_;
        glDeleteTextures(1, &name);
    }
}

void CIwTexture::Adopt(uint8_t* pixels, int32_t width, int32_t height, bool hasAlpha,
                       bool whiteAlpha) {
    std::free(pixels_);
    pixels_ = pixels;
    width_ = width;
    height_ = height;
    hasAlpha_ = hasAlpha;
    whiteAlpha_ = whiteAlpha;
}

bool CIwTexture::LoadFromFile(const char* path, bool greyToAlpha) {
    size_t size = 0;
    unsigned char* data = engine::ReadWholeFile(path, kMaxImageFileBytes, &size);
    if (!data) return false;
    int32_t w = 0, h = 0;
    // A grey image read as one channel goes to luminance with alpha in one
    // pass, without the four channels in between.
    if (uint8_t* grey =
            greyToAlpha ? engine::DecodeGreyImage(data, size, kMaxImageSide, &w, &h) : nullptr) {
        std::free(data);
        const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
        auto* pixels = static_cast<uint8_t*>(std::malloc(count * 2));
        if (pixels) {
            for (size_t i = 0; i < count; ++i) {
                pixels[i * 2] = 255;
                pixels[i * 2 + 1] = grey[i];
            }
        }
        std::free(grey);
        if (!pixels) return false;
        Adopt(pixels, w, h, true, true);
        return true;
    }
    bool alpha = false;
    uint8_t* pixels = engine::DecodeImage(data, size, kMaxImageSide, &w, &h, &alpha);
    std::free(data);
    if (!pixels) return false;
    Adopt(pixels, w, h, alpha, false);
    if (greyToAlpha && !alpha) GreyToAlpha();
    return true;
}

bool CIwTexture::LoadFromRGBA(const uint8_t* pixels, int32_t width, int32_t height) {
    if (!pixels || width <= 0 || height <= 0 || static_cast<uint32_t>(width) > kMaxImageSide ||
        static_cast<uint32_t>(height) > kMaxImageSide) {
        return false;
    }
    size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    auto* copy = static_cast<uint8_t*>(std::malloc(bytes));
    if (!copy) return false;
    std::memcpy(copy, pixels, bytes);
    Adopt(copy, width, height, false, false);
    for (size_t i = 3; i < bytes; i += 4) {
        if (copy[i] != 255) {
            hasAlpha_ = true;
            break;
        }
    }
    return true;
}

bool CIwTexture::GreyToAlpha() {
    if (!pixels_ || hasAlpha_) return false;
    const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    for (size_t i = 0; i < count; ++i) {
        pixels_[i * 2 + 1] = pixels_[i * 4];
        pixels_[i * 2] = 255;
    }
    // Shrinking keeps the block; a failed shrink leaves the larger one in use.
    if (void* smaller = std::realloc(pixels_, count * 2)) pixels_ = static_cast<uint8_t*>(smaller);
    hasAlpha_ = true;
    whiteAlpha_ = true;
    return true;
}

void CIwTexture::SetMipMapping(bool) {}

void CIwTexture::SetFiltering(bool on) {
    filtering_ = on;
    if (glName_ != 0 && IwGxIsStarted()) {
        glBindTexture(GL_TEXTURE_2D, glName_);
        GLint f = on ? GL_LINEAR : GL_NEAREST;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, f);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, f);
    }
}

bool CIwTexture::Upload() {
    if (!IwGxIsStarted()) return false;
    if (glName_ != 0) return true;
    if (!pixels_) return false;
    // The one error a well-formed upload can meet besides running out of
    // memory, which the frame's end reports (NoteTextureUpload).
    const int32_t maxSide = engine::MaxTextureSide();
    if (maxSide > 0 && (width_ > maxSide || height_ > maxSide)) return false;
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0) return false;
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Non-power-of-two sizes need clamping and no mipmaps in GL ES 2.0.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    GLint f = filtering_ ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, f);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, f);
    const GLenum format = whiteAlpha_ ? GL_LUMINANCE_ALPHA : GL_RGBA;
    glTexImage2D(GL_TEXTURE_2D, 0, format, width_, height_, 0, format, GL_UNSIGNED_BYTE, pixels_);
    engine::NoteTextureUpload();
    glName_ = name;
    std::free(pixels_);
    pixels_ = nullptr;
    return true;
}
