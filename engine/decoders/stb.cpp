// The image decoder of the browser build, where the system's libpng and
// libjpeg do not exist: stb_image, compiled in with only the PNG reader and no
// stdio. Every image the page ships is a PNG, and the page loads no other
// images, so a JPEG reader would be download weight that never runs: a JPEG
// is refused like any file that is no image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/decoders/signatures.h"
#include "engine/engine_internal.h"

#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_NO_FAILURE_STRINGS
#define STBI_ASSERT(x) ((void)0)
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace engine {

uint8_t* DecodeImage(const unsigned char* data, size_t size, uint32_t maxSide, int32_t* width,
                     int32_t* height, bool* alpha) {
    *alpha = false;
    if (!IsPng(data, size) || size > 0x7FFFFFFFu) return nullptr;
    const int length = static_cast<int>(size);
    int w = 0, h = 0, channels = 0;
    // Refuse oversized images before stb allocates for them.
    if (!stbi_info_from_memory(data, length, &w, &h, &channels) || w <= 0 || h <= 0 ||
        !ImageClaimFits(static_cast<uint32_t>(w), static_cast<uint32_t>(h), maxSide, size,
                        kPngPixelsPerBit)) {
        return nullptr;
    }
    // stb's buffer comes from malloc, so the caller's std::free releases it.
    uint8_t* pixels = stbi_load_from_memory(data, length, &w, &h, &channels, 4);
    if (!pixels) return nullptr;
    // Grey with alpha (2) and RGBA (4) carry an alpha channel; a transparent
    // palette or colour key shows only in the pixels.
    *alpha = channels == 2 || channels == 4;
    const size_t bytes = static_cast<size_t>(w) * static_cast<size_t>(h) * 4;
    for (size_t i = 3; !*alpha && i < bytes; i += 4) {
        if (pixels[i] != 255) *alpha = true;
    }
    *width = w;
    *height = h;
    return pixels;
}

uint8_t* DecodeGreyImage(const unsigned char* data, size_t size, uint32_t maxSide, int32_t* width,
                         int32_t* height) {
    if (!IsPng(data, size) || size > 0x7FFFFFFFu) return nullptr;
    const int length = static_cast<int>(size);
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(data, length, &w, &h, &channels) || channels != 1 || w <= 0 ||
        h <= 0 ||
        !ImageClaimFits(static_cast<uint32_t>(w), static_cast<uint32_t>(h), maxSide, size,
                        kPngPixelsPerBit)) {
        return nullptr;
    }
    uint8_t* pixels = stbi_load_from_memory(data, length, &w, &h, &channels, 1);
    // A tRNS colour key shows as a second channel only once the file is read.
    if (pixels && channels != 1) {
        std::free(pixels);
        return nullptr;
    }
    *width = w;
    *height = h;
    return pixels;
}

}  // namespace engine
