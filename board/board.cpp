// The board's operations: cell changes with their undo ring, reset, the check of
// the filled cells against the clues, and release of the clue tables.
#include "board/board.h"

#include <cstdlib>

namespace {

// rows and cols as far as the fixed cell array reaches, so a damaged record can
// never send a loop past it.
int32_t UsedSide(int32_t side) {
    if (side < 0) return 0;
    return side > kBoardMaxSide ? kBoardMaxSide : side;
}

int32_t NextSlot(int32_t slot) {
    return slot + 1 >= kUndoSlots ? 0 : slot + 1;
}
int32_t PreviousSlot(int32_t slot) {
    return slot <= 0 ? kUndoSlots - 1 : slot - 1;
}

int32_t LineCount(const ClueLine& line) {
    return line.values && line.count > 0 ? line.count : 0;
}

void ClearMarks(ClueLine* lines, int32_t count) {
    if (!lines) return;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t n = LineCount(lines[i]);
        for (int32_t k = 0; k < n; ++k)
            lines[i].values[k] = ClueValue(lines[i].values[k]);
    }
}

// Checks one line of `length` cells, `stride` bytes apart, against its clues.
// codeBase is 0 for a column and 9 for a row, so the codes come out as 1..5 or 10..14.
int32_t VerifyLine(const uint8_t* first, int32_t stride, int32_t length, const ClueLine* clues,
                   int32_t codeBase) {
    const int32_t count = clues ? LineCount(*clues) : 0;
    // The clue k (1-based) with any mark removed; a missing clue never matches a run.
    auto clue = [&](int32_t k) -> int32_t {
        return k >= 1 && k <= count ? ClueValue(clues->values[k - 1]) : -1;
    };
    int32_t runs = 0;
    int32_t runLength = 0;
    bool inRun = false;
    for (int32_t i = 0; i < length; ++i) {
        if (first[i * stride] == CellFilled) {
            if (!inRun) {
                ++runs;
                runLength = 0;
                inRun = true;
            }
            ++runLength;
            if (i == length - 1) {
                if (runs > count) return codeBase + 3;
                if (runLength != clue(runs)) return codeBase + 4;
            }
        } else if (inRun) {
            if (runs > count) return codeBase + 1;
            if (runLength != clue(runs)) return codeBase + 2;
            inRun = false;
        }
    }
    if (runs != count && !(runs == 0 && count == 1 && clue(1) == 0)) return codeBase + 5;
    return 0;
}

}  // namespace

bool SetCell(Board* board, int32_t row, int32_t col, uint8_t code) {
    if (!board || code > CellCross) return false;
    if (row < 0 || row >= UsedSide(board->rows) || col < 0 || col >= UsedSide(board->cols)) {
        return false;
    }
    uint8_t& cell = board->cells[row * kBoardMaxSide + col];
    UndoEntry& entry = board->undo[board->undoHead];
    entry.row = static_cast<uint8_t>(row);
    entry.col = static_cast<uint8_t>(col);
    entry.code = cell;
    cell = code;
    board->undoHead = NextSlot(board->undoHead);
    if (board->undoHead == board->undoTail) board->undoTail = NextSlot(board->undoTail);
    return true;
}

bool UndoLast(Board* board) {
    if (!CanUndo(board)) return false;
    board->undoHead = PreviousSlot(board->undoHead);
    const UndoEntry& entry = board->undo[board->undoHead];
    if (entry.row < kBoardMaxSide && entry.col < kBoardMaxSide && entry.code <= CellCross) {
        board->cells[entry.row * kBoardMaxSide + entry.col] = entry.code;
    }
    return true;
}

bool CanUndo(const Board* board) {
    return board && board->undoHead != board->undoTail;
}

bool ToggleClueMark(Board* board, bool isRow, int32_t line, int32_t clue) {
    if (!board) return false;
    ClueLine* lines = isRow ? board->rowClues : board->colClues;
    const int32_t count = isRow ? UsedSide(board->rows) : UsedSide(board->cols);
    if (!lines || line < 0 || line >= count || clue < 0 || clue >= LineCount(lines[line]))
        return false;
    uint8_t& byte = lines[line].values[clue];
    byte = byte >= ClueMarkOffset ? static_cast<uint8_t>(byte - ClueMarkOffset)
                                  : static_cast<uint8_t>(byte + ClueMarkOffset);
    return true;
}

void ResetBoard(Board* board) {
    if (!board) return;
    // The whole array, not the first rows * cols bytes: rows lie 100 bytes apart.
    for (uint8_t& cell : board->cells)
        cell = CellEmpty;
    board->undoTail = 0;
    board->undoHead = 0;
    board->solved = 0;
    board->stateFileCreated = 0;
    ClearMarks(board->rowClues, board->rowClues ? board->rows : 0);
    ClearMarks(board->colClues, board->colClues ? board->cols : 0);
}

int32_t VerifyBoard(const Board* board) {
    if (!board) return -1;
    const int32_t rows = UsedSide(board->rows);
    const int32_t cols = UsedSide(board->cols);
    for (int32_t c = 0; c < cols; ++c) {
        const ClueLine* clues = board->colClues ? &board->colClues[c] : nullptr;
        int32_t code = VerifyLine(&board->cells[c], kBoardMaxSide, rows, clues, 0);
        if (code != 0) return code;
    }
    for (int32_t r = 0; r < rows; ++r) {
        const ClueLine* clues = board->rowClues ? &board->rowClues[r] : nullptr;
        int32_t code = VerifyLine(&board->cells[r * kBoardMaxSide], 1, cols, clues, 9);
        if (code != 0) return code;
    }
    return 0;
}

void FillCrossesOnSolve(Board* board) {
    if (!board) return;
    const int32_t rows = UsedSide(board->rows);
    const int32_t cols = UsedSide(board->cols);
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < cols; ++c) {
            uint8_t& cell = board->cells[r * kBoardMaxSide + c];
            if (cell == CellEmpty) cell = CellCross;
        }
    }
}

void ReleaseBoard(Board* board) {
    if (!board) return;
    if (board->rowClues) {
        for (int32_t r = 0; r < board->rows; ++r)
            std::free(board->rowClues[r].values);
        std::free(board->rowClues);
    }
    if (board->colClues) {
        for (int32_t c = 0; c < board->cols; ++c)
            std::free(board->colClues[c].values);
        std::free(board->colClues);
    }
    board->rowClues = nullptr;
    board->colClues = nullptr;
    board->rows = 0;
    board->cols = 0;
}
