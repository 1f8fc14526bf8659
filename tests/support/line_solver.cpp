// Line solving by placing the runs every possible way: a cell is decided
// once every placement consistent with what is known agrees on it.
#include "tests/support/line_solver.h"

namespace testsupport {
namespace {

// cells: 0 unknown, 1 filled, 2 empty. Adds every placement of runs[k..]
// from position pos into the union arrays; gives whether any fits.
bool Place(const std::vector<int32_t>& runs, size_t k, int32_t pos, const std::vector<int>& cells,
           std::vector<int>& line, std::vector<bool>& canFill, std::vector<bool>& canEmpty) {
    const int32_t n = static_cast<int32_t>(cells.size());
    if (k == runs.size()) {
        for (int32_t i = pos; i < n; ++i)
            if (cells[i] == 1) return false;
        for (int32_t i = 0; i < n; ++i) {
            const bool filled = i < pos ? line[i] == 1 : false;
            (filled ? canFill : canEmpty)[i] = true;
        }
        return true;
    }
    bool any = false;
    const int32_t run = runs[k];
    for (int32_t start = pos; start + run <= n; ++start) {
        bool ok = true;
        for (int32_t i = pos; i < start && ok; ++i)
            ok = cells[i] != 1;
        for (int32_t i = start; i < start + run && ok; ++i)
            ok = cells[i] != 2;
        if (ok && start + run < n) ok = cells[start + run] != 1;
        if (!ok) {
            if (cells[start] == 1) break;  // a filled cell cannot be skipped over
            continue;
        }
        for (int32_t i = pos; i < start; ++i)
            line[i] = 2;
        for (int32_t i = start; i < start + run; ++i)
            line[i] = 1;
        int32_t next = start + run;
        if (next < n) line[next++] = 2;
        if (Place(runs, k + 1, next, cells, line, canFill, canEmpty)) any = true;
        if (cells[start] == 1) break;
    }
    return any;
}

// Narrows one line; false on a contradiction.
bool SolveLine(std::vector<int32_t> runs, std::vector<int>& cells, bool* changed) {
    if (runs.size() == 1 && runs[0] == 0) runs.clear();
    const size_t n = cells.size();
    std::vector<int> line(n, 2);
    std::vector<bool> canFill(n, false), canEmpty(n, false);
    if (!Place(runs, 0, 0, cells, line, canFill, canEmpty)) return false;
    for (size_t i = 0; i < n; ++i) {
        const int decided = canFill[i] && !canEmpty[i] ? 1 : (!canFill[i] && canEmpty[i] ? 2 : 0);
        if (decided && cells[i] == 0) {
            cells[i] = decided;
            *changed = true;
        }
    }
    return true;
}

}  // namespace

bool SolveByLines(const std::vector<std::vector<int32_t>>& rowClues,
                  const std::vector<std::vector<int32_t>>& colClues,
                  std::vector<std::string>* picture) {
    const size_t rows = rowClues.size(), cols = colClues.size();
    std::vector<std::vector<int>> grid(rows, std::vector<int>(cols, 0));
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t r = 0; r < rows; ++r) {
            if (!SolveLine(rowClues[r], grid[r], &changed)) return false;
        }
        for (size_t c = 0; c < cols; ++c) {
            std::vector<int> column(rows);
            for (size_t r = 0; r < rows; ++r)
                column[r] = grid[r][c];
            if (!SolveLine(colClues[c], column, &changed)) return false;
            for (size_t r = 0; r < rows; ++r)
                grid[r][c] = column[r];
        }
    }
    picture->assign(rows, std::string(cols, '.'));
    for (size_t r = 0; r < rows; ++r) {
        for (size_t c = 0; c < cols; ++c) {
            if (grid[r][c] == 0) return false;
            (*picture)[r][c] = grid[r][c] == 1 ? '#' : '.';
        }
    }
    return true;
}

bool SolveBoardByLines(const Board& board, std::vector<std::string>* picture) {
    auto clues = [](const ClueLine* lines, int32_t count) {
        std::vector<std::vector<int32_t>> out;
        for (int32_t i = 0; i < count; ++i) {
            std::vector<int32_t> line;
            for (int32_t k = 0; k < lines[i].count; ++k)
                line.push_back(ClueValue(lines[i].values[k]));
            out.push_back(line);
        }
        return out;
    };
    return SolveByLines(clues(board.rowClues, board.rows), clues(board.colClues, board.cols),
                        picture);
}

}  // namespace testsupport
