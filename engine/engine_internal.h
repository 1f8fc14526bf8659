// Pieces of the engine shared between its own source files.
#pragma once

#include <cstddef>
#include <cstdint>

class CIwTexture;

namespace engine {

void ResetScratch();
void FreeScratch();

// Reads a whole file through the file services into a malloc'ed buffer that the
// caller frees with std::free. Null when missing, empty or larger than maxBytes.
unsigned char* ReadWholeFile(const char* path, size_t maxBytes, size_t* size);

// The largest texture side the device takes, read once when the engine
// starts (0 before).
int32_t MaxTextureSide();

// A texture went to GL. Asking GL for errors waits for the GPU (a round trip
// to another process in a browser), so the end of the frame asks once for all
// of the frame's uploads rather than each upload for itself.
void NoteTextureUpload();

// Draws what is kept back for joining when it uses the texture, which is
// about to go.
void ForgetTexture(const CIwTexture* texture);

// Decodes a PNG or JPEG image held in memory to RGBA, top row first, in a
// malloc'ed buffer the caller frees with std::free. alpha tells whether the
// image has an alpha channel. Null for anything else, a damaged image, or a
// side of 0 or above maxSide. One decoder source per build provides it
// (engine/decoders/): the system libraries natively, stb_image in the browser.
uint8_t* DecodeImage(const unsigned char* data, size_t size, uint32_t maxSide, int32_t* width,
                     int32_t* height, bool* alpha);

// Decodes a grey PNG without alpha (no tRNS either) to one byte per pixel,
// top row first, in a malloc'ed buffer the caller frees with std::free: a
// distance field's page then skips the widening to RGBA and back. Null for
// any other image, which DecodeImage still reads.
uint8_t* DecodeGreyImage(const unsigned char* data, size_t size, uint32_t maxSide, int32_t* width,
                         int32_t* height);

// The most pixels one bit of a sound file can stand for: deflate expands at
// most 1032:1 and a PNG pixel takes at least one bit before it; every 8 x 8
// block of a JPEG costs at least one bit of entropy-coded data.
constexpr uint64_t kPngPixelsPerBit = 1032;
constexpr uint64_t kJpegPixelsPerBit = 64;
// What libjpeg may allocate for one image (progressive files keep all their
// coefficients); beyond it decoding fails instead of swapping to disk.
constexpr long kJpegMemoryMax = 64L * 1024L * 1024L;

// Checked by the decoders before anything is allocated for the pixels: a size
// of 0 or above maxSide, or one the file is too small to hold, is refused, so a
// small damaged file cannot make a decoder allocate for an image it could
// never fill.
inline bool ImageClaimFits(uint32_t width, uint32_t height, uint32_t maxSide, size_t fileBytes,
                           uint64_t pixelsPerBit) {
    if (width == 0 || height == 0 || width > maxSide || height > maxSide) return false;
    return static_cast<uint64_t>(width) * height <=
           static_cast<uint64_t>(fileBytes) * 8 * pixelsPerBit;
}

// Deletes every technique of every loaded group.
void ReleaseTechniques();

// One warning line through the host.
void Warn(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace engine
