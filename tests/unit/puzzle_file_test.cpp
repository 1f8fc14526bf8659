// The clue table and the puzzle file reader: what a loaded board holds, and
// that every damaged or missing file is refused without leaving clue tables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "board/board.h"
#include "puzzles/clue_table.h"
#include "puzzles/puzzle_file.h"
#include "tests/support/test_host.h"

namespace {

using Lines = std::vector<std::vector<int>>;

// The first puzzle of "10x10" (10 rows, 10 cols) and the last (10 rows, 6 cols).
constexpr const char* kFirstPath = "tasks/black/001/image25534.dmp";
constexpr const char* kBoyPath = "tasks/black/001/6x10_boy.dmp";

std::string EncodeLines(const Lines& lines, const std::string& lineEnd = "\n") {
    std::string out;
    for (const auto& line : lines) {
        for (int v : line)
            out += static_cast<char>(EncodeClueValue(v));
        out += lineEnd;
    }
    return out;
}

// A 10 x 10 puzzle with one filled cell per line: every clue is 1.
Lines SingleCells() {
    return Lines(20, std::vector<int>{1});
}

struct LoadedBoard {
    Board* board = static_cast<Board*>(std::calloc(1, sizeof(Board)));
    ~LoadedBoard() {
        ReleaseBoard(board);
        std::free(board);
    }
};

std::vector<int> Values(const ClueLine& line) {
    return std::vector<int>(line.values, line.values + line.count);
}

bool LoadFirst(testsupport::BoundHost& host, const std::string& bytes, Board* board) {
    EXPECT_TRUE(testsupport::WriteFile(host.Path(kFirstPath), bytes));
    return LoadPuzzle({0, 0, 0}, board);
}

void ExpectNothingLoaded(const Board* board) {
    EXPECT_EQ(board->rowClues, nullptr);
    EXPECT_EQ(board->colClues, nullptr);
    EXPECT_EQ(board->rows, 0);
    EXPECT_EQ(board->cols, 0);
}

TEST(ClueTable, LineBreaksGiveZeroAndEveryOtherByteItsOwnValue) {
    EXPECT_EQ(DecodeClueByte(10), 0);
    EXPECT_EQ(DecodeClueByte(13), 0);
    std::set<int> seen;
    for (int b = 1; b < 256; ++b) {
        if (b == 10 || b == 13) continue;
        int v = DecodeClueByte(static_cast<uint8_t>(b));
        EXPECT_GE(v, 1) << "byte " << b;
        EXPECT_LE(v, 253) << "byte " << b;
        EXPECT_TRUE(seen.insert(v).second) << "byte " << b << " repeats value " << v;
    }
}

TEST(ClueTable, EncodingIsTheInverseAndNeverWritesALineBreak) {
    for (int v = 1; v <= kClueValueMax; ++v) {
        uint8_t b = EncodeClueValue(v);
        ASSERT_NE(b, 0) << v;
        EXPECT_NE(b, '\n');
        EXPECT_NE(b, '\r');
        EXPECT_EQ(DecodeClueByte(b), v);
    }
    EXPECT_EQ(EncodeClueValue(0), 0);
    EXPECT_EQ(EncodeClueValue(254), 0);
    EXPECT_EQ(EncodeClueValue(-3), 0);
    // Clues of real boards (at most 100 cells) stay clear of the Ctrl-Z byte
    // that text-mode readers on some systems take as the end of the file.
    for (int v = 1; v <= 100; ++v)
        EXPECT_NE(EncodeClueValue(v), 26) << v;
}

TEST(LoadPuzzle, FillsClueTablesFromRowsThenColumns) {
    testsupport::BoundHost host;
    LoadedBoard lb;
    Board* b = lb.board;
    b->solved = 1;
    b->stateFileCreated = 1;
    b->undoHead = 7;
    b->undoTail = 3;
    Lines lines = SingleCells();
    lines[0] = {1, 3, 3};
    lines[10] = {10};
    lines[19] = {2, 2};
    ASSERT_TRUE(LoadFirst(host, EncodeLines(lines), b));
    EXPECT_EQ(b->rows, 10);
    EXPECT_EQ(b->cols, 10);
    EXPECT_EQ(Values(b->rowClues[0]), (std::vector<int>{1, 3, 3}));
    EXPECT_EQ(Values(b->rowClues[9]), (std::vector<int>{1}));
    EXPECT_EQ(Values(b->colClues[0]), (std::vector<int>{10}));
    EXPECT_EQ(Values(b->colClues[9]), (std::vector<int>{2, 2}));
    EXPECT_EQ(b->maxRowClues, 3);
    EXPECT_EQ(b->maxColClues, 2);
    EXPECT_EQ(b->solved, 0);
    EXPECT_EQ(b->stateFileCreated, 0);
    EXPECT_EQ(b->undoHead, 0);
    EXPECT_EQ(b->undoTail, 0);
}

TEST(LoadPuzzle, CarriageReturnLineFeedReadsAsLineFeed) {
    testsupport::BoundHost host;
    Lines lines = SingleCells();
    lines[2] = {3, 1, 4};
    lines[14] = {5, 2};
    LoadedBoard lf, crlf;
    ASSERT_TRUE(LoadFirst(host, EncodeLines(lines, "\n"), lf.board));
    ASSERT_TRUE(LoadFirst(host, EncodeLines(lines, "\r\n"), crlf.board));
    for (int r = 0; r < 10; ++r) {
        EXPECT_EQ(Values(lf.board->rowClues[r]), Values(crlf.board->rowClues[r])) << r;
    }
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(Values(lf.board->colClues[c]), Values(crlf.board->colClues[c])) << c;
    }
    EXPECT_EQ(lf.board->clueGlyphCount, crlf.board->clueGlyphCount);
    // The last line may end with the end of the file instead of a line break.
    std::string bytes = EncodeLines(lines);
    bytes.pop_back();
    LoadedBoard eof;
    ASSERT_TRUE(LoadFirst(host, bytes, eof.board));
    EXPECT_EQ(Values(eof.board->colClues[9]), (std::vector<int>{1}));
}

TEST(LoadPuzzle, EmptyLinesAreTheSingleClueZero) {
    testsupport::BoundHost host;
    Lines lines = SingleCells();
    lines[3] = {};
    lines[19] = {};  // the last line: the file ends in two line feeds
    LoadedBoard one;
    ASSERT_TRUE(LoadFirst(host, EncodeLines(lines), one.board));
    EXPECT_EQ(Values(one.board->rowClues[3]), (std::vector<int>{0}));
    EXPECT_EQ(Values(one.board->colClues[9]), (std::vector<int>{0}));

    LoadedBoard all;
    ASSERT_TRUE(LoadFirst(host, std::string(20, '\n'), all.board));
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(Values(all.board->rowClues[r]), (std::vector<int>{0}));
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(Values(all.board->colClues[c]), (std::vector<int>{0}));
    EXPECT_EQ(all.board->maxRowClues, 1);
    EXPECT_EQ(all.board->clueGlyphCount, 20);
    // Solved by a board without filled cells, and by nothing else.
    EXPECT_EQ(VerifyBoard(all.board), 0);
    all.board->cells[3 * kBoardMaxSide + 4] = CellFilled;
    EXPECT_NE(VerifyBoard(all.board), 0);
}

TEST(LoadPuzzle, GlyphCountAndLargestCounts) {
    testsupport::BoundHost host;
    Lines lines = SingleCells();
    lines[4] = {1, 6, 1};  // 10 cells exactly
    LoadedBoard fits;
    ASSERT_TRUE(LoadFirst(host, EncodeLines(lines), fits.board));
    EXPECT_EQ(fits.board->clueGlyphCount, 22);  // 22 single-digit clues

    // 80x80 holds a board of 77 rows and 80 columns: room for 1, 12, 3 and 10.
    Lines wide(77 + 80, std::vector<int>{1});
    wide[5] = {1, 12, 3};
    wide[77 + 2] = {10};
    wide[8] = {1, 1, 1, 1, 1, 1, 1};
    wide[9] = {};
    EXPECT_TRUE(
        testsupport::WriteFile(host.Path("tasks/black/225/80x80_girl.dmp"), EncodeLines(wide)));
    LoadedBoard big;
    ASSERT_TRUE(LoadPuzzle({4, 29, 0}, big.board));
    int clues = 0;
    for (int r = 0; r < 77; ++r)
        clues += big.board->rowClues[r].count;
    for (int c = 0; c < 80; ++c)
        clues += big.board->colClues[c].count;
    EXPECT_EQ(big.board->clueGlyphCount, clues + 2);
    EXPECT_EQ(big.board->maxRowClues, 7);
    EXPECT_EQ(big.board->maxColClues, 1);
}

TEST(LoadPuzzle, ExtraLinesAreIgnored) {
    testsupport::BoundHost host;
    Lines lines = SingleCells();
    lines[19] = {4};
    for (int i = 0; i < 30; ++i)
        lines.push_back({9});
    LoadedBoard lb;
    ASSERT_TRUE(LoadFirst(host, EncodeLines(lines), lb.board));
    EXPECT_EQ(Values(lb.board->colClues[9]), (std::vector<int>{4}));
    EXPECT_EQ(lb.board->maxColClues, 1);
}

TEST(LoadPuzzle, LongestLegalLineComesInOnePiece) {
    // 40 runs of one cell fill 79 cells of an 80-cell row; the reader must not
    // split it or see a phantom line after it.
    testsupport::BoundHost host;
    Lines wide(77 + 80, std::vector<int>{1});
    wide[0] = std::vector<int>(40, 1);
    EXPECT_TRUE(testsupport::WriteFile(host.Path("tasks/black/225/80x80_girl.dmp"),
                                       EncodeLines(wide, "\r\n")));
    LoadedBoard lb;
    ASSERT_TRUE(LoadPuzzle({4, 29, 0}, lb.board));
    EXPECT_EQ(lb.board->rowClues[0].count, 40);
    EXPECT_EQ(Values(lb.board->rowClues[1]), (std::vector<int>{1}));
    EXPECT_EQ(Values(lb.board->colClues[79]), (std::vector<int>{1}));
}

TEST(LoadPuzzle, MissingOrShortFilesAreRefused) {
    testsupport::BoundHost host;
    LoadedBoard missing;
    EXPECT_FALSE(LoadPuzzle({0, 0, 0}, missing.board));
    ExpectNothingLoaded(missing.board);

    LoadedBoard empty;
    EXPECT_FALSE(LoadFirst(host, "", empty.board));
    ExpectNothingLoaded(empty.board);

    Lines lines = SingleCells();
    lines.pop_back();
    LoadedBoard shortFile;
    EXPECT_FALSE(LoadFirst(host, EncodeLines(lines), shortFile.board));
    ExpectNothingLoaded(shortFile.board);

    // The last puzzle of "10x10" has 6 columns: 16 lines are enough for it.
    Lines boy(16, std::vector<int>{1});
    EXPECT_TRUE(testsupport::WriteFile(host.Path(kBoyPath), EncodeLines(boy)));
    LoadedBoard narrow;
    ASSERT_TRUE(LoadPuzzle({0, 0, 154}, narrow.board));
    EXPECT_EQ(narrow.board->rows, 10);
    EXPECT_EQ(narrow.board->cols, 6);

    LoadedBoard outside;
    EXPECT_FALSE(LoadPuzzle({0, 0, 155}, outside.board));
    EXPECT_FALSE(LoadPuzzle({5, 0, 0}, outside.board));
    ExpectNothingLoaded(outside.board);
}

TEST(LoadPuzzle, CluesThatCannotFitTheirLineAreRefused) {
    testsupport::BoundHost host;
    const std::vector<std::vector<int>> bad = {
        {11},    // larger than the 10-cell row
        {5, 5},  // 5 + gap + 5 = 11 cells
        {200},   // would read as a crossed-out clue
    };
    for (const auto& clue : bad) {
        Lines lines = SingleCells();
        lines[6] = clue;
        LoadedBoard lb;
        EXPECT_FALSE(LoadFirst(host, EncodeLines(lines), lb.board)) << clue[0];
        ExpectNothingLoaded(lb.board);
    }
    // A carriage return inside a line is no line end: it reads as a clue 0,
    // which only ever stands alone.
    std::string bytes = EncodeLines(SingleCells());
    bytes.insert(0, "\r");
    LoadedBoard cr;
    EXPECT_FALSE(LoadFirst(host, bytes, cr.board));

    // A line longer than any line of the format.
    Lines lines = SingleCells();
    lines[2] = std::vector<int>(101, 1);
    LoadedBoard overlong;
    EXPECT_FALSE(LoadFirst(host, EncodeLines(lines), overlong.board));
    ExpectNothingLoaded(overlong.board);

    // Runs that fill their line exactly are sound.
    lines = SingleCells();
    lines[6] = {4, 5};
    LoadedBoard exact;
    EXPECT_TRUE(LoadFirst(host, EncodeLines(lines), exact.board));
}

}  // namespace
