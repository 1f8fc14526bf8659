// The forge's nonogram solver: an exact line solver, propagation over the
// whole grid, contradiction probing, and a solution counter that stops at two.
// It proves that a puzzle has exactly one solution and tells whether line
// logic alone reaches it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace forge {

// Cell knowledge while solving.
enum : uint8_t { kUnknown = 0, kFilled = 1, kEmpty = 2 };

// A black-and-white picture, row-major; 1 is a filled cell.
struct Bitmap {
    int rows = 0;
    int cols = 0;
    std::vector<uint8_t> cells;

    Bitmap() = default;
    Bitmap(int r, int c) : rows(r), cols(c), cells(static_cast<size_t>(r) * c, 0) {}
    uint8_t& at(int r, int c) { return cells[static_cast<size_t>(r) * cols + c]; }
    uint8_t at(int r, int c) const { return cells[static_cast<size_t>(r) * cols + c]; }
    int FilledCount() const;
};

// Row and column clues. A line without runs has no entries here (it is
// written as the single clue 0 in files).
struct Clues {
    int rows = 0;
    int cols = 0;
    std::vector<std::vector<int>> rowClues;
    std::vector<std::vector<int>> colClues;
};

Clues CluesOf(const Bitmap& picture);
// The runs of one line of cells (1 = filled).
std::vector<int> RunsOf(const uint8_t* cells, int count, int stride);

// Solves one line: narrows cells (kUnknown / kFilled / kEmpty) to what every
// placement of the clues agrees on. False when no placement fits.
class LineSolver {
  public:
    bool Solve(const std::vector<int>& clues, uint8_t* cells, int n);

  private:
    std::vector<uint8_t> fwd_, bwd_;
    std::vector<int> emptyPrefix_, fillDiff_;
};

enum class Progress { Contradiction, Solved, Stalled };

// Knowledge of a whole grid under a set of clues.
class GridSolver {
  public:
    explicit GridSolver(const Clues& clues);

    // Line logic to a fixed point over every line.
    Progress SolveByLines();
    // Line logic, then contradiction probing of undecided cells, repeated
    // until neither decides anything more.
    Progress SolveWithProbing();

    const std::vector<uint8_t>& Grid() const { return grid_; }
    void SetGrid(const std::vector<uint8_t>& grid) { grid_ = grid; }
    int UnknownCount() const;

    // Sets one cell and follows its consequences along the lines.
    Progress Assume(int row, int col, uint8_t value);

  private:
    friend class SolutionCounter;
    Progress Propagate(std::vector<uint8_t>& grid, std::vector<int>& queue);
    void QueueAll(std::vector<int>& queue);
    bool Done(const std::vector<uint8_t>& grid) const;

    const Clues& clues_;
    std::vector<uint8_t> grid_;
    std::vector<uint8_t> queued_;
    std::vector<uint8_t> line_;
    LineSolver lineSolver_;
};

enum class Verdict { Unique, Multiple, NoSolution, Unproven };

struct Analysis {
    Verdict verdict = Verdict::Unproven;
    bool lineSolvable = false;   // line logic alone decides every cell
    bool probeSolvable = false;  // line logic with contradiction probing does
    long searchNodes = 0;        // branches the counter took
    Bitmap solution;             // the first solution found, when any
};

// Proves the number of solutions (stopping at two). nodeLimit bounds the
// branches of the search; past it the verdict is Unproven.
Analysis Analyse(const Clues& clues, long nodeLimit = 200000);

// The cells line logic alone leaves undecided, in row-major order.
std::vector<int> UndecidedByLines(const Clues& clues);

}  // namespace forge
