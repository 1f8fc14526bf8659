// Boards for the model tests, built the way the puzzle loader builds them: clue
// tables allocated with std::calloc, the record zero-filled and released with
// ReleaseBoard. A picture is a list of strings, '#' filled, 'x' cross, '.' empty.
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "board/board.h"

namespace boardfixture {

using Clues = std::vector<std::vector<int>>;

// The runs of one line of the picture, or the single clue 0 for a line without any.
inline std::vector<int> RunsOf(const std::vector<char>& line) {
    std::vector<int> runs;
    int run = 0;
    for (char c : line) {
        if (c == '#') {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    if (run > 0) runs.push_back(run);
    if (runs.empty()) runs.push_back(0);
    return runs;
}

inline Clues RowCluesOf(const std::vector<std::string>& picture) {
    Clues clues;
    for (const auto& row : picture)
        clues.push_back(RunsOf({row.begin(), row.end()}));
    return clues;
}

inline Clues ColCluesOf(const std::vector<std::string>& picture) {
    Clues clues;
    const size_t cols = picture.empty() ? 0 : picture[0].size();
    for (size_t c = 0; c < cols; ++c) {
        std::vector<char> column;
        for (const auto& row : picture)
            column.push_back(row[c]);
        clues.push_back(RunsOf(column));
    }
    return clues;
}

inline ClueLine* MakeTable(const Clues& lines) {
    auto* table = static_cast<ClueLine*>(std::calloc(lines.size(), sizeof(ClueLine)));
    for (size_t i = 0; i < lines.size(); ++i) {
        table[i].count = static_cast<int32_t>(lines[i].size());
        table[i].values = static_cast<uint8_t*>(std::calloc(lines[i].size(), 1));
        for (size_t k = 0; k < lines[i].size(); ++k) {
            table[i].values[k] = static_cast<uint8_t>(lines[i][k]);
        }
    }
    return table;
}

// Owns a zero-filled Board with the given clues (rows = rowClues.size()).
class TestBoard {
  public:
    TestBoard(const Clues& rowClues, const Clues& colClues)
        : board_(static_cast<Board*>(std::calloc(1, sizeof(Board)))) {
        board_->rows = static_cast<int32_t>(rowClues.size());
        board_->cols = static_cast<int32_t>(colClues.size());
        board_->rowClues = MakeTable(rowClues);
        board_->colClues = MakeTable(colClues);
        for (const auto& l : rowClues) {
            if (static_cast<int32_t>(l.size()) > board_->maxRowClues) {
                board_->maxRowClues = static_cast<int32_t>(l.size());
            }
        }
        for (const auto& l : colClues) {
            if (static_cast<int32_t>(l.size()) > board_->maxColClues) {
                board_->maxColClues = static_cast<int32_t>(l.size());
            }
        }
    }
    // The clues of the picture; the cells stay empty.
    explicit TestBoard(const std::vector<std::string>& picture)
        : TestBoard(RowCluesOf(picture), ColCluesOf(picture)) {}
    ~TestBoard() {
        ReleaseBoard(board_);
        std::free(board_);
    }
    TestBoard(const TestBoard&) = delete;
    TestBoard& operator=(const TestBoard&) = delete;

    Board* operator->() { return board_; }
    Board* get() { return board_; }

    uint8_t& Cell(int r, int c) { return board_->cells[r * kBoardMaxSide + c]; }

    // Writes the picture into the cells directly (no undo records).
    void Paint(const std::vector<std::string>& picture) {
        for (size_t r = 0; r < picture.size(); ++r) {
            for (size_t c = 0; c < picture[r].size(); ++c) {
                const char ch = picture[r][c];
                Cell(static_cast<int>(r), static_cast<int>(c)) = ch == '#'   ? CellFilled
                                                                 : ch == 'x' ? CellCross
                                                                             : CellEmpty;
            }
        }
    }

    // Every clue byte in marks-file order: each row's clues, then each column's.
    std::vector<uint8_t*> Clues() {
        std::vector<uint8_t*> clues;
        for (int32_t r = 0; r < board_->rows; ++r) {
            for (int32_t k = 0; k < board_->rowClues[r].count; ++k) {
                clues.push_back(&board_->rowClues[r].values[k]);
            }
        }
        for (int32_t c = 0; c < board_->cols; ++c) {
            for (int32_t k = 0; k < board_->colClues[c].count; ++k) {
                clues.push_back(&board_->colClues[c].values[k]);
            }
        }
        return clues;
    }
    std::vector<uint8_t> ClueBytes() {
        std::vector<uint8_t> bytes;
        for (uint8_t* clue : Clues())
            bytes.push_back(*clue);
        return bytes;
    }
    std::vector<uint8_t> CellBytes() const {
        return std::vector<uint8_t>(board_->cells, board_->cells + sizeof board_->cells);
    }

  private:
    Board* board_;
};

// A deterministic picture of the given size (a few diagonal bands and blocks).
inline std::vector<std::string> PatternPicture(int rows, int cols, int seed = 0) {
    std::vector<std::string> picture(rows, std::string(cols, '.'));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (((r * 7 + c * 3 + seed) % 5) < 2 || ((r + seed) % 9 == 0 && c % 4 != 3)) {
                picture[r][c] = '#';
            }
        }
    }
    return picture;
}

}  // namespace boardfixture
