// Decimal digits in and out, without the C library's locale or its printf.
#include "storage/decimal.h"

int32_t ParseDecimal(const char* text) {
    if (!text) return 0;
    constexpr int32_t kMax = 0x7FFFFFFF;
    int32_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) {
        const int32_t digit = *p - '0';
        if (value > (kMax - digit) / 10) return kMax;
        value = value * 10 + digit;
    }
    return value;
}

int32_t FormatDecimal(int32_t value, char* buffer, size_t size) {
    if (!buffer || size == 0) return 0;
    buffer[0] = '\0';
    int32_t v = value < 0 ? 0 : value;
    int32_t power = 1;
    int32_t digits = 1;
    while (power <= v / 10) {
        power *= 10;
        ++digits;
    }
    if (static_cast<size_t>(digits) + 1 > size) return 0;
    int32_t n = 0;
    for (; power > 0; power /= 10) {
        buffer[n++] = static_cast<char>('0' + v / power);
        v %= power;
    }
    buffer[n] = '\0';
    return n;
}
