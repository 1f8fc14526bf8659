// The board screen through the headless host (--screen board): a puzzle in
// progress restored from its cells file, the fitted layout the unit tests
// compute, the solved look, a rotation, and surfaces too small to hold it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "board/board.h"
#include "puzzles/board_state.h"
#include "puzzles/puzzle_file.h"
#include "tests/support/test_host.h"
#include "ui/board_view.h"

namespace {

using testsupport::RunHeadless;

using testsupport::Picture;
using testsupport::ReadPicture;

const std::vector<int> kClueBand = {200, 200, 200};
const std::vector<int> kFilled = {30, 30, 30};
const std::vector<int> kLightBackground = {236, 240, 241};
const std::vector<int> kGridLine = {100, 100, 100};
const std::vector<int> kBlack = {0, 0, 0};

// Solves a small board by line logic: every line's possible fillings are
// enumerated and what they agree on is kept, until nothing changes.
bool SolveSmall(Board* b) {
    const int rows = b->rows, cols = b->cols;
    std::vector<int> known(static_cast<size_t>(rows * cols), -1);
    auto line = [&](bool isRow, int i, int n) {
        const ClueLine& clues = isRow ? b->rowClues[i] : b->colClues[i];
        auto at = [&](int k) -> int& { return known[isRow ? i * cols + k : k * cols + i]; };
        int canFill = 0, canEmpty = 0;
        for (int mask = 0; mask < (1 << n); ++mask) {
            std::vector<int> runs;
            for (int k = 0, run = 0; k <= n; ++k) {
                if (k < n && (mask >> k & 1)) {
                    ++run;
                } else if (run) {
                    runs.push_back(run);
                    run = 0;
                }
            }
            if (runs.empty()) runs.push_back(0);
            bool fits = static_cast<int>(runs.size()) == clues.count;
            for (int k = 0; fits && k < clues.count; ++k)
                fits = runs[static_cast<size_t>(k)] == ClueValue(clues.values[k]);
            for (int k = 0; fits && k < n; ++k)
                fits = at(k) < 0 || at(k) == (mask >> k & 1);
            if (!fits) continue;
            canFill |= mask;
            canEmpty |= ~mask;
        }
        bool changed = false;
        for (int k = 0; k < n; ++k) {
            const int v = (canFill >> k & 1) && !(canEmpty >> k & 1)   ? 1
                          : !(canFill >> k & 1) && (canEmpty >> k & 1) ? 0
                                                                       : -1;
            if (v >= 0 && at(k) < 0) {
                at(k) = v;
                changed = true;
            }
        }
        return changed;
    };
    for (bool changed = true; changed;) {
        changed = false;
        for (int r = 0; r < rows; ++r)
            changed |= line(true, r, cols);
        for (int c = 0; c < cols; ++c)
            changed |= line(false, c, rows);
    }
    for (int i = 0; i < rows * cols; ++i) {
        if (known[static_cast<size_t>(i)] < 0) return false;
        b->cells[(i / cols) * kBoardMaxSide + i % cols] =
            known[static_cast<size_t>(i)] ? CellFilled : CellEmpty;
    }
    return true;
}

class BoardScreenHost : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = testsupport::MakeTempDir();
        board_ = static_cast<Board*>(std::calloc(1, sizeof(Board)));
        ASSERT_TRUE(LoadPuzzle({0, 0, 0}, board_));  // 10 x 10 "image25534"
    }
    void TearDown() override {
        ReleaseBoard(board_);
        std::free(board_);
        testsupport::RemoveTree(dir_);
    }
    // The cells file of puzzle 0/0/0 in the storage folder, from board_'s cells.
    void SeedCells() {
        uint8_t bytes[kCellsBytesMax];
        const int32_t n = PackCells(board_, bytes, sizeof bytes);
        ASSERT_GT(n, 0);
        ASSERT_TRUE(testsupport::WriteFile(dir_ + "/storage/black/001/image25534.res",
                                           std::string(reinterpret_cast<char*>(bytes), n)));
    }
    testsupport::HeadlessRun Run(const std::string& script, const std::string& size) {
        return RunHeadless(script, {"--size", size, "--storage", dir_ + "/storage", "--screen",
                                    "board", "--puzzle", "0/0/0", "--lang", "en"});
    }
    // Centre of grid cell (row, col) in a layout.
    static std::pair<int, int> CellCentre(const BoardLayout& l, const Board* b, int row, int col) {
        const int s = l.fitCellSize;
        return {l.fitRect.x + (b->maxRowClues + col) * s + s / 2,
                l.fitRect.y + (b->maxColClues + row) * s + s / 2};
    }

    testsupport::BoundHost host_{testsupport::GameDataDir()};
    std::string dir_;
    Board* board_ = nullptr;
};

TEST_F(BoardScreenHost, APuzzleInProgressIsDrawnWhereTheLayoutPutsItAndFollowsARotation) {
    board_->cells[0] = CellFilled;                     // row 0, column 0
    board_->cells[3 * kBoardMaxSide + 4] = CellCross;  // an X leaves its cell's centre line
    SeedCells();
    auto run = Run("shot " + dir_ + "/tall.png\nresize 800 480\nwait 1\nshot " + dir_ +
                       "/wide.png\nresize 0 0\nresize 1 1\nresize 50 800\nresize 110 800\n"
                       "wait 1\nquit\n",
                   "480x800");
    ASSERT_EQ(run.exitStatus, 0) << run.errors;

    for (auto [name, w, h] : {std::tuple{"/tall.png", 480, 800}, {"/wide.png", 800, 480}}) {
        SCOPED_TRACE(name);
        Picture p;
        ASSERT_TRUE(ReadPicture(dir_ + name, &p));
        ASSERT_EQ(p.width, w);
        const BoardLayout l = LayoutBoardScreen(w, h, board_, false);
        const int s = l.fitCellSize;
        EXPECT_EQ(l.toolbarAtRight, w > h ? 1 : 0);
        // The corner of the clue bands, a filled cell, an empty one, and the
        // thick line left of the grid.
        EXPECT_EQ(p.Rgb(l.fitRect.x + s / 2, l.fitRect.y + s / 2), kClueBand);
        auto [fx, fy] = CellCentre(l, board_, 0, 0);
        EXPECT_EQ(p.Rgb(fx, fy), kFilled);
        auto [ex, ey] = CellCentre(l, board_, 6, 7);
        EXPECT_EQ(p.Rgb(ex, ey), kLightBackground);
        EXPECT_EQ(p.Rgb(fx - s / 2 - 1, ey), kGridLine);
        // The Drawing tool's frame, and the strip on the side the layout chose.
        const ScreenRect d = l.buttons[kButtonDraw];
        EXPECT_EQ(p.Rgb(d.x - 1, d.y + d.h / 2), kBlack);
        EXPECT_EQ(p.Rgb(l.strip.x + 1, l.strip.y + 1), kLightBackground);
    }
    // The tiny surfaces were drawn (or skipped) without a crash or a hang.
    int frames = 0;
    for (const auto& line : run.lines)
        frames += line.rfind("frame ", 0) == 0;
    EXPECT_GE(frames, 6);
}

TEST_F(BoardScreenHost, ASolvedPuzzleShowsTheBadgeAndDimsItsTools) {
    ASSERT_TRUE(SolveSmall(board_));
    auto unsolved = Run("shot " + dir_ + "/unsolved.png\nquit\n", "480x800");
    ASSERT_EQ(unsolved.exitStatus, 0) << unsolved.errors;
    SeedCells();
    auto solved = Run("shot " + dir_ + "/solved.png\nquit\n", "480x800");
    ASSERT_EQ(solved.exitStatus, 0) << solved.errors;
    EXPECT_TRUE(testsupport::FileExists(dir_ + "/storage/black/001/image25534.rsv"));

    Picture before, after;
    ASSERT_TRUE(ReadPicture(dir_ + "/unsolved.png", &before));
    ASSERT_TRUE(ReadPicture(dir_ + "/solved.png", &after));
    const BoardLayout l = LayoutBoardScreen(480, 800, board_, false);
    const int s = l.fitCellSize;
    const int bandW = board_->maxRowClues * s, bandH = board_->maxColClues * s;
    const int side = std::min({128, bandW, bandH});
    // The badge's green ring, centred in the corner; the corner was grey before.
    const int bx = l.fitRect.x + bandW / 2 - side * 4 / 10, by = l.fitRect.y + bandH / 2;
    EXPECT_EQ(before.Rgb(bx, by)[0], before.Rgb(bx, by)[1]);  // band grey or grid line grey
    const std::vector<int> ring = after.Rgb(bx, by);
    EXPECT_GT(ring[1], ring[0] + 60) << ring[0] << "," << ring[1] << "," << ring[2];
    // Drawing is dimmed and unframed; Back keeps its full strength.
    const ScreenRect d = l.buttons[kButtonDraw];
    const int cx = d.x + d.w / 2, cy = d.y + d.h / 2;
    EXPECT_GT(after.Rgb(cx, cy)[0], before.Rgb(cx, cy)[0] + 40);
    EXPECT_NE(after.Rgb(d.x - 1, cy), kBlack);
    const ScreenRect b = l.buttons[kButtonBack];
    EXPECT_EQ(after.Rgb(b.x + b.w / 2, b.y + b.h / 2), before.Rgb(b.x + b.w / 2, b.y + b.h / 2));
}

// The draw calls of a frame of the board, from the host's log.
int DrawCalls(const testsupport::HeadlessRun& run) {
    int calls = -1;
    for (const auto& line : run.lines) {
        const size_t at = line.find(" drawcalls=");
        if (line.rfind("frame ", 0) == 0 && at != std::string::npos) {
            calls = std::atoi(line.c_str() + at + 11);
        }
    }
    return calls;
}

TEST_F(BoardScreenHost, DrawCallsDoNotGrowWithTheNumberOfClues) {
    // The 10 x 10 first puzzle, and the 77 x 80 one with clues of two digits.
    int calls[2];
    int i = 0;
    for (const char* address : {"0/0/0", "4/29/0"}) {
        auto run = RunHeadless("quit\n", {"--size", "480x800", "--storage", dir_ + "/storage",
                                          "--screen", "board", "--puzzle", address});
        ASSERT_EQ(run.exitStatus, 0) << run.errors;
        calls[i++] = DrawCalls(run);
    }
    EXPECT_EQ(calls[0], calls[1]);
    EXPECT_GT(calls[1], 0);
    EXPECT_LE(calls[1], 24);
}

}  // namespace
