// The first bytes by which the decoders tell a PNG from a JPEG file, and the
// frame header that tells a JPEG they take from one they refuse.
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

// Whether the JPEG's first frame is sequential (baseline or extended, Huffman
// coded). Progressive files are refused: a file of nothing but scan headers
// makes the decoder walk the whole image once per header, minutes for a
// megabyte, and the game's own images are all sequential.
inline bool IsSequentialJpeg(const unsigned char* data, size_t size) {
    size_t at = 2;
    while (at + 1 < size) {
        if (data[at] != 0xFF) return false;
        const unsigned char marker = data[at + 1];
        at += 2;
        if (marker == 0xFF) {  // a fill byte before the marker
            --at;
            continue;
        }
        if (marker == 0xC0 || marker == 0xC1) return true;
        // Any other start of frame (0xC4 defines tables, 0xC8 is reserved, 0xCC
        // sets arithmetic conditioning), or a scan before any frame.
        if ((marker >= 0xC2 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
             marker != 0xCC) ||
            marker == 0xDA) {
            return false;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;  // no length
        if (at + 1 >= size) return false;
        at += (static_cast<size_t>(data[at]) << 8) | data[at + 1];
    }
    return false;
}

}  // namespace engine
