// The forge's solver. The line solver places the clues by dynamic programming
// from both ends (prefix and suffix reachability), so it finds exactly the
// cells every placement agrees on in O(cells x clues) per line.
#include "tools/forge/solver.h"

#include <algorithm>

namespace forge {

int Bitmap::FilledCount() const {
    int n = 0;
    for (uint8_t c : cells)
        n += c != 0;
    return n;
}

std::vector<int> RunsOf(const uint8_t* cells, int count, int stride) {
    std::vector<int> runs;
    int run = 0;
    for (int i = 0; i < count; ++i) {
        if (cells[static_cast<size_t>(i) * stride]) {
            ++run;
        } else if (run) {
            runs.push_back(run);
            run = 0;
        }
    }
    if (run) runs.push_back(run);
    return runs;
}

Clues CluesOf(const Bitmap& picture) {
    Clues c;
    c.rows = picture.rows;
    c.cols = picture.cols;
    for (int r = 0; r < picture.rows; ++r) {
        c.rowClues.push_back(
            RunsOf(&picture.cells[static_cast<size_t>(r) * picture.cols], picture.cols, 1));
    }
    for (int col = 0; col < picture.cols; ++col) {
        c.colClues.push_back(RunsOf(&picture.cells[col], picture.rows, picture.cols));
    }
    return c;
}

// ---------------------------------------------------------------------------
// One line

bool LineSolver::Solve(const std::vector<int>& clues, uint8_t* cells, int n) {
    const int k = static_cast<int>(clues.size());
    const int w = n + 1;
    fwd_.assign(static_cast<size_t>(k + 1) * w, 0);
    bwd_.assign(static_cast<size_t>(k + 1) * w, 0);
    emptyPrefix_.assign(static_cast<size_t>(n) + 1, 0);
    fillDiff_.assign(static_cast<size_t>(n) + 1, 0);
    for (int i = 0; i < n; ++i)
        emptyPrefix_[i + 1] = emptyPrefix_[i] + (cells[i] == kEmpty);
    auto noEmpty = [&](int a, int e) { return emptyPrefix_[e] == emptyPrefix_[a]; };
    auto F = [&](int j, int i) -> uint8_t& { return fwd_[static_cast<size_t>(j) * w + i]; };
    auto B = [&](int j, int i) -> uint8_t& { return bwd_[static_cast<size_t>(j) * w + i]; };

    // F(j, i): the first j runs fit cells [0, i).
    F(0, 0) = 1;
    for (int i = 1; i <= n; ++i)
        F(0, i) = F(0, i - 1) && cells[i - 1] != kFilled;
    for (int j = 1; j <= k; ++j) {
        const int b = clues[j - 1];
        for (int i = 1; i <= n; ++i) {
            uint8_t v = F(j, i - 1) && cells[i - 1] != kFilled;
            if (!v && i >= b && noEmpty(i - b, i)) {
                const int s = i - b;
                v = s == 0 ? j == 1 : (cells[s - 1] != kFilled && F(j - 1, s - 1));
            }
            F(j, i) = v;
        }
    }
    if (!F(k, n)) return false;

    // B(j, i): runs j..k-1 fit cells [i, n).
    B(k, n) = 1;
    for (int i = n - 1; i >= 0; --i)
        B(k, i) = B(k, i + 1) && cells[i] != kFilled;
    for (int j = k - 1; j >= 0; --j) {
        const int b = clues[j];
        for (int i = n - 1; i >= 0; --i) {
            uint8_t v = B(j, i + 1) && cells[i] != kFilled;
            if (!v && i + b <= n && noEmpty(i, i + b)) {
                const int e = i + b;
                v = e == n ? j == k - 1 : (cells[e] != kFilled && B(j + 1, e + 1));
            }
            B(j, i) = v;
        }
    }

    // Every place each run can take.
    for (int j = 0; j < k; ++j) {
        const int b = clues[j];
        for (int s = 0; s + b <= n; ++s) {
            const int e = s + b;
            if (!noEmpty(s, e)) continue;
            bool left = s == 0 ? j == 0 : (cells[s - 1] != kFilled && F(j, s - 1));
            if (!left) continue;
            bool right = e == n ? j == k - 1 : (cells[e] != kFilled && B(j + 1, e + 1));
            if (!right) continue;
            ++fillDiff_[s];
            --fillDiff_[e];
        }
    }
    int cover = 0;
    for (int i = 0; i < n; ++i) {
        cover += fillDiff_[i];
        bool canFill = cover > 0;
        bool canEmpty = false;
        if (cells[i] != kFilled) {
            for (int j = 0; j <= k && !canEmpty; ++j)
                canEmpty = F(j, i) && B(j, i + 1);
        }
        if (!canFill && !canEmpty) return false;
        if (canFill && !canEmpty) cells[i] = kFilled;
        if (!canFill && canEmpty) cells[i] = kEmpty;
    }
    return true;
}

// ---------------------------------------------------------------------------
// The whole grid

GridSolver::GridSolver(const Clues& clues)
    : clues_(clues),
      grid_(static_cast<size_t>(clues.rows) * clues.cols, kUnknown),
      queued_(static_cast<size_t>(clues.rows) + clues.cols, 0),
      line_(static_cast<size_t>(std::max(clues.rows, clues.cols)), kUnknown) {}

int GridSolver::UnknownCount() const {
    return static_cast<int>(std::count(grid_.begin(), grid_.end(), kUnknown));
}

bool GridSolver::Done(const std::vector<uint8_t>& grid) const {
    return std::find(grid.begin(), grid.end(), kUnknown) == grid.end();
}

void GridSolver::QueueAll(std::vector<int>& queue) {
    for (int i = 0; i < clues_.rows + clues_.cols; ++i) {
        if (!queued_[i]) {
            queued_[i] = 1;
            queue.push_back(i);
        }
    }
}

Progress GridSolver::Propagate(std::vector<uint8_t>& grid, std::vector<int>& queue) {
    const int rows = clues_.rows;
    const int cols = clues_.cols;
    size_t head = 0;
    bool ok = true;
    while (head < queue.size()) {
        const int id = queue[head++];
        queued_[id] = 0;
        if (!ok) continue;
        const bool isRow = id < rows;
        const int index = isRow ? id : id - rows;
        const int n = isRow ? cols : rows;
        const size_t start = isRow ? static_cast<size_t>(index) * cols : static_cast<size_t>(index);
        const size_t stride = isRow ? 1 : static_cast<size_t>(cols);
        for (int i = 0; i < n; ++i)
            line_[i] = grid[start + i * stride];
        const auto& clue = isRow ? clues_.rowClues[index] : clues_.colClues[index];
        if (!lineSolver_.Solve(clue, line_.data(), n)) {
            ok = false;
            continue;
        }
        for (int i = 0; i < n; ++i) {
            uint8_t& cell = grid[start + i * stride];
            if (cell == line_[i]) continue;
            cell = line_[i];
            const int cross = isRow ? rows + i : i;
            if (!queued_[cross]) {
                queued_[cross] = 1;
                queue.push_back(cross);
            }
        }
    }
    queue.clear();
    if (!ok) return Progress::Contradiction;
    return Done(grid) ? Progress::Solved : Progress::Stalled;
}

Progress GridSolver::SolveByLines() {
    std::vector<int> queue;
    QueueAll(queue);
    return Propagate(grid_, queue);
}

Progress GridSolver::Assume(int row, int col, uint8_t value) {
    grid_[static_cast<size_t>(row) * clues_.cols + col] = value;
    std::vector<int> queue = {row, clues_.rows + col};
    queued_[row] = queued_[clues_.rows + col] = 1;
    return Propagate(grid_, queue);
}

Progress GridSolver::SolveWithProbing() {
    Progress p = SolveByLines();
    const int cols = clues_.cols;
    std::vector<int> queue;
    while (p == Progress::Stalled) {
        bool changed = false;
        for (size_t idx = 0; idx < grid_.size() && p == Progress::Stalled; ++idx) {
            if (grid_[idx] != kUnknown) continue;
            const int row = static_cast<int>(idx / cols);
            const int col = static_cast<int>(idx % cols);
            auto probe = [&](uint8_t value, std::vector<uint8_t>& out) {
                out = grid_;
                out[idx] = value;
                queue = {row, clues_.rows + col};
                queued_[row] = queued_[clues_.rows + col] = 1;
                return Propagate(out, queue);
            };
            std::vector<uint8_t> filled, empty;
            if (probe(kFilled, filled) == Progress::Contradiction) {
                p = Assume(row, col, kEmpty);
                changed = true;
                continue;
            }
            if (probe(kEmpty, empty) == Progress::Contradiction) {
                p = Assume(row, col, kFilled);
                changed = true;
                continue;
            }
            // Both hold up: whatever both branches agree on is known.
            for (size_t c = 0; c < grid_.size(); ++c) {
                if (grid_[c] != kUnknown || filled[c] == kUnknown || filled[c] != empty[c])
                    continue;
                grid_[c] = filled[c];
                const int r2 = static_cast<int>(c / cols);
                const int c2 = static_cast<int>(c % cols) + clues_.rows;
                for (int id : {r2, c2}) {
                    if (!queued_[id]) {
                        queued_[id] = 1;
                        queue.push_back(id);
                    }
                }
                changed = true;
            }
            if (!queue.empty()) p = Propagate(grid_, queue);
        }
        if (!changed) break;
    }
    return p;
}

// ---------------------------------------------------------------------------
// Counting solutions

class SolutionCounter {
  public:
    SolutionCounter(GridSolver& solver, long nodeLimit) : s_(solver), limit_(nodeLimit) {}

    // Counts the solutions that extend grid, stopping at two.
    void Count(const std::vector<uint8_t>& grid) {
        if (count_ >= 2 || aborted_) return;
        auto it = std::find(grid.begin(), grid.end(), kUnknown);
        if (it == grid.end()) {
            Found(grid);
            return;
        }
        const size_t idx = static_cast<size_t>(it - grid.begin());
        const int row = static_cast<int>(idx / s_.clues_.cols);
        const int col = static_cast<int>(idx % s_.clues_.cols);
        for (uint8_t value : {kFilled, kEmpty}) {
            if (count_ >= 2 || aborted_) return;
            if (++nodes_ > limit_) {
                aborted_ = true;
                return;
            }
            std::vector<uint8_t> next = grid;
            next[idx] = value;
            std::vector<int> queue = {row, s_.clues_.rows + col};
            s_.queued_[row] = s_.queued_[s_.clues_.rows + col] = 1;
            Progress p = s_.Propagate(next, queue);
            if (p == Progress::Solved) {
                Found(next);
            } else if (p == Progress::Stalled) {
                Count(next);
            }
        }
    }

    int count_ = 0;
    long nodes_ = 0;
    bool aborted_ = false;
    std::vector<uint8_t> first_;

  private:
    void Found(const std::vector<uint8_t>& grid) {
        if (count_++ == 0) first_ = grid;
    }

    GridSolver& s_;
    long limit_;
};

namespace {

Bitmap ToBitmap(const Clues& clues, const std::vector<uint8_t>& grid) {
    Bitmap b(clues.rows, clues.cols);
    for (size_t i = 0; i < grid.size(); ++i)
        b.cells[i] = grid[i] == kFilled;
    return b;
}

}  // namespace

Analysis Analyse(const Clues& clues, long nodeLimit) {
    Analysis a;
    GridSolver solver(clues);
    Progress p = solver.SolveByLines();
    if (p == Progress::Solved) {
        a.verdict = Verdict::Unique;
        a.lineSolvable = a.probeSolvable = true;
        a.solution = ToBitmap(clues, solver.Grid());
        return a;
    }
    if (p == Progress::Stalled) p = solver.SolveWithProbing();
    if (p == Progress::Contradiction) {
        a.verdict = Verdict::NoSolution;
        return a;
    }
    if (p == Progress::Solved) {
        a.verdict = Verdict::Unique;
        a.probeSolvable = true;
        a.solution = ToBitmap(clues, solver.Grid());
        return a;
    }
    SolutionCounter counter(solver, nodeLimit);
    counter.Count(solver.Grid());
    a.searchNodes = counter.nodes_;
    if (counter.count_ >= 2) {
        a.verdict = Verdict::Multiple;
    } else if (counter.aborted_) {
        a.verdict = Verdict::Unproven;
    } else {
        a.verdict = counter.count_ == 1 ? Verdict::Unique : Verdict::NoSolution;
    }
    if (counter.count_ > 0) a.solution = ToBitmap(clues, counter.first_);
    return a;
}

std::vector<int> UndecidedByLines(const Clues& clues) {
    GridSolver solver(clues);
    solver.SolveByLines();
    std::vector<int> out;
    for (size_t i = 0; i < solver.Grid().size(); ++i) {
        if (solver.Grid()[i] == kUnknown) out.push_back(static_cast<int>(i));
    }
    return out;
}

}  // namespace forge
