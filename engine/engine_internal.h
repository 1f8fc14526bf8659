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

// Draws what is kept back for joining when it uses the texture, which is
// about to go.
void ForgetTexture(const CIwTexture* texture);

// Deletes every technique of every loaded group.
void ReleaseTechniques();

// One warning line through the host.
void Warn(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace engine
