// Puzzle files: the scrambled clue lines of one puzzle, read into a Board.
#pragma once

#include <cstdint>

#include "puzzles/catalogue.h"

struct Board;

// The clue value a byte of a puzzle file stands for (see clue_table.h).
uint8_t DecodeClueByte(uint8_t byte);

// The longest clue line a puzzle file may hold, in bytes.
constexpr int32_t kPuzzleLineMax = 100;

// Reads the puzzle at the address into a board that the caller allocated
// zero-filled: file name, rows and cols from the catalogue, the row and column
// clue tables (std::calloc), the largest clue counts and the clue glyph count,
// with the solved flag, the state-file flag and the undo positions at 0.
//
// False, with no clue table left allocated and rows = cols = 0, when the
// address is outside the catalogue, the file is missing or unreadable, it has
// fewer than rows + cols lines, a line is longer than kPuzzleLineMax bytes, or
// a line's clues cannot fit the line (a clue of 0 beside others, or runs and
// gaps longer than the line). Lines beyond rows + cols are ignored.
bool LoadPuzzle(const PuzzleAddress& at, Board* board);
