// Textures: PNG (libpng on zlib) and JPEG (libjpeg) files decoded to RGBA and
// uploaded to GL with bilinear filtering and no mipmaps.
#include <GLES2/gl2.h>

#include <csetjmp>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <png.h>

#include "engine/engine_internal.h"
#include "engine/iwgx.h"
#include "platform/s3e.h"

namespace {

// No image the game ships comes near this; anything larger is not ours.
constexpr size_t kMaxImageFileBytes = 32u * 1024u * 1024u;
// The largest side the game can use: no screen it draws on is larger, and every
// GL ES 2.0 device it runs on takes textures of this size (64 MiB of RGBA).
constexpr uint32_t kMaxImageSide = 4096;
// The most pixels one bit of a sound file can stand for: deflate expands at
// most 1032:1 and a PNG pixel takes at least one bit before it; every 8 x 8
// block of a JPEG costs at least one bit of entropy-coded data.
constexpr uint64_t kPngPixelsPerBit = 1032;
constexpr uint64_t kJpegPixelsPerBit = 64;
// What libjpeg may allocate for one image (progressive files keep all their
// coefficients); beyond it decoding fails instead of swapping to disk.
constexpr long kJpegMemoryMax = 64L * 1024L * 1024L;

// Checked before anything is allocated for the pixels: a size the game cannot
// use, or one the file is too small to hold, is refused, so a small damaged file
// cannot make the decoder allocate for an image it could never fill.
bool ClaimFits(uint32_t width, uint32_t height, size_t fileBytes, uint64_t pixelsPerBit) {
    if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide) return false;
    return static_cast<uint64_t>(width) * height <=
           static_cast<uint64_t>(fileBytes) * 8 * pixelsPerBit;
}

bool IsPng(const unsigned char* data, size_t size) {
    static const unsigned char kSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return size >= 8 && std::memcmp(data, kSig, 8) == 0;
}

bool IsJpeg(const unsigned char* data, size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

uint8_t* DecodePng(const unsigned char* data, size_t size, int32_t* w, int32_t* h, bool* alpha) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return nullptr;
    if (!ClaimFits(image.width, image.height, size, kPngPixelsPerBit)) {
        png_image_free(&image);
        return nullptr;
    }
    *alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    size_t bytes = PNG_IMAGE_SIZE(image);
    auto* pixels = static_cast<uint8_t*>(std::malloc(bytes));
    if (!pixels) {
        png_image_free(&image);
        return nullptr;
    }
    if (!png_image_finish_read(&image, nullptr, pixels, 0, nullptr)) {
        std::free(pixels);
        png_image_free(&image);
        return nullptr;
    }
    *w = static_cast<int32_t>(image.width);
    *h = static_cast<int32_t>(image.height);
    return pixels;
}

struct JpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};

void JpegFail(j_common_ptr info) {
    longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}
void JpegQuiet(j_common_ptr) {}

uint8_t* DecodeJpeg(const unsigned char* data, size_t size, int32_t* w, int32_t* h) {
    jpeg_decompress_struct info;
    JpegError err;
    info.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegFail;
    err.mgr.output_message = JpegQuiet;
    // Volatile: they must survive the longjmp back here.
    uint8_t* volatile pixels = nullptr;
    uint8_t* volatile row = nullptr;
    if (setjmp(err.jump)) {
        std::free(pixels);
        std::free(row);
        jpeg_destroy_decompress(&info);
        return nullptr;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (!ClaimFits(info.image_width, info.image_height, size, kJpegPixelsPerBit)) {
        jpeg_destroy_decompress(&info);
        return nullptr;
    }
    info.mem->max_memory_to_use = kJpegMemoryMax;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_width != info.image_width || info.output_height != info.image_height ||
        info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return nullptr;
    }
    const size_t width = info.output_width;
    pixels = static_cast<uint8_t*>(std::malloc(width * info.output_height * 4));
    row = static_cast<uint8_t*>(std::malloc(width * 3));
    if (!pixels || !row) longjmp(err.jump, 1);
    while (info.output_scanline < info.output_height) {
        uint8_t* out = pixels + static_cast<size_t>(info.output_scanline) * width * 4;
        JSAMPROW rows[1] = {row};
        jpeg_read_scanlines(&info, rows, 1);
        for (size_t x = 0; x < width; ++x) {
            out[x * 4 + 0] = row[x * 3 + 0];
            out[x * 4 + 1] = row[x * 3 + 1];
            out[x * 4 + 2] = row[x * 3 + 2];
            out[x * 4 + 3] = 255;
        }
    }
    jpeg_finish_decompress(&info);
    *w = static_cast<int32_t>(info.output_width);
    *h = static_cast<int32_t>(info.output_height);
    jpeg_destroy_decompress(&info);
    std::free(row);
    return pixels;
}

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
    engine::ForgetTexture(this);
    std::free(pixels_);
    if (glName_ != 0 && IwGxIsStarted()) {
        GLuint name = glName_;
        glDeleteTextures(1, &name);
    }
}

bool CIwTexture::LoadFromFile(const char* path) {
    size_t size = 0;
    unsigned char* data = engine::ReadWholeFile(path, kMaxImageFileBytes, &size);
    if (!data) return false;
    int32_t w = 0, h = 0;
    bool alpha = false;
    uint8_t* pixels = nullptr;
    if (IsPng(data, size)) {
        pixels = DecodePng(data, size, &w, &h, &alpha);
    } else if (IsJpeg(data, size)) {
        pixels = DecodeJpeg(data, size, &w, &h);
    }
    std::free(data);
    if (!pixels) return false;
    std::free(pixels_);
    pixels_ = pixels;
    width_ = w;
    height_ = h;
    hasAlpha_ = alpha;
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
    std::free(pixels_);
    pixels_ = copy;
    width_ = width;
    height_ = height;
    hasAlpha_ = false;
    for (size_t i = 3; i < bytes; i += 4) {
        if (copy[i] != 255) {
            hasAlpha_ = true;
            break;
        }
    }
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
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0) return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Non-power-of-two sizes need clamping and no mipmaps in GL ES 2.0.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    GLint f = filtering_ ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, f);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, f);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width_, height_, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels_);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        return false;
    }
    glName_ = name;
    std::free(pixels_);
    pixels_ = nullptr;
    return true;
}
