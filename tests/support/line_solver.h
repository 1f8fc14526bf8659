// A small line solver for tests that play real puzzles: it finds the picture
// of a puzzle that line logic alone solves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board/board.h"

namespace testsupport {

// clues: one list per line (rows first or columns first as the caller
// keeps them), a line without filled cells being {0}. Gives the picture as
// rows of '#' (filled) and '.' (empty), or false when line logic leaves a
// cell undecided or the clues contradict each other.
bool SolveByLines(const std::vector<std::vector<int32_t>>& rowClues,
                  const std::vector<std::vector<int32_t>>& colClues,
                  std::vector<std::string>* picture);

// The same for a loaded board's clue tables (marks ignored).
bool SolveBoardByLines(const Board& board, std::vector<std::string>* picture);

}  // namespace testsupport
