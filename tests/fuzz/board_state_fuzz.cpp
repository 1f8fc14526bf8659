// Cells and marks files (FUZZ_STATE_KIND picks which one the input becomes):
// whatever they hold, a restored board has cell codes 0-2 inside its rows and
// columns only, clue values as the puzzle gave them, and what the game writes
// back from it reads back to the same board.
#include <cstdlib>
#include <cstring>

#include "puzzles/board_state.h"
#include "puzzles/puzzle_file.h"
#include "tests/fuzz/fuzz_host.h"

namespace {

const StateFileKind kKind = static_cast<StateFileKind>(FUZZ_STATE_KIND);

Board* Open(const fuzzhost::Address& a) {
    auto* board = static_cast<Board*>(std::calloc(1, sizeof(Board)));
    FUZZ_CHECK(LoadPuzzle(a.sizeClass, a.gridIndex, a.puzzleIndex, board));
    ResetBoard(board);
    return board;
}

void Close(Board* board) {
    ReleaseBoard(board);
    std::free(board);
}

bool SameClues(const Board* a, const Board* b, bool valuesOnly) {
    for (int32_t i = 0; i < a->rows + a->cols; ++i) {
        const ClueLine& x = i < a->rows ? a->rowClues[i] : a->colClues[i - a->rows];
        const ClueLine& y = i < b->rows ? b->rowClues[i] : b->colClues[i - b->rows];
        if (x.count != y.count) return false;
        for (int32_t k = 0; k < x.count; ++k) {
            if (valuesOnly ? ClueValue(x.values[k]) != ClueValue(y.values[k])
                           : x.values[k] != y.values[k]) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzhost::Bind(true);
    if (size < 2) return 0;
    const fuzzhost::Address a = fuzzhost::PickPuzzle(data[0], data[1]);
    char cellsPath[kPathMax], marksPath[kPathMax], path[kPathMax];
    FUZZ_CHECK(BuildStateFilePath(kPlayerDataRoot, a.sizeClass, a.gridIndex, a.puzzleIndex,
                                  CellsFile, cellsPath));
    FUZZ_CHECK(BuildStateFilePath(kPlayerDataRoot, a.sizeClass, a.gridIndex, a.puzzleIndex,
                                  MarksFile, marksPath));
    std::strcpy(path, kKind == CellsFile ? cellsPath : marksPath);
    FUZZ_CHECK(fuzzhost::WriteBytes(fuzzhost::MachinePath(path), data + 2, size - 2));

    Board* pristine = Open(a);
    Board* board = Open(a);
    ReadBoardState(kPlayerDataRoot, a.sizeClass, a.gridIndex, a.puzzleIndex, board);
    for (int32_t r = 0; r < kBoardMaxSide; ++r) {
        for (int32_t c = 0; c < kBoardMaxSide; ++c) {
            const uint8_t cell = board->cells[r * kBoardMaxSide + c];
            FUZZ_CHECK(cell <= CellCross);
            FUZZ_CHECK(cell == CellEmpty || (r < board->rows && c < board->cols));
        }
    }
    FUZZ_CHECK(SameClues(board, pristine, true));

    // Round trip through the game's own writers and readers.
    FUZZ_CHECK(SaveCells(kPlayerDataRoot, a.sizeClass, a.gridIndex, a.puzzleIndex, board));
    FUZZ_CHECK(SaveMarks(kPlayerDataRoot, a.sizeClass, a.gridIndex, a.puzzleIndex, board));
    Board* again = Open(a);
    FUZZ_CHECK(ReadBoardState(kPlayerDataRoot, a.sizeClass, a.gridIndex, a.puzzleIndex, again));
    FUZZ_CHECK(std::memcmp(again->cells, board->cells, sizeof board->cells) == 0);
    FUZZ_CHECK(SameClues(again, board, false));

    Close(again);
    Close(board);
    Close(pristine);
    fuzzhost::RemoveFile(fuzzhost::MachinePath(cellsPath));
    fuzzhost::RemoveFile(fuzzhost::MachinePath(marksPath));
    return 0;
}
