// Puzzle text formats of the forge: the game's scrambled clue files and the
// common ".non" text format that other nonogram tools read and write.
#pragma once

#include <string>
#include <vector>

#include "tools/forge/solver.h"

namespace forge {

// The bytes of a puzzle file: one line per row, then per column, each clue
// one byte through the game's clue table, every line ended by a line feed and
// an empty line for a line without runs. Empty when a clue has no byte.
std::string EncodePuzzleFile(const Clues& clues);

// Reads puzzle file bytes back into clues (rows and cols from the caller).
// False when lines are missing or a byte is no clue.
bool DecodePuzzleFile(const std::string& bytes, int rows, int cols, Clues* out);

struct NonPuzzle {
    std::string title;
    std::string author;
    std::string license;
    Clues clues;
};

// Parses a .non file: "width", "height", "rows" and "columns" sections of
// comma-separated clues ("0" for an empty line); "title", "by"/"author" and
// "license"/"copyright" are kept, other keys ignored.
bool ParseNon(const std::string& text, NonPuzzle* out, std::string* error);
bool ReadNonFile(const std::string& path, NonPuzzle* out, std::string* error);
std::string FormatNon(const NonPuzzle& puzzle);

// The names of the ".non" files in a folder, sorted; empty when there is none.
std::vector<std::string> ListNonFiles(const std::string& dir);

// Writes a whole file through a temporary beside it, so a failed write never
// leaves a half-written file in place of a good one.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);
std::string ReadWholeFile(const std::string& path, bool* ok = nullptr);

}  // namespace forge
