// The board screen's layout in numbers, its hit tests on the rectangles a
// frame stores, and opening, clearing and failing to open a puzzle.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "puzzles/board_state.h"
#include "storage/settings.h"
#include "tests/support/test_host.h"
#include "tests/unit/board_fixture.h"
#include "ui/board_view.h"
#include "ui/look.h"

namespace {

using boardfixture::TestBoard;
namespace fs = std::filesystem;

// A board of rows x cols whose widest row line has rowBand clues and tallest
// column line colBand clues.
TestBoard BandedBoard(int rows, int cols, int rowBand, int colBand) {
    boardfixture::Clues r(static_cast<size_t>(rows), std::vector<int>{1});
    boardfixture::Clues c(static_cast<size_t>(cols), std::vector<int>{1});
    r[0] = std::vector<int>(static_cast<size_t>(rowBand), 1);
    c[0] = std::vector<int>(static_cast<size_t>(colBand), 1);
    return TestBoard(r, c);
}

// ===========================================================================
// Layout

TEST(BoardLayout, ASquareBoardOnASquareSurfaceHasItsToolbarAtTheBottom) {
    TestBoard b = BandedBoard(10, 10, 3, 3);  // 13 x 13 cells
    const BoardLayout l = LayoutBoardScreen(600, 600, b.get(), false);
    EXPECT_EQ(l.toolbarSize, 75);
    EXPECT_EQ(l.fitToolbarAtRight, 0);
    EXPECT_EQ(l.toolbarAtRight, 0);
    // Area 580 x 505: cells of min(505/13, 580/13) = 38, centred.
    EXPECT_EQ(l.fitCellSize, 38);
    EXPECT_EQ(l.fitRect.x, 53);
    EXPECT_EQ(l.fitRect.y, 15);
    EXPECT_EQ(l.fitRect.w, 494);
    EXPECT_EQ(l.fitRect.h, 494);
    EXPECT_EQ(l.strip.y, 525);
    // Side 71 and gap 10 overflow 600 pixels once: 63 and 9 from x = 16.
    EXPECT_EQ(l.buttonSide, 63);
    EXPECT_EQ(l.buttons[kButtonDraw].x, 16);
    EXPECT_EQ(l.buttons[kButtonDraw].y, 600 - 63 - 2);

    // Tall surface and wide board agree with the same rule.
    const BoardLayout tall = LayoutBoardScreen(480, 800, b.get(), false);
    EXPECT_EQ(tall.toolbarAtRight, 0);
    const BoardLayout wide = LayoutBoardScreen(800, 480, b.get(), false);
    EXPECT_EQ(wide.toolbarAtRight, 1);
    EXPECT_EQ(wide.buttons[kButtonDraw].x, 800 - 50 - 2);
}

TEST(BoardLayout, EveryFifthLineFromTheGridIsThickIntoTheClueBand) {
    // maxRowClues 7, 15 wide: 22 columns in all.
    std::set<int> thick;
    for (int i = 0; i <= 22; ++i) {
        if (IsThickLine(i, 22, 7)) thick.insert(i);
    }
    EXPECT_EQ(thick, (std::set<int>{0, 2, 7, 12, 17, 22}));
}

TEST(BoardLayout, TheLegendTakesTheRightColumnAndLeavesTheBoardWhereItWas) {
    TestBoard b = BandedBoard(10, 40, 2, 2);  // wide: the fit keeps the bottom row
    const BoardLayout plain = LayoutBoardScreen(800, 480, b.get(), false);
    const BoardLayout legend = LayoutBoardScreen(800, 480, b.get(), true);
    EXPECT_EQ(plain.toolbarAtRight, 0);
    EXPECT_EQ(legend.fitToolbarAtRight, 0);
    EXPECT_EQ(legend.toolbarAtRight, 1);
    EXPECT_EQ(legend.fitRect.x, plain.fitRect.x);
    EXPECT_EQ(legend.fitRect.w, plain.fitRect.w);
    EXPECT_EQ(legend.strip.x, 800 - 60);
    for (const ScreenRect& r : legend.buttons)
        EXPECT_EQ(r.x, 800 - legend.buttonSide - 2);
    EXPECT_LT(legend.buttons[kButtonDraw].y, legend.buttons[kButtonBack].y);
}

TEST(BoardLayout, ButtonsShrinkTogetherOnANarrowScreenAndTinySurfacesStaySane) {
    TestBoard b = BandedBoard(10, 10, 3, 3);
    // 110 wide: T = 13, side 9 and gap 10 shrink three times to 6 and 7.
    const BoardLayout narrow = LayoutBoardScreen(110, 800, b.get(), false);
    EXPECT_EQ(narrow.buttonSide, 6);
    EXPECT_EQ(narrow.buttonGap, 7);
    EXPECT_EQ(narrow.buttonOffset, 6);
    const ToolbarButton order[] = {kButtonDraw, kButtonErase,    kButtonCross,  kButtonMoveScale,
                                   kButtonUndo, kButtonClearAll, kButtonLegend, kButtonBack};
    for (int i = 0; i < 8; ++i) {
        const ScreenRect& r = narrow.buttons[order[i]];
        EXPECT_EQ(r.x, 6 + i * 13) << i;
        EXPECT_EQ(r.w, 6);
        EXPECT_GE(r.x, 1);
        EXPECT_LE(r.x + r.w, 110);
    }
    // Nothing divides by zero or loops: the cell size stays a pixel at least and
    // the shrinking stops at zero.
    for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {50, 800}, {110, 800}, {-5, 3}}) {
        const BoardLayout l = LayoutBoardScreen(w, h, b.get(), true);
        EXPECT_GE(l.fitCellSize, 1) << w << "x" << h;
        EXPECT_GE(l.buttonSide, 0);
        EXPECT_GE(l.buttonGap, 0);
    }
    const BoardLayout none = LayoutBoardScreen(480, 800, nullptr, false);
    EXPECT_GE(none.fitCellSize, 1);
}

// ===========================================================================
// Hit tests

// A 2 x 3 board with a two-clue row band and a one-clue column band, drawn at
// (100, 200) with cells of 20 in a view that reaches six pixels past its last row.
struct HitBoard {
    HitBoard() : board({{1, 1}, {2}}, {{1}, {2}, {1}}) {
        screen.progress.board = board.get();
        screen.viewRect = {100, 200, 100, 66};
        screen.cellSize = ViewCellSize(screen.viewRect, board.get());
        screen.layout = LayoutBoardScreen(480, 800, board.get(), false);
    }
    TestBoard board;
    BoardScreen screen{};
};

TEST(BoardHits, CluesAreRightAlignedInTheRowBandAndBottomAlignedInTheColumnBand) {
    HitBoard h;
    ASSERT_EQ(h.screen.cellSize, 20.0f);
    struct Case {
        int x, y;
        bool inBand, hit, isRow;
        int line, clue;
    } cases[] = {
        {105, 225, true, true, true, 0, 0},  // row 0 holds two clues
        {125, 225, true, true, true, 0, 1},
        {105, 245, true, false, false, 0, 0},  // row 1's one clue stands at the grid
        {139, 245, true, true, true, 1, 0},
        {150, 210, true, true, false, 0, 0},  // column band
        {199, 219, true, true, false, 2, 0},
        {105, 262, true, false, false, 0, 0},   // below the last row, inside the view
        {105, 205, false, false, false, 0, 0},  // the corner
        {150, 230, false, false, false, 0, 0},  // the grid
        {99, 225, false, false, false, 0, 0},
    };
    for (const Case& c : cases) {
        bool inBand = !c.inBand, isRow = false;
        int32_t line = -1, clue = -1;
        EXPECT_EQ(ClueAt(&h.screen, c.x, c.y, &inBand, &isRow, &line, &clue), c.hit)
            << c.x << "," << c.y;
        EXPECT_EQ(inBand, c.inBand) << c.x << "," << c.y;
        if (c.hit) {
            EXPECT_EQ(isRow, c.isRow);
            EXPECT_EQ(line, c.line);
            EXPECT_EQ(clue, c.clue);
        }
    }
}

TEST(BoardHits, CellsOnlyInsideTheGridAndButtonsOnlyInsideTheirEdges) {
    HitBoard h;
    int32_t r = -1, c = -1;
    EXPECT_TRUE(CellAt(&h.screen, 140, 220, &r, &c));
    EXPECT_EQ(r, 0);
    EXPECT_EQ(c, 0);
    EXPECT_TRUE(CellAt(&h.screen, 199, 259, &r, &c));
    EXPECT_EQ(r, 1);
    EXPECT_EQ(c, 2);
    EXPECT_FALSE(CellAt(&h.screen, 200, 230, &r, &c));  // the view's right edge
    EXPECT_FALSE(CellAt(&h.screen, 139, 230, &r, &c));  // the row band
    EXPECT_FALSE(CellAt(&h.screen, 150, 262, &r, &c));  // past the last row: no such row
    // Zoomed so far that the view runs past a cell the board does not have.
    h.screen.viewRect = {100, 200, 2000, 66};
    EXPECT_FALSE(CellAt(&h.screen, 205, 230, &r, &c));

    const ScreenRect d = h.screen.layout.buttons[kButtonDraw];
    EXPECT_EQ(HitToolbar(&h.screen, d.x + 1, d.y + 1), kButtonDraw);
    EXPECT_EQ(HitToolbar(&h.screen, d.x, d.y + 1), kButtonNone);
    EXPECT_EQ(HitToolbar(&h.screen, d.x + d.w, d.y + 1), kButtonNone);
    EXPECT_EQ(HitToolbar(&h.screen, d.x + 1, d.y + d.h), kButtonNone);
    const ScreenRect b = h.screen.layout.buttons[kButtonBack];
    EXPECT_EQ(HitToolbar(&h.screen, b.x + b.w / 2, b.y + b.h / 2), kButtonBack);

    surfaceSize = {480, 800};
    EXPECT_TRUE(InToolbarStrip(&h.screen, 10, 800 - h.screen.layout.toolbarSize));
    EXPECT_FALSE(InToolbarStrip(&h.screen, 10, 800 - h.screen.layout.toolbarSize - 1));
}

// ===========================================================================
// Opening a puzzle

class OpenPuzzle : public ::testing::Test {
  protected:
    void SetUp() override {
        points = 0;
        ASSERT_TRUE(PrepareStorage());
        ASSERT_TRUE(EnsureDirectory("Documents/black/001"));
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(host.DocumentsDir())) {
            if (e.is_regular_file()) files.push_back(e.path().filename().string());
        }
        return files;
    }
    testsupport::BoundHost host{testsupport::GameDataDir()};
};

TEST_F(OpenPuzzle, OpensFittedWithDrawingAndClearAllStartsOver) {
    BoardScreen screen{};
    screen.activeTool = CellCross;
    screen.legendShown = screen.moveScaleMode = 1;
    ASSERT_TRUE(screen.OpenPuzzle({0, 0, 0}));
    ASSERT_NE(screen.progress.board, nullptr);
    EXPECT_EQ(screen.activeTool, CellFilled);
    EXPECT_EQ(screen.legendShown, 0);
    EXPECT_EQ(screen.moveScaleMode, 0);
    EXPECT_GE(screen.layout.fitCellSize, 1);
    EXPECT_EQ(screen.viewRect.w, screen.layout.fitRect.w);
    EXPECT_EQ(screen.viewRect.x, screen.layout.fitRect.x);
    EXPECT_EQ(screen.cellSize, static_cast<float>(screen.layout.fitCellSize));

    SetCell(screen.progress.board, 0, 0, CellFilled);
    screen.progress.board->rowClues[0].values[0] += ClueMarkOffset;
    screen.progress.cellsDirty = screen.progress.marksDirty = 1;
    ASSERT_TRUE(screen.SaveDirtyState());
    EXPECT_EQ(Files().size(), 2u);  // cells and marks

    ASSERT_TRUE(screen.ClearAll());
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(screen.progress.board->cells[0], CellEmpty);
    EXPECT_LT(screen.progress.board->rowClues[0].values[0], ClueMarkOffset);
    EXPECT_FALSE(CanUndo(screen.progress.board));
    screen.ClosePuzzle();
    EXPECT_TRUE(Files().empty());  // nothing left to save after "Clear all?"
}

TEST_F(OpenPuzzle, APuzzleThatCannotBeLoadedOpensNothingAndWritesNothing) {
    BoardScreen screen{};
    // The puzzle open before is saved and closed first.
    ASSERT_TRUE(screen.OpenPuzzle({0, 0, 0}));
    SetCell(screen.progress.board, 2, 2, CellFilled);
    screen.progress.cellsDirty = 1;
    EXPECT_FALSE(screen.OpenPuzzle({0, 0, 100000}));
    EXPECT_EQ(screen.progress.board, nullptr);
    EXPECT_EQ(Files(), std::vector<std::string>{"image25534.res"});
    EXPECT_FALSE(screen.OpenPuzzle({7, 0, 0}));
    EXPECT_FALSE(screen.OpenPuzzle({-1, -1, -1}));
    screen.ClosePuzzle();
    EXPECT_EQ(points, 0);
}

TEST(OpenPuzzleFile, AnEmptyPuzzleFileIsNotASolvedPuzzle) {
    // All-zero clues would verify at once and earn a marker and a point.
    testsupport::BoundHost host;
    ASSERT_TRUE(testsupport::WriteFile(host.Path("tasks/black/001/image25534.dmp"), ""));
    ASSERT_TRUE(PrepareStorage());
    points = 0;
    BoardScreen screen{};
    EXPECT_FALSE(screen.OpenPuzzle({0, 0, 0}));
    EXPECT_EQ(screen.progress.board, nullptr);
    EXPECT_EQ(points, 0);
    EXPECT_FALSE(fs::exists(host.Path("Documents/black/001")));
    EXPECT_FALSE(fs::exists(host.Path(kPointsPath)));
}

}  // namespace
