// PNG writing through libpng's row interface, into a temporary file beside
// the target that is renamed over it once complete.
#include "hosts/common/png_writer.h"

#include <png.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace host {
namespace {

// Where libpng's complaint goes before it jumps back to the writer.
struct PngFailure {
    char message[256] = {};
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
    std::snprintf(failure->message, sizeof failure->message, "%s", message ? message : "");
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

int ColourType(int32_t channels) {
    switch (channels) {
        case 1:
            return PNG_COLOR_TYPE_GRAY;
        case 3:
            return PNG_COLOR_TYPE_RGB;
        case 4:
            return PNG_COLOR_TYPE_RGBA;
        default:
            return -1;
    }
}

// Encodes into an open file; no C++ object lives across libpng's jump.
bool Encode(FILE* f, const PngImage& image, PngFailure* failure) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, failure, &OnPngError, &OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    if (image.compression >= 0) png_set_compression_level(png, image.compression);
    if (image.smooth) {
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
        png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    }
    const int colourType = image.palette ? PNG_COLOR_TYPE_PALETTE : ColourType(image.channels);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    if (image.palette) {
        png_color colours[256];
        png_byte alphas[256];
        int alphaCount = 0;  // up to the last entry that is not opaque
        for (int i = 0; i < image.paletteSize; ++i) {
            const uint8_t* e = image.palette + i * 4;
            colours[i] = png_color{e[0], e[1], e[2]};
            alphas[i] = e[3];
            if (e[3] != 255) alphaCount = i + 1;
        }
        png_set_PLTE(png, info, colours, image.paletteSize);
        if (alphaCount > 0) png_set_tRNS(png, info, alphas, alphaCount, nullptr);
    }
    if (image.srgb) png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(image.width) * static_cast<size_t>(image.channels);
    const size_t h = static_cast<size_t>(image.height);
    for (size_t y = 0; y < h; ++y) {
        png_write_row(png, image.pixels + (image.bottomUp ? h - 1 - y : y) * stride);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePngFile(const std::string& path, const PngImage& image, std::string* error) {
    if (!image.pixels || image.width <= 0 || image.height <= 0 || ColourType(image.channels) < 0 ||
        image.compression > 9 ||
        (image.palette &&
         (image.channels != 1 || image.paletteSize < 1 || image.paletteSize > 256))) {
        *error = "no pixels to write";
        return false;
    }
    const std::string temp = path + ".part";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        *error = "cannot write " + temp + ": " + std::strerror(errno);
        return false;
    }
    PngFailure failure;
    const bool encoded = Encode(f, image, &failure);
    if (std::fclose(f) != 0 || !encoded) {
        *error = failure.message[0] ? std::string(failure.message) : "cannot write " + temp;
        unlink(temp.c_str());
        return false;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        *error = std::string("cannot replace the file: ") + std::strerror(errno);
        unlink(temp.c_str());
        return false;
    }
    return true;
}

bool WritePng(const std::string& path, const uint8_t* rgba, int32_t width, int32_t height,
              bool bottomUp, std::string* error) {
    if (!rgba || width <= 0 || height <= 0) {
        *error = "no pixels to write";
        return false;
    }
    const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
    std::vector<uint8_t> rgb(w * h * 3);
    for (size_t i = 0; i < w * h; ++i) {
        rgb[i * 3 + 0] = rgba[i * 4 + 0];
        rgb[i * 3 + 1] = rgba[i * 4 + 1];
        rgb[i * 3 + 2] = rgba[i * 4 + 2];
    }
    PngImage image;
    image.pixels = rgb.data();
    image.width = width;
    image.height = height;
    image.channels = 3;
    image.bottomUp = bottomUp;
    image.srgb = true;
    return WritePngFile(path, image, error);
}

}  // namespace host
