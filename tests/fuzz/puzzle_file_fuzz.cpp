// Puzzle files: any bytes in the file of a catalogue puzzle either load into
// clue lines every later step can rely on, or fail and leave nothing behind.
#include <cstdlib>

#include "board/board.h"
#include "puzzles/puzzle_file.h"
#include "tests/fuzz/fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzhost::Bind(false);
    if (size < 2) return 0;
    const PuzzleAddress a = fuzzhost::PickPuzzle(data[0], data[1]);
    int32_t rows = 0, cols = 0;
    char fileName[kFileNameMax] = {};
    GridSizeInfo grid{};
    char path[kPathMax];
    FUZZ_CHECK(GetPuzzleInfo(a, &rows, &cols, fileName));
    FUZZ_CHECK(GetGridSizeInfo(a.sizeClass, a.gridIndex, &grid));
    FUZZ_CHECK(BuildPuzzlePath(grid.dirCode, fileName, path));
    FUZZ_CHECK(fuzzhost::WriteBytes(fuzzhost::MachinePath(path), data + 2, size - 2));

    auto* board = static_cast<Board*>(std::calloc(1, sizeof(Board)));
    if (!LoadPuzzle(a, board)) {
        FUZZ_CHECK(!board->rowClues && !board->colClues && board->rows == 0 && board->cols == 0);
        std::free(board);
        return 0;
    }
    FUZZ_CHECK(board->rows == rows && board->cols == cols && board->rowClues && board->colClues);
    // Every line fits its cells, and a clue 0 only ever stands alone: the board
    // screen sizes its clue bands and the solver its runs on these.
    bool allEmpty = true;
    for (int32_t i = 0; i < rows + cols; ++i) {
        const ClueLine& line = i < rows ? board->rowClues[i] : board->colClues[i - rows];
        const int32_t cells = i < rows ? cols : rows;
        FUZZ_CHECK(line.values && line.count >= 1 && line.count <= kPuzzleLineMax);
        FUZZ_CHECK(line.count <= (i < rows ? board->maxRowClues : board->maxColClues));
        int32_t needed = line.count - 1;
        for (int32_t k = 0; k < line.count; ++k) {
            FUZZ_CHECK(line.values[k] < ClueMarkOffset);
            FUZZ_CHECK(line.values[k] > 0 || line.count == 1);
            needed += line.values[k];
        }
        FUZZ_CHECK(needed <= cells);
        allEmpty = allEmpty && line.values[0] == 0;
    }
    // Only a puzzle of empty lines is solved by an empty board.
    ResetBoard(board);
    FUZZ_CHECK((VerifyBoard(board) == 0) == allEmpty);
    ReleaseBoard(board);
    std::free(board);
    return 0;
}
