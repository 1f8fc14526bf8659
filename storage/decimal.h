// The one decimal formatter and parser: the settings and points files are made
// of these digits, and the screens draw counts and clue numbers with them.
#pragma once

#include <cstddef>
#include <cstdint>

// The value of the leading decimal digits of text; 0 when it starts with anything
// else. Never negative: saturates at INT32_MAX.
int32_t ParseDecimal(const char* text);
// Writes the decimal digits of value and a zero byte into buffer (size bytes;
// kDecimalBufferSize always suffices); a negative value is written as 0. Gives the
// number of digits, or 0 (and an empty text when size > 0) if they do not fit.
constexpr size_t kDecimalBufferSize = 12;
int32_t FormatDecimal(int32_t value, char* buffer, size_t size);
