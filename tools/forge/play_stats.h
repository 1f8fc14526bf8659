// How a puzzle plays, from its clues alone: how many clues a line holds and
// how much of a line its longest run covers. A silhouette gives about one or
// two clues per line and runs across most of the board; a detailed picture
// gives several clues per line and shorter runs.
#pragma once

#include <string>
#include <vector>

#include "tools/forge/solver.h"

namespace forge {

struct PlayFigures {
    double cluesPerLine = 0;    // runs over rows + columns (a blank line has none)
    double longestRun = 0;      // the puzzle's longest run over its line's length
    double lineLongestRun = 0;  // mean over lines of each line's longest run share
};

PlayFigures MeasurePlay(const Clues& clues);

// Speckle: the share of a solution's filled cells that lie in pieces (cells
// joined side by side or corner to corner) of fewer than five cells. Hand-made
// pictures have next to none; colour edges at a few cells a side make many.
double Speckle(const Bitmap& solution);

// Size bands the goals speak of, by the puzzle's own board.
enum class SizeBand { Under15, From15To29, LongNarrow, Both30To44, Both45Up, Count };
SizeBand BandOf(int rows, int cols);
const char* BandName(SizeBand band);

// Per band: puzzles, mean and lowest clues per line, mean longest-run shares
// and the share solvable by line logic alone, as a printed table.
class BandTable {
  public:
    void Add(int rows, int cols, const PlayFigures& figures, bool lineSolvable);
    std::string Format() const;

  private:
    struct Band {
        int puzzles = 0, lineSolvable = 0;
        double clues = 0, lowest = 1e9, longest = 0, lineLongest = 0;
    };
    Band bands_[static_cast<int>(SizeBand::Count)];
};

}  // namespace forge
