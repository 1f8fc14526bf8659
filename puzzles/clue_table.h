// The clue scramble table: the one source from which the game decodes the
// bytes of a puzzle file and the puzzle forge encodes them.
#pragma once

#include <cstdint>

// Clue value of every byte value. Bytes 10 and 13 (the line breaks) and the
// unused byte 0 give 0; every other byte gives its own value from 1 to 253, so
// no two bytes share a value other than 0.
extern const uint8_t kClueByteValues[256];

// The largest value the table holds.
constexpr int32_t kClueValueMax = 253;

// The byte that stands for a clue value from 1 to 253, or 0 when the value has
// none (0 itself is written as an empty line, never as a byte).
uint8_t EncodeClueValue(int32_t value);
