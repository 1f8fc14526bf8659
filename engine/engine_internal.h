// Pieces of the engine shared between its own source files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace engine {

void ResetScratch();
void FreeScratch();

// Reads a whole file through the file services into a malloc'ed buffer that the
// caller frees with std::free. Null when missing, empty or larger than maxBytes.
unsigned char* ReadWholeFile(const char* path, size_t maxBytes, size_t* size);

// Decodes a PNG or JPEG image held in memory to RGBA, top row first, in a
// malloc'ed buffer the caller frees with std::free. alpha tells whether the
// image has an alpha channel. Null for anything else, a damaged image, or a
// side of 0 or above maxSide. One decoder source per build provides it
// (engine/decoders/): the system libraries natively, stb_image in the browser.
uint8_t* DecodeImage(const unsigned char* data, size_t size, uint32_t maxSide, int32_t* width,
                     int32_t* height, bool* alpha);

// Deletes every technique of every loaded group.
void ReleaseTechniques();

// One warning line through the host.
void Warn(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace engine
