// Reading characters out of the game's texts (UTF-8, or one byte a character)
// and the hash that tells a mesh whether its text changed.
#include "text/sdf_font.h"

uint32_t CountTextChars(const char* text, bool byteText) {
    if (!text) return 0;
    uint32_t count = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (byteText || (*p & 0xC0) != 0x80) ++count;
    }
    return count;
}

namespace {

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

}  // namespace

bool DecodeTextChar(const char* text, uint32_t* pos, bool byteText, uint32_t* code) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text) + *pos;
    unsigned char lead = p[0];
    if (lead == 0) return false;
    if (byteText || lead < 0x80) {
        *code = lead;
        *pos += 1;
        return true;
    }
    // Leads that could only start an overlong form, a surrogate or a code
    // beyond U+10FFFF are refused, and with them the whole of E0, ED, F0 and F4.
    int more;
    uint32_t value;
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        value = lead & 0x1F;
    } else if ((lead >= 0xE1 && lead <= 0xEC) || lead == 0xEE || lead == 0xEF) {
        more = 2;
        value = lead & 0x0F;
    } else if (lead >= 0xF1 && lead <= 0xF3) {
        more = 3;
        value = lead & 0x07;
    } else {
        return false;
    }
    // The terminating zero is not a continuation byte, so this never reads past it.
    for (int i = 1; i <= more; ++i) {
        if (!IsContinuation(p[i])) return false;
        value = (value << 6) | (p[i] & 0x3F);
    }
    *code = value;
    *pos += static_cast<uint32_t>(more) + 1;
    return true;
}

uint32_t TextHash(const char* text) {
    uint32_t h = 1315423911u;
    if (!text) return h;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        h ^= (h << 5) + *p + (h >> 2);
    }
    return h;
}
