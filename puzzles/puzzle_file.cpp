// Reading a puzzle file into the clue tables of a Board. The file is checked
// line by line as it is read; a board is only left loaded when every line the
// catalogue asks for is present and sound, so a missing or damaged file can
// never turn into a board of empty lines that counts as solved at once.
#include "puzzles/puzzle_file.h"

#include <cstdlib>
#include <cstring>

#include "board/board.h"
#include "platform/s3e.h"
#include "puzzles/catalogue.h"
#include "puzzles/clue_table.h"

namespace {

// Larger than a line of kPuzzleLineMax bytes with its CR LF, so such a line
// comes in one piece and an overlong one shows as overlong instead of being
// split into phantom lines.
constexpr uint32_t kLineBufferSize = 256;

void FreeClueTable(ClueLine* table, int32_t count) {
    if (!table) return;
    for (int32_t i = 0; i < count; ++i)
        std::free(table[i].values);
    std::free(table);
}

void Unload(Board* board) {
    FreeClueTable(board->rowClues, board->rows);
    FreeClueTable(board->colClues, board->cols);
    board->rowClues = nullptr;
    board->colClues = nullptr;
    board->rows = 0;
    board->cols = 0;
}

// Decodes one stripped line of length bytes into line, checking that its clues
// fit a line of lineLength cells. An empty line is the single clue 0.
bool DecodeLine(const char* text, int32_t length, int32_t lineLength, ClueLine* line) {
    int32_t count = length > 0 ? length : 1;
    auto* values = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(count), 1));
    if (!values) return false;
    int32_t needed = -1;  // cells the runs and the single gaps between them take
    for (int32_t k = 0; k < length; ++k) {
        uint8_t value = DecodeClueByte(static_cast<uint8_t>(text[k]));
        values[k] = value;
        if (value == 0) needed = lineLength + 1;  // a clue 0 only stands alone
        needed += value + 1;
    }
    if (length > 0 && needed > lineLength) {
        std::free(values);
        return false;
    }
    line->values = values;
    line->count = count;
    return true;
}

}  // namespace

uint8_t DecodeClueByte(uint8_t byte) {
    return kClueByteValues[byte];
}

bool LoadPuzzle(const PuzzleAddress& at, Board* board) {
    if (!board) return false;
    int32_t rows = 0;
    int32_t cols = 0;
    char fileName[kFileNameMax] = {};
    if (!GetPuzzleInfo(at, &rows, &cols, fileName)) return false;
    if (rows < 1 || cols < 1 || rows > kBoardMaxSide || cols > kBoardMaxSide) return false;

    GridSizeInfo grid = {};
    char path[kPathMax];
    if (!GetGridSizeInfo(at.sizeClass, at.gridIndex, &grid) ||
        !BuildPuzzlePath(grid.dirCode, fileName, path)) {
        return false;
    }

    s3eFile* file = s3eFileOpen(path, "r");
    if (!file) return false;

    board->rows = rows;
    board->cols = cols;
    board->rowClues =
        static_cast<ClueLine*>(std::calloc(static_cast<size_t>(rows), sizeof(ClueLine)));
    board->colClues =
        static_cast<ClueLine*>(std::calloc(static_cast<size_t>(cols), sizeof(ClueLine)));
    bool sound = board->rowClues && board->colClues;

    const int32_t wanted = rows + cols;
    int32_t lineIndex = 0;
    char buffer[kLineBufferSize];
    while (sound && lineIndex < wanted && s3eFileReadString(buffer, kLineBufferSize, file)) {
        int32_t length = static_cast<int32_t>(std::strlen(buffer));
        while (length > 0 && (buffer[length - 1] == '\n' || buffer[length - 1] == '\r')) {
            --length;
        }
        if (length > kPuzzleLineMax) {
            sound = false;
            break;
        }
        ClueLine* line =
            lineIndex < rows ? &board->rowClues[lineIndex] : &board->colClues[lineIndex - rows];
        int32_t lineLength = lineIndex < rows ? cols : rows;
        sound = DecodeLine(buffer, length, lineLength, line);
        ++lineIndex;
    }
    s3eFileClose(file);

    if (!sound || lineIndex < wanted) {
        Unload(board);
        return false;
    }

    int32_t glyphs = 0;
    board->maxRowClues = 0;
    board->maxColClues = 0;
    for (int32_t r = 0; r < rows; ++r) {
        const ClueLine& line = board->rowClues[r];
        if (line.count > board->maxRowClues) board->maxRowClues = line.count;
        for (int32_t k = 0; k < line.count; ++k)
            glyphs += line.values[k] <= 9 ? 1 : 2;
    }
    for (int32_t c = 0; c < cols; ++c) {
        const ClueLine& line = board->colClues[c];
        if (line.count > board->maxColClues) board->maxColClues = line.count;
        for (int32_t k = 0; k < line.count; ++k)
            glyphs += line.values[k] <= 9 ? 1 : 2;
    }
    board->clueGlyphCount = glyphs;
    board->solved = 0;
    board->stateFileCreated = 0;
    board->undoTail = 0;
    board->undoHead = 0;
    return true;
}
