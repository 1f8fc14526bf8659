// The size list and the puzzle list: entries, titles, solved counts and
// statuses as the player's files change, and rebuilding without leaks.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "puzzles/board_state.h"
#include "puzzles/lists.h"
#include "tests/support/test_host.h"
#include "ui/list_screens.h"

namespace {

namespace fs = std::filesystem;

class Lists : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(PrepareStorage()); }
    void TearDown() override {
        ReleaseSizeList(&sizes);
        ReleasePuzzleList(&puzzles);
    }
    // Creates an empty state file of a puzzle.
    void Touch(int32_t sizeClass, int32_t gridIndex, int32_t puzzleIndex, StateFileKind kind) {
        char path[kPathMax];
        ASSERT_TRUE(
            BuildStateFilePath(kPlayerDataRoot, {sizeClass, gridIndex, puzzleIndex}, kind, path));
        ASSERT_TRUE(testsupport::WriteFile(host.Path(path), ""));
    }

    testsupport::BoundHost host;
    SizeListScreen sizes{};
    PuzzleListScreen puzzles{};
};

TEST_F(Lists, SizeListOfEveryClassMatchesTheCatalogue) {
    const int32_t counts[] = {4, 12, 17, 37, 30};
    const char* const names[] = {"XSmall", "Small", "Medium", "Large", "XLarge"};
    for (int32_t c = 0; c < 5; ++c) {
        ASSERT_TRUE(BuildSizeList(&sizes, c));
        EXPECT_EQ(sizes.sizeClass, c);
        EXPECT_EQ(sizes.count, counts[c]);
        EXPECT_STREQ(sizes.title, names[c]);
        int32_t total = 0;
        for (int32_t g = 0; g < sizes.count; ++g) {
            total += sizes.entries[g].puzzleCount;
            EXPECT_EQ(sizes.entries[g].solvedCount, 0);
        }
        EXPECT_GT(total, 0);
    }
    EXPECT_STREQ(sizes.entries[29].label, "80x80");
    EXPECT_STREQ(sizes.entries[29].dirCode, "225");
    EXPECT_EQ(sizes.entries[29].puzzleCount, 1);

    EXPECT_FALSE(BuildSizeList(&sizes, 5));
    EXPECT_EQ(sizes.count, 0);
    EXPECT_EQ(sizes.entries, nullptr);
}

TEST_F(Lists, PuzzleListOfTheLargestGridSize) {
    puzzles.sizeClass = 4;
    puzzles.gridIndex = 29;
    ASSERT_FALSE(fs::exists(host.Path("Documents/black/225")));
    ASSERT_TRUE(BuildPuzzleList(&puzzles));
    EXPECT_STREQ(puzzles.title, "XLarge 80x80");
    ASSERT_EQ(puzzles.count, 1);
    EXPECT_EQ(puzzles.entries[0].rows, 77);
    EXPECT_EQ(puzzles.entries[0].cols, 80);
    EXPECT_EQ(puzzles.entries[0].status, NotStarted);
    // A grid size never opened before gets its state directory.
    EXPECT_TRUE(fs::is_directory(host.Path("Documents/black/225")));
}

TEST_F(Lists, ASolvedPuzzleShowsInBothListsWhenTheyAreRebuilt) {
    puzzles.sizeClass = 1;
    puzzles.gridIndex = 4;  // 20x10
    ASSERT_TRUE(BuildPuzzleList(&puzzles));
    EXPECT_STREQ(puzzles.title, "Small 20x10");
    ASSERT_TRUE(BuildSizeList(&sizes, 1));
    EXPECT_EQ(sizes.entries[4].solvedCount, 0);

    Touch(1, 4, 1, CellsFile);
    Touch(1, 4, 2, CellsFile);
    Touch(1, 4, 2, SolvedMarker);
    ASSERT_TRUE(BuildPuzzleList(&puzzles));
    ASSERT_EQ(puzzles.count, 3);
    EXPECT_EQ(puzzles.entries[0].status, NotStarted);
    EXPECT_EQ(puzzles.entries[1].status, InProgress);
    EXPECT_EQ(puzzles.entries[2].status, Solved);
    ASSERT_TRUE(BuildSizeList(&sizes, 1));
    EXPECT_EQ(sizes.entries[4].solvedCount, 1);
    for (int32_t g = 0; g < sizes.count; ++g) {
        EXPECT_EQ(sizes.entries[g].solvedCount, g == 4 ? 1 : 0) << g;
    }
}

TEST_F(Lists, RebuildingKeepsTheScrollStateAndReleasingEmptiesTheList) {
    puzzles.sizeClass = 0;
    puzzles.gridIndex = 0;
    ASSERT_TRUE(BuildPuzzleList(&puzzles));
    EXPECT_EQ(puzzles.count, 155);
    puzzles.layout.scroll.scrollOffset = 340;
    puzzles.layout.scroll.maxScroll = 900;
    ASSERT_TRUE(BuildPuzzleList(&puzzles));
    EXPECT_EQ(puzzles.count, 155);
    EXPECT_EQ(puzzles.layout.scroll.scrollOffset, 340);
    ReleasePuzzleList(&puzzles);
    EXPECT_EQ(puzzles.count, 0);
    EXPECT_EQ(puzzles.entries, nullptr);

    puzzles.gridIndex = 99;
    EXPECT_FALSE(BuildPuzzleList(&puzzles));
    EXPECT_EQ(puzzles.count, 0);
    EXPECT_STREQ(puzzles.title, "");
}

}  // namespace
