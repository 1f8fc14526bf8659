// Cells and marks files (FUZZ_STATE_KIND picks which one the input becomes):
// whatever they hold, a restored board has cell codes 0-2 inside its rows and
// columns only, clue values as the puzzle gave them, and the bytes the writers
// would make of it read back to the same board.
#include <cstdlib>
#include <cstring>
#include <map>

#include "puzzles/board_state.h"
#include "puzzles/puzzle_file.h"
#include "tests/fuzz/fuzz_host.h"

namespace {

const StateFileKind kKind = static_cast<StateFileKind>(FUZZ_STATE_KIND);

// Each puzzle is loaded from the shipped data once; every input works on copies.
const Board* Pristine(const PuzzleAddress& a) {
    // Never destroyed: the boards stay reachable until the leak check at exit.
    static auto& loaded = *new std::map<int64_t, Board*>();
    const int64_t key = (static_cast<int64_t>(a.sizeClass) << 40) |
                        (static_cast<int64_t>(a.gridIndex) << 20) | a.puzzleIndex;
    Board*& board = loaded[key];
    if (!board) {
        board = static_cast<Board*>(std::calloc(1, sizeof(Board)));
        FUZZ_CHECK(LoadPuzzle(a, board));
        ResetBoard(board);
    }
    return board;
}

ClueLine* CopyLines(const ClueLine* lines, int32_t count) {
    auto* copy = static_cast<ClueLine*>(std::calloc(static_cast<size_t>(count), sizeof(ClueLine)));
    for (int32_t i = 0; i < count; ++i) {
        copy[i].count = lines[i].count;
        copy[i].values = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(lines[i].count)));
        std::memcpy(copy[i].values, lines[i].values, static_cast<size_t>(lines[i].count));
    }
    return copy;
}

Board* Copy(const Board* pristine) {
    auto* board = static_cast<Board*>(std::malloc(sizeof(Board)));
    std::memcpy(static_cast<void*>(board), pristine, sizeof(Board));
    board->rowClues = CopyLines(pristine->rowClues, pristine->rows);
    board->colClues = CopyLines(pristine->colClues, pristine->cols);
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
    const PuzzleAddress a = fuzzhost::PickPuzzle(data[0], data[1]);
    char cellsPath[kPathMax], marksPath[kPathMax];
    FUZZ_CHECK(BuildStateFilePath(kPlayerDataRoot, a, CellsFile, cellsPath));
    FUZZ_CHECK(BuildStateFilePath(kPlayerDataRoot, a, MarksFile, marksPath));
    const std::string cells = fuzzhost::MachinePath(cellsPath);
    const std::string marks = fuzzhost::MachinePath(marksPath);
    FUZZ_CHECK(fuzzhost::WriteBytes(kKind == CellsFile ? cells : marks, data + 2, size - 2));

    const Board* pristine = Pristine(a);
    Board* board = Copy(pristine);
    ReadBoardState(kPlayerDataRoot, a, board);
    for (int32_t r = 0; r < kBoardMaxSide; ++r) {
        for (int32_t c = 0; c < kBoardMaxSide; ++c) {
            const uint8_t cell = board->cells[r * kBoardMaxSide + c];
            FUZZ_CHECK(cell <= CellCross);
            FUZZ_CHECK(cell == CellEmpty || (r < board->rows && c < board->cols));
        }
    }
    FUZZ_CHECK(SameClues(board, pristine, true));

    // Round trip: the writers' bytes for this board read back to the same board.
    uint8_t packed[kCellsBytesMax > kMarksBytesMax ? kCellsBytesMax : kMarksBytesMax];
    int32_t length = PackCells(board, packed, kCellsBytesMax);
    FUZZ_CHECK(length >= 0 && fuzzhost::WriteBytes(cells, packed, static_cast<size_t>(length)));
    length = PackMarks(board, packed, kMarksBytesMax);
    FUZZ_CHECK(length >= 0 && fuzzhost::WriteBytes(marks, packed, static_cast<size_t>(length)));
    Board* again = Copy(pristine);
    FUZZ_CHECK(ReadBoardState(kPlayerDataRoot, a, again));
    FUZZ_CHECK(std::memcmp(again->cells, board->cells, sizeof board->cells) == 0);
    FUZZ_CHECK(SameClues(again, board, false));

    Close(again);
    Close(board);
    fuzzhost::RemoveFile(cells);
    fuzzhost::RemoveFile(marks);
    return 0;
}
