#include "tools/forge/play_stats.h"

#include <algorithm>
#include <cstdio>

namespace forge {

PlayFigures MeasurePlay(const Clues& clues) {
    PlayFigures f;
    const int lines = clues.rows + clues.cols;
    if (lines == 0) return f;
    size_t runs = 0;
    double lineShares = 0;
    auto add = [&](const std::vector<int>& line, int length) {
        runs += line.size();
        const int longest = line.empty() ? 0 : *std::max_element(line.begin(), line.end());
        const double share = static_cast<double>(longest) / length;
        lineShares += share;
        f.longestRun = std::max(f.longestRun, share);
    };
    for (const auto& line : clues.rowClues)
        add(line, clues.cols);
    for (const auto& line : clues.colClues)
        add(line, clues.rows);
    f.cluesPerLine = static_cast<double>(runs) / lines;
    f.lineLongestRun = lineShares / lines;
    return f;
}

double Speckle(const Bitmap& b) {
    const int filled = b.FilledCount();
    if (filled == 0) return 0;
    std::vector<char> seen(b.cells.size(), 0);
    std::vector<int> stack, piece;
    int specks = 0;
    for (size_t start = 0; start < b.cells.size(); ++start) {
        if (!b.cells[start] || seen[start]) continue;
        piece.clear();
        stack.push_back(static_cast<int>(start));
        seen[start] = 1;
        while (!stack.empty()) {
            const int cell = stack.back();
            stack.pop_back();
            piece.push_back(cell);
            const int r = cell / b.cols, c = cell % b.cols;
            for (int dr = -1; dr <= 1; ++dr) {
                for (int dc = -1; dc <= 1; ++dc) {
                    const int nr = r + dr, nc = c + dc;
                    if (nr < 0 || nr >= b.rows || nc < 0 || nc >= b.cols) continue;
                    const int n = nr * b.cols + nc;
                    if (b.cells[n] && !seen[n]) {
                        seen[n] = 1;
                        stack.push_back(n);
                    }
                }
            }
        }
        if (piece.size() < 5) specks += static_cast<int>(piece.size());
    }
    return static_cast<double>(specks) / filled;
}

SizeBand BandOf(int rows, int cols) {
    const int longer = std::max(rows, cols), shorter = std::min(rows, cols);
    if (longer < 15) return SizeBand::Under15;
    if (longer < 30) return SizeBand::From15To29;
    if (shorter < 30) return SizeBand::LongNarrow;
    if (shorter < 45) return SizeBand::Both30To44;
    return SizeBand::Both45Up;
}

const char* BandName(SizeBand band) {
    switch (band) {
        case SizeBand::Under15:
            return "longer side < 15";
        case SizeBand::From15To29:
            return "longer side 15-29";
        case SizeBand::LongNarrow:
            return "one side >= 30, other < 30";
        case SizeBand::Both30To44:
            return "both >= 30, shorter 30-44";
        case SizeBand::Both45Up:
            return "both >= 45";
        case SizeBand::Count:
            break;
    }
    return "";
}

void BandTable::Add(int rows, int cols, const PlayFigures& figures, bool lineSolvable) {
    Band& b = bands_[static_cast<int>(BandOf(rows, cols))];
    ++b.puzzles;
    b.lineSolvable += lineSolvable;
    b.clues += figures.cluesPerLine;
    b.lowest = std::min(b.lowest, figures.cluesPerLine);
    b.longest += figures.longestRun;
    b.lineLongest += figures.lineLongestRun;
}

std::string BandTable::Format() const {
    std::string out =
        "band                        puzzles  clues/line  lowest  longest run  line's longest  "
        "line-solvable\n";
    for (int i = 0; i < static_cast<int>(SizeBand::Count); ++i) {
        const Band& b = bands_[i];
        if (b.puzzles == 0) continue;
        char row[160];
        std::snprintf(row, sizeof row, "%-27s %7d  %10.2f  %6.2f  %10.0f%%  %13.0f%%  %12.1f%%\n",
                      BandName(static_cast<SizeBand>(i)), b.puzzles, b.clues / b.puzzles, b.lowest,
                      100 * b.longest / b.puzzles, 100 * b.lineLongest / b.puzzles,
                      100.0 * b.lineSolvable / b.puzzles);
        out += row;
    }
    return out;
}

}  // namespace forge
