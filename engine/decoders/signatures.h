// The first bytes by which the decoders tell a PNG from a JPEG file.
#pragma once

#include <cstddef>
#include <cstring>

namespace engine {

inline bool IsPng(const unsigned char* data, size_t size) {
    static const unsigned char kSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return size >= 8 && std::memcmp(data, kSig, 8) == 0;
}

inline bool IsJpeg(const unsigned char* data, size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

}  // namespace engine
