// The desktop host in a real window under Xvfb, played with real mouse clicks
// and keys: a puzzle solved from the main menu, the way back by Escape, and a
// closed window that ends the game in order. (tests/desktop answers the
// native "Quit?" box itself.)
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "board/board.h"
#include "puzzles/catalogue.h"
#include "puzzles/puzzle_file.h"
#include "tests/support/desktop_session.h"
#include "tests/support/line_solver.h"
#include "tests/support/test_host.h"
#include "ui/board_view.h"
#include "ui/main_menu.h"
#include "ui/puzzle_list.h"
#include "ui/size_list.h"

namespace {

bool WaitForFile(const std::string& path, int ms) {
    for (int waited = 0; waited < ms; waited += 50) {
        if (testsupport::FileExists(path)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return testsupport::FileExists(path);
}

TEST(DesktopPlay, MouseClicksSolveAPuzzleAndKeysLeadBack) {
    constexpr int32_t kW = 480, kH = 800;
    // The puzzle and its picture: 10x10's second puzzle, solved by lines.
    // Released however the test ends, so a failed step reports only itself.
    struct Release {
        void operator()(Board* b) const {
            ReleaseBoard(b);
            std::free(b);
        }
    };
    std::unique_ptr<Board, Release> owned(static_cast<Board*>(std::calloc(1, sizeof(Board))));
    Board* board = owned.get();
    std::vector<std::string> picture;
    {
        testsupport::BoundHost host(testsupport::GameDataDir());
        ASSERT_TRUE(LoadPuzzle({0, 0, 1}, board));
        ASSERT_TRUE(testsupport::SolveBoardByLines(*board, &picture));
    }
    char fileName[kFileNameMax] = {};
    ASSERT_TRUE(GetPuzzleInfo({0, 0, 1}, nullptr, nullptr, fileName));
    const std::string stem(fileName, std::string(fileName).size() - 4);

    const std::string home = testsupport::MakeTempDir();
    {
        testsupport::DesktopSession game;
        std::string why;
        ASSERT_TRUE(game.Start(std::to_string(kW) + "x" + std::to_string(kH), home, &why)) << why;
        auto click = [&](const ScreenRect& r) { return game.Click(r.x + r.w / 2, r.y + r.h / 2); };

        ASSERT_TRUE(click(LayoutMainMenu(kW, kH, false).tiles[0]));
        SizeListScreen sizes{};
        sizes.count = GetGridSizeCount(0);
        ASSERT_TRUE(click(LayoutSizeList(kW, kH, &sizes).entries[0]));
        PuzzleListScreen puzzles{};
        puzzles.count = 155;
        ASSERT_TRUE(click(LayoutPuzzleList(kW, kH, &puzzles).entries[1]));

        const BoardLayout layout = LayoutBoardScreen(kW, kH, board, false);
        const int32_t cell = layout.fitCellSize;
        for (int32_t r = 0; r < board->rows; ++r) {
            for (int32_t c = 0; c < board->cols; ++c) {
                if (picture[r][c] != '#') continue;
                ASSERT_TRUE(
                    game.Click(layout.fitRect.x + (board->maxRowClues + c) * cell + cell / 2,
                               layout.fitRect.y + (board->maxColClues + r) * cell + cell / 2));
            }
        }
        EXPECT_TRUE(WaitForFile(home + "/nonogram/black/001/" + stem + ".rsv", 3000));

        // Back to the size list by the keys, then the window closed.
        ASSERT_TRUE(game.Key("Escape"));
        ASSERT_TRUE(game.Key("BackSpace"));
        game.Close();
        EXPECT_EQ(game.WaitExit(5000), 0);
    }
    EXPECT_EQ(testsupport::ReadFile(home + "/nonogram/conf/points.pts"), "1\n");
    testsupport::RemoveTree(home);
}

}  // namespace
