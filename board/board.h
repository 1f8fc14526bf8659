// The puzzle being played: clues, the player's cells and clue marks, the undo
// history of cell changes and the solved flag. The record has a fixed size
// apart from the clue tables, so play allocates nothing.
#pragma once

#include <cstdint>

constexpr int32_t kBoardMaxSide = 100;   // rows and cols are at most this
constexpr int32_t kUndoSlots = 100;      // the ring holds at most 99 changes
constexpr uint8_t ClueMarkOffset = 150;  // added to a clue byte while it is crossed out

enum CellCode : uint8_t { CellEmpty = 0, CellFilled = 1, CellCross = 2 };

// The clues of one row or column. values is owned, allocated with std::calloc
// and freed with std::free; count is at least 1 once the board is loaded (a
// line without filled cells is the single clue 0).
struct ClueLine {
    uint8_t* values;
    int32_t count;
};

struct UndoEntry {
    uint8_t row;
    uint8_t col;
    uint8_t code;  // the cell's code before the change
};

// Allocated zero-filled by its owner.
struct Board {
    uint8_t solved;            // 1 while the cells agree with every clue, as last checked
    uint8_t stateFileCreated;  // 1 once the marks writer made sure the cells file exists
    int32_t rows;
    int32_t cols;
    ClueLine* rowClues;  // rows lines, top row first; owned (std::calloc)
    ClueLine* colClues;  // cols lines, leftmost first; owned (std::calloc)
    int32_t maxRowClues;
    int32_t maxColClues;
    uint8_t cells[kBoardMaxSide * kBoardMaxSide];  // row r, column c at r * 100 + c
    UndoEntry undo[kUndoSlots];
    int32_t undoTail;        // slot of the oldest entry
    int32_t undoHead;        // slot the next change uses
    int32_t clueGlyphCount;  // characters all clue numbers need: 1 per clue <= 9, else 2
};

// The clue's value with any mark removed.
inline uint8_t ClueValue(uint8_t byte) {
    return byte >= ClueMarkOffset ? static_cast<uint8_t>(byte - ClueMarkOffset) : byte;
}

// ---------------------------------------------------------------------------
// Operations. Positions are (row, col) from the top left, 0-based.

// Records the cell's old code in the undo ring and stores code. Refuses (false,
// nothing changed) a position outside rows x cols or a code above CellCross.
bool SetCell(Board* board, int32_t row, int32_t col, uint8_t code);
// Restores the most recent recorded change; false when the ring is empty.
bool UndoLast(Board* board);
bool CanUndo(const Board* board);
// Crosses clue `clue` of row or column `line` out, or brings it back. Refuses
// (false, nothing changed) a line or clue the board does not have.
bool ToggleClueMark(Board* board, bool isRow, int32_t line, int32_t clue);
// Empties every cell, clears the undo history, the flags and every clue mark.
void ResetBoard(Board* board);
// 0 when the filled cells agree with every clue; otherwise the first failed test:
// columns 1 (a run ends past the last clue), 2 (a run ends with the wrong length),
// 3 and 4 (the same for a run that reaches the bottom), 5 (wrong number of runs);
// rows 10 to 14 likewise; -1 without a board.
int32_t VerifyBoard(const Board* board);
// Every empty cell of the board becomes an X.
void FillCrossesOnSolve(Board* board);
// Frees the clue values and both clue tables (std::free) and sets rows and cols to 0;
// the caller then frees the record.
void ReleaseBoard(Board* board);
