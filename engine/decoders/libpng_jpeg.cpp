// The image decoder of the native builds: libpng (on zlib) for PNG and
// libjpeg for JPEG.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <png.h>

#include "engine/decoders/signatures.h"
#include "engine/engine_internal.h"

namespace {

// Reads a begun PNG in the format it was given into new memory; the image is
// freed either way.
uint8_t* FinishPng(png_image* image, int32_t* w, int32_t* h) {
    auto* pixels = static_cast<uint8_t*>(std::malloc(PNG_IMAGE_SIZE(*image)));
    if (!pixels) {
        png_image_free(image);
        return nullptr;
    }
    if (!png_image_finish_read(image, nullptr, pixels, 0, nullptr)) {
        std::free(pixels);
        png_image_free(image);
        return nullptr;
    }
    *w = static_cast<int32_t>(image->width);
    *h = static_cast<int32_t>(image->height);
    return pixels;
}

uint8_t* DecodePng(const unsigned char* data, size_t size, uint32_t maxSide, int32_t* w, int32_t* h,
                   bool* alpha) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return nullptr;
    if (!engine::ImageClaimFits(image.width, image.height, maxSide, size,
                                engine::kPngPixelsPerBit)) {
        png_image_free(&image);
        return nullptr;
    }
    *alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    return FinishPng(&image, w, h);
}

struct JpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};

void JpegFail(j_common_ptr info) {
    longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}
void JpegQuiet(j_common_ptr) {}

uint8_t* DecodeJpeg(const unsigned char* data, size_t size, uint32_t maxSide, int32_t* w,
                    int32_t* h) {
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
    if (!engine::ImageClaimFits(info.image_width, info.image_height, maxSide, size,
                                engine::kJpegPixelsPerBit)) {
        jpeg_destroy_decompress(&info);
        return nullptr;
    }
    info.mem->max_memory_to_use = engine::kJpegMemoryMax;
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

uint8_t* DecodeGreyImage(const unsigned char* data, size_t size, uint32_t maxSide, int32_t* width,
                         int32_t* height) {
    if (!IsPng(data, size)) return nullptr;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return nullptr;
    // Grey without alpha or a tRNS key, which would show as the alpha flag.
    if (image.format != PNG_FORMAT_GRAY ||
        !ImageClaimFits(image.width, image.height, maxSide, size, kPngPixelsPerBit)) {
        png_image_free(&image);
        return nullptr;
    }
    return FinishPng(&image, width, height);
}

uint8_t* DecodeImage(const unsigned char* data, size_t size, uint32_t maxSide, int32_t* width,
                     int32_t* height, bool* alpha) {
    *alpha = false;
    if (IsPng(data, size)) return DecodePng(data, size, maxSide, width, height, alpha);
    if (IsJpeg(data, size) && IsSequentialJpeg(data, size))
        return DecodeJpeg(data, size, maxSide, width, height);
    return nullptr;
}

}  // namespace engine
