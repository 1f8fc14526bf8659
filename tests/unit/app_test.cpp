// Making and tearing down the App: what the open board holds is saved first.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/app.h"
#include "puzzles/board_state.h"
#include "tests/support/test_host.h"
#include "tests/unit/board_fixture.h"
#include "ui/board_screen.h"
#include "ui/main_menu.h"

namespace {

TEST(App, StartsOnTheMainMenuWithOneTilePerSizeClass) {
    testsupport::BoundHost host(testsupport::GameDataDir());
    App* app = CreateApp();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->screen, kScreenMainMenu);
    EXPECT_EQ(app->gestures.dragThreshold, 20);
    ASSERT_EQ(app->mainMenu->sizeClassCount, 5);
    EXPECT_STREQ(app->mainMenu->sizeClassTiles[0].label, "XSmall");
    EXPECT_STREQ(app->mainMenu->sizeClassTiles[4].label, "XLarge");
    EXPECT_EQ(app->board->progress.board, nullptr);
    DestroyApp(app);
}

TEST(App, TearDownSavesTheOpenBoardBeforeReleasingIt) {
    testsupport::BoundHost host(testsupport::GameDataDir());
    // The puzzle list made the grid size's folder before the board was opened.
    ASSERT_TRUE(PrepareStorage());
    ASSERT_TRUE(EnsureDirectory("Documents/black/001"));
    App* app = CreateApp();
    // The first puzzle of 10x10, with a single cell painted and not yet saved.
    std::vector<std::string> picture(10, std::string(10, '#'));
    auto* board = static_cast<Board*>(std::calloc(1, sizeof(Board)));
    board->rows = board->cols = 10;
    board->rowClues = boardfixture::MakeTable(boardfixture::RowCluesOf(picture));
    board->colClues = boardfixture::MakeTable(boardfixture::ColCluesOf(picture));
    board->maxRowClues = board->maxColClues = 1;
    board->cells[0] = CellFilled;
    app->board->progress.board = board;
    app->board->progress.cellsDirty = 1;
    DestroyApp(app);  // frees the board too

    bool ok = false;
    std::string cells = testsupport::ReadFile(host.Path("Documents/black/001/image25534.res"), &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(cells.size(), 20u);  // 10 rows of 2 bytes
    EXPECT_EQ(cells[0], 1);
    EXPECT_EQ(cells[1], 0);
}

}  // namespace
