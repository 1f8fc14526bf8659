// PNG writing through libpng's simplified interface, into a temporary file
// beside the target that is renamed over it once complete.
#include "hosts/common/png_writer.h"

#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace host {

bool WritePng(const std::string& path, const uint8_t* rgba, int32_t width, int32_t height,
              bool bottomUp, std::string* error) {
    if (!rgba || width <= 0 || height <= 0) {
        *error = "no pixels to write";
        return false;
    }
    // The alpha channel of a GL surface is no part of what a player sees.
    const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
    std::vector<uint8_t> rgb(w * h * 3);
    for (size_t y = 0; y < h; ++y) {
        const uint8_t* src = rgba + (bottomUp ? h - 1 - y : y) * w * 4;
        uint8_t* dst = rgb.data() + y * w * 3;
        for (size_t x = 0; x < w; ++x) {
            dst[x * 3 + 0] = src[x * 4 + 0];
            dst[x * 3 + 1] = src[x * 4 + 1];
            dst[x * 3 + 2] = src[x * 4 + 2];
        }
    }

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;

    const std::string temp = path + ".part";
    if (!png_image_write_to_file(&image, temp.c_str(), 0, rgb.data(), 0, nullptr)) {
        *error = image.message[0] ? image.message : "cannot write " + temp;
        png_image_free(&image);
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

}  // namespace host
