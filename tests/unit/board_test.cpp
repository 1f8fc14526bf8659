// The board model: the undo ring, reset, the check against the clues with its
// failure codes, and the crosses a solved board receives.
#include <gtest/gtest.h>

#include "board/board.h"
#include "tests/unit/board_fixture.h"

namespace {

using boardfixture::TestBoard;

TEST(BoardUndo, RingKeepsTheLast99ChangesOf100) {
    TestBoard b(boardfixture::PatternPicture(10, 10));
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(SetCell(b.get(), i / 10, i % 10, CellFilled));
    for (int i = 0; i < 99; ++i)
        EXPECT_TRUE(UndoLast(b.get())) << i;
    EXPECT_FALSE(CanUndo(b.get()));
    EXPECT_FALSE(UndoLast(b.get()));
    // The oldest change fell out of the ring and stays; every later one is undone.
    EXPECT_EQ(b.Cell(0, 0), CellFilled);
    for (int i = 1; i < 100; ++i)
        EXPECT_EQ(b.Cell(i / 10, i % 10), CellEmpty) << i;
}

TEST(BoardUndo, RestoresTheOldCodeInReverseOrder) {
    TestBoard b(boardfixture::PatternPicture(5, 5));
    EXPECT_FALSE(CanUndo(b.get()));
    ASSERT_TRUE(SetCell(b.get(), 2, 3, CellFilled));
    EXPECT_TRUE(CanUndo(b.get()));
    EXPECT_TRUE(UndoLast(b.get()));
    EXPECT_EQ(b.Cell(2, 3), CellEmpty);
    EXPECT_FALSE(UndoLast(b.get()));
    EXPECT_EQ(b.Cell(2, 3), CellEmpty);

    // Same cell changed twice: each undo steps back one code.
    SetCell(b.get(), 1, 1, CellCross);
    SetCell(b.get(), 1, 1, CellEmpty);
    SetCell(b.get(), 1, 1, CellFilled);
    UndoLast(b.get());
    EXPECT_EQ(b.Cell(1, 1), CellEmpty);
    UndoLast(b.get());
    EXPECT_EQ(b.Cell(1, 1), CellCross);
    UndoLast(b.get());
    EXPECT_EQ(b.Cell(1, 1), CellEmpty);
    EXPECT_FALSE(CanUndo(b.get()));
}

TEST(BoardUndo, WrapsAroundTheRingManyTimes) {
    TestBoard b(boardfixture::PatternPicture(10, 10));
    // 250 changes wrap the head past slot 99 twice; the last 99 stay undoable.
    for (int i = 0; i < 250; ++i)
        SetCell(b.get(), (i / 10) % 10, i % 10, (i / 100) % 2 ? 2 : 1);
    int undone = 0;
    while (UndoLast(b.get()))
        ++undone;
    EXPECT_EQ(undone, 99);
    // Changes 151..249 are undone: cells 0..49 go back to what changes 100..149 wrote
    // (X), cells 51..99 to what changes 51..99 wrote (filled); change 150 stays.
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(b.Cell(i / 10, i % 10), i <= 50 ? CellCross : CellFilled) << i;
    }
}

TEST(BoardCells, SetCellRefusesPositionsAndCodesOutsideTheBoard) {
    TestBoard b(boardfixture::PatternPicture(4, 6));
    EXPECT_FALSE(SetCell(b.get(), 4, 0, CellFilled));
    EXPECT_FALSE(SetCell(b.get(), 0, 6, CellFilled));
    EXPECT_FALSE(SetCell(b.get(), -1, 0, CellFilled));
    EXPECT_FALSE(SetCell(b.get(), 0, -1, CellFilled));
    EXPECT_FALSE(SetCell(b.get(), 0, 0, 3));
    EXPECT_FALSE(CanUndo(b.get()));
    for (uint8_t cell : b->cells)
        ASSERT_EQ(cell, CellEmpty);
}

TEST(BoardReset, ClearsEveryRowMarksFlagsAndHistory) {
    TestBoard b(boardfixture::PatternPicture(10, 10));
    SetCell(b.get(), 0, 0, CellFilled);
    SetCell(b.get(), 9, 9, CellCross);  // far past the first rows * cols bytes of the array
    SetCell(b.get(), 5, 3, CellFilled);
    b->rowClues[2].values[0] += ClueMarkOffset;
    b->colClues[9].values[0] += ClueMarkOffset;
    const uint8_t row2 = ClueValue(b->rowClues[2].values[0]);
    b->solved = 1;
    b->stateFileCreated = 1;

    ResetBoard(b.get());
    for (uint8_t cell : b->cells)
        ASSERT_EQ(cell, CellEmpty);
    EXPECT_FALSE(CanUndo(b.get()));
    EXPECT_EQ(b->undoHead, 0);
    EXPECT_EQ(b->undoTail, 0);
    EXPECT_EQ(b->solved, 0);
    EXPECT_EQ(b->stateFileCreated, 0);
    EXPECT_EQ(b->rowClues[2].values[0], row2);
    EXPECT_LT(b->colClues[9].values[0], ClueMarkOffset);
}

TEST(BoardReset, UnmarksAClueBackToItsValue) {
    TestBoard b({{153}}, {{1}, {1}, {1}});
    ResetBoard(b.get());
    EXPECT_EQ(b->rowClues[0].values[0], 3);
}

// ---------------------------------------------------------------------------
// VerifyBoard

TEST(BoardVerify, AllZeroCluesAcceptCrossesButNotAFilledCell) {
    TestBoard b({{0}}, {{0}, {0}, {0}});
    b.Paint({"xxx"});
    EXPECT_EQ(VerifyBoard(b.get()), 0);
    b.Paint({"x#x"});
    EXPECT_EQ(VerifyBoard(b.get()), 4);
}

TEST(BoardVerify, OneColumnExample) {
    TestBoard b({{1}, {1}, {0}, {1}}, {{2, 1}});
    b.Paint({"#", "#", ".", "#"});
    EXPECT_EQ(VerifyBoard(b.get()), 0);
    b.Paint({"#", ".", "#", "#"});
    EXPECT_EQ(VerifyBoard(b.get()), 2);
}

TEST(BoardVerify, EveryColumnCode) {
    struct Case {
        std::vector<int> clue;
        std::vector<std::string> cells;
        int code;
    };
    const Case cases[] = {
        {{1}, {"#", ".", "#", "."}, 1},  // a second run ends inside the column
        {{2}, {"#", ".", "."}, 2},       // a run ends one short
        {{1}, {"#", ".", "#"}, 3},       // a second run reaches the bottom
        {{1}, {".", "#", "#"}, 4},       // the bottom run is too long
        {{1, 1}, {"#", ".", "."}, 5},    // too few runs
        {{1}, {".", "x", "."}, 5},       // no run for a clue that is not 0
        {{0}, {".", "x", "."}, 0},       // the single clue 0 wants no run
        {{1}, {"x", "#", "x"}, 0},       // crosses end runs like empty cells
    };
    for (const Case& c : cases) {
        // Row clues taken from the cells, so only the column can fail.
        TestBoard b(boardfixture::RowCluesOf(c.cells), {c.clue});
        b.Paint(c.cells);
        EXPECT_EQ(VerifyBoard(b.get()), c.code) << c.cells.size() << " cells, clue " << c.clue[0];
    }
}

TEST(BoardVerify, EveryRowCodeOnceTheColumnsPass) {
    struct Case {
        std::vector<int> clue;
        std::string cells;
        int code;
    };
    const Case cases[] = {
        {{1}, "#.#.", 10}, {{2}, "#..", 11},    {{1}, "#.#", 12},
        {{1}, ".##", 13},  {{1, 1}, "#..", 14}, {{2, 1}, "##.#", 0},
    };
    for (const Case& c : cases) {
        // Column clues taken from the cells, so every column passes.
        TestBoard b({c.clue}, boardfixture::ColCluesOf({c.cells}));
        b.Paint({c.cells});
        EXPECT_EQ(VerifyBoard(b.get()), c.code) << c.cells;
    }
}

TEST(BoardVerify, ColumnsAreCheckedBeforeRows) {
    // Both the first row and the first column are wrong; the column code wins.
    TestBoard b({{2}, {0}}, {{2}, {0}});
    b.Paint({"#.", ".."});
    EXPECT_EQ(VerifyBoard(b.get()), 2);  // column 0: a run of 1 ends at row 1
}

TEST(BoardVerify, MarkedCluesCountByTheirValue) {
    TestBoard b({{153}}, {{1}, {1}, {1}});
    b.Paint({"###"});
    EXPECT_EQ(VerifyBoard(b.get()), 0);
    b->colClues[1].values[0] = 151;
    EXPECT_EQ(VerifyBoard(b.get()), 0);
}

TEST(BoardVerify, SolvesAPictureAndFailsOnAnyChangedCell) {
    const auto picture = boardfixture::PatternPicture(15, 20, 3);
    TestBoard b(picture);
    b.Paint(picture);
    ASSERT_EQ(VerifyBoard(b.get()), 0);
    for (int r = 0; r < 15; ++r) {
        for (int c = 0; c < 20; ++c) {
            const uint8_t old = b.Cell(r, c);
            b.Cell(r, c) = old == CellFilled ? CellCross : CellFilled;
            EXPECT_NE(VerifyBoard(b.get()), 0) << r << "," << c;
            b.Cell(r, c) = old;
        }
    }
}

TEST(BoardSolve, FillCrossesTouchesOnlyEmptyCellsInsideTheBoard) {
    TestBoard b({{1}, {0}}, {{1}, {0}, {0}});
    b.Paint({"#x.", "..."});
    b.Cell(2, 0) = CellEmpty;  // outside rows
    FillCrossesOnSolve(b.get());
    EXPECT_EQ(b.Cell(0, 0), CellFilled);
    EXPECT_EQ(b.Cell(0, 1), CellCross);
    EXPECT_EQ(b.Cell(0, 2), CellCross);
    EXPECT_EQ(b.Cell(1, 0), CellCross);
    EXPECT_EQ(b.Cell(1, 2), CellCross);
    EXPECT_EQ(b.Cell(0, 3), CellEmpty);  // outside cols
    EXPECT_EQ(b.Cell(2, 0), CellEmpty);
}

TEST(BoardRelease, FreesTheTablesAndEmptiesTheDimensions) {
    Board* board = static_cast<Board*>(std::calloc(1, sizeof(Board)));
    board->rows = 2;
    board->cols = 3;
    board->rowClues = boardfixture::MakeTable({{1}, {2}});
    board->colClues = boardfixture::MakeTable({{1}, {1}, {0}});
    ReleaseBoard(board);
    EXPECT_EQ(board->rows, 0);
    EXPECT_EQ(board->cols, 0);
    EXPECT_EQ(board->rowClues, nullptr);
    EXPECT_EQ(board->colClues, nullptr);
    ReleaseBoard(board);  // a second release is harmless
    std::free(board);
}

}  // namespace
