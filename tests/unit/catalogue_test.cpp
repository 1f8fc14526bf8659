// The built-in catalogue: its shape (classes, grid sizes, counts, order,
// directory codes), the fixed puzzles, stem rules, paths, and that every
// entry's shipped puzzle file is there and loads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "board/board.h"
#include "puzzles/catalogue.h"
#include "puzzles/puzzle_file.h"
#include "tests/support/test_host.h"

namespace {

struct Expected {
    const char* label;
    int count;
};

// The grid sizes of each class with their puzzle counts, in catalogue order.
const std::vector<std::vector<Expected>> kClasses = {
    {{"10x10", 155}, {"10x15", 12}, {"15x10", 8}, {"15x15", 132}},
    {{"10x20", 5},
     {"10x25", 1},
     {"15x20", 25},
     {"15x25", 7},
     {"20x10", 3},
     {"20x15", 27},
     {"20x20", 103},
     {"20x25", 45},
     {"25x10", 1},
     {"25x15", 11},
     {"25x20", 68},
     {"25x25", 117}},
    {{"15x30", 11},
     {"15x35", 7},
     {"20x30", 23},
     {"20x35", 7},
     {"25x30", 53},
     {"25x35", 34},
     {"30x10", 2},
     {"30x15", 12},
     {"30x20", 19},
     {"30x25", 21},
     {"30x30", 66},
     {"30x35", 24},
     {"35x15", 3},
     {"35x20", 14},
     {"35x25", 24},
     {"35x30", 44},
     {"35x35", 54}},
    {{"10x40", 1}, {"15x40", 2},  {"15x50", 1},  {"20x40", 2}, {"20x45", 2},  {"25x40", 18},
     {"25x45", 1}, {"30x40", 30}, {"30x45", 7},  {"30x50", 1}, {"35x40", 15}, {"35x45", 13},
     {"35x50", 5}, {"40x15", 4},  {"40x20", 3},  {"40x25", 4}, {"40x30", 8},  {"40x35", 7},
     {"40x40", 8}, {"40x45", 8},  {"40x50", 4},  {"45x10", 1}, {"45x15", 2},  {"45x20", 3},
     {"45x25", 4}, {"45x30", 4},  {"45x35", 14}, {"45x40", 4}, {"45x45", 3},  {"45x50", 3},
     {"50x15", 1}, {"50x20", 3},  {"50x25", 1},  {"50x30", 3}, {"50x35", 8},  {"50x40", 3},
     {"50x50", 26}},
    {{"40x55", 14}, {"40x60", 3}, {"45x55", 4}, {"45x65", 3}, {"50x60", 2},  {"50x65", 1},
     {"50x75", 4},  {"55x35", 2}, {"55x40", 1}, {"55x45", 1}, {"55x65", 16}, {"55x75", 24},
     {"60x15", 1},  {"60x35", 1}, {"60x45", 1}, {"60x55", 1}, {"60x80", 1},  {"65x30", 1},
     {"65x35", 3},  {"65x50", 2}, {"65x65", 3}, {"65x75", 1}, {"70x35", 1},  {"70x50", 1},
     {"75x35", 1},  {"75x60", 1}, {"75x65", 1}, {"80x55", 1}, {"80x60", 1},  {"80x80", 1}},
};

struct Puzzle {
    int sizeClass, grid, index;
    int width, height;  // of the grid size
    int rows, cols;
    std::string stem;
    std::string dirCode;
};

std::vector<Puzzle> AllPuzzles() {
    std::vector<Puzzle> all;
    for (int c = 0; c < GetSizeClassCount(); ++c) {
        for (int g = 0; g < GetGridSizeCount(c); ++g) {
            GridSizeInfo info = {};
            GetGridSizeInfo(c, g, &info);
            int w = 0, h = 0;
            std::sscanf(info.label, "%dx%d", &w, &h);
            for (int i = 0; i < info.puzzleCount; ++i) {
                Puzzle p{c, g, i, w, h, 0, 0, "", info.dirCode};
                char name[kFileNameMax] = {};
                EXPECT_TRUE(GetPuzzleInfo({c, g, i}, &p.rows, &p.cols, name));
                std::string file = name;
                EXPECT_EQ(file.size() > 4 ? file.substr(file.size() - 4) : "", ".dmp");
                p.stem = file.substr(0, file.size() - 4);
                all.push_back(p);
            }
        }
    }
    return all;
}

TEST(Catalogue, ClassesGridSizesAndCountsInOrder) {
    const char* names[] = {"XSmall", "Small", "Medium", "Large", "XLarge"};
    const int bandLow[] = {10, 20, 30, 40, 55};
    const int bandHigh[] = {15, 25, 35, 50, 80};
    ASSERT_EQ(GetSizeClassCount(), 5);
    int grids = 0;
    for (int c = 0; c < 5; ++c) {
        char name[kSizeClassNameMax];
        ASSERT_TRUE(GetSizeClassName(c, name));
        EXPECT_STREQ(name, names[c]);
        ASSERT_EQ(GetGridSizeCount(c), static_cast<int>(kClasses[c].size())) << names[c];
        int prevW = 0, prevH = 0;
        for (int g = 0; g < GetGridSizeCount(c); ++g, ++grids) {
            GridSizeInfo info;
            std::memset(&info, 0x5A, sizeof info);
            info.solvedCount = 77;
            ASSERT_TRUE(GetGridSizeInfo(c, g, &info));
            EXPECT_STREQ(info.label, kClasses[c][g].label);
            EXPECT_EQ(info.puzzleCount, kClasses[c][g].count) << info.label;
            EXPECT_EQ(info.solvedCount, 77);  // left as it was
            int w = 0, h = 0;
            ASSERT_EQ(std::sscanf(info.label, "%dx%d", &w, &h), 2);
            char code[16];
            std::snprintf(code, sizeof code, "%03d", (w / 5 - 2) * 15 + (h / 5 - 2) + 1);
            EXPECT_STREQ(info.dirCode, code);
            EXPECT_GE(std::max(w, h), bandLow[c]) << info.label;
            EXPECT_LE(std::max(w, h), bandHigh[c]) << info.label;
            EXPECT_TRUE(w > prevW || (w == prevW && h > prevH)) << info.label;
            prevW = w;
            prevH = h;
        }
    }
    EXPECT_EQ(grids, 100);
}

TEST(Catalogue, EdgeLookupsAndOutsideIndexes) {
    GridSizeInfo info = {};
    ASSERT_TRUE(GetGridSizeInfo(0, 2, &info));
    EXPECT_STREQ(info.dirCode, "016");
    EXPECT_STREQ(info.label, "15x10");
    EXPECT_EQ(info.puzzleCount, 8);
    ASSERT_TRUE(GetGridSizeInfo(4, 29, &info));
    EXPECT_STREQ(info.dirCode, "225");
    EXPECT_STREQ(info.label, "80x80");
    EXPECT_EQ(info.puzzleCount, 1);
    ASSERT_TRUE(GetGridSizeInfo(0, 1, &info));
    EXPECT_STREQ(info.dirCode, "002");

    EXPECT_FALSE(GetGridSizeInfo(4, 30, &info));
    EXPECT_FALSE(GetGridSizeInfo(-1, 0, &info));
    EXPECT_FALSE(GetGridSizeInfo(0, -1, &info));
    EXPECT_EQ(GetGridSizeCount(5), 0);
    char name[kSizeClassNameMax] = "x";
    EXPECT_FALSE(GetSizeClassName(5, name));
    EXPECT_STREQ(name, "");
    int32_t rows = -1, cols = -1;
    EXPECT_FALSE(GetPuzzleSize({0, 0, 155}, &rows, &cols));
    EXPECT_FALSE(GetPuzzleSize({0, 0, -1}, &rows, &cols));
    EXPECT_FALSE(GetPuzzleSize({4, 29, 1}, &rows, &cols));
}

TEST(Catalogue, FixedPuzzles) {
    struct Row {
        int c, g, i;
        const char* stem;
        int rows, cols;
    } rows[] = {
        {0, 0, 0, "image25534", 10, 10},  {0, 0, 154, "6x10_boy", 10, 6},
        {1, 11, 0, "00001_bear", 25, 25}, {2, 1, 0, "15x35_full_dwnld_0041", 31, 15},
        {4, 29, 0, "80x80_girl", 77, 80},
    };
    for (const Row& r : rows) {
        int32_t nr = 0, nc = 0;
        char name[kFileNameMax] = {};
        ASSERT_TRUE(GetPuzzleInfo({r.c, r.g, r.i}, &nr, &nc, name)) << r.stem;
        EXPECT_EQ(std::string(name), std::string(r.stem) + ".dmp");
        EXPECT_EQ(nr, r.rows) << r.stem;
        EXPECT_EQ(nc, r.cols) << r.stem;
        int32_t sr = 0, sc = 0;
        ASSERT_TRUE(GetPuzzleSize({r.c, r.g, r.i}, &sr, &sc));
        EXPECT_EQ(sr, r.rows);
        EXPECT_EQ(sc, r.cols);
    }
}

TEST(Catalogue, PuzzleSizesAndStems) {
    std::vector<Puzzle> all = AllPuzzles();
    ASSERT_EQ(all.size(), 1463u);
    int exact = 0, smaller = 0, labelled = 0, numbered = 0, other = 0;
    const std::regex charset("[a-z0-9_-]{1,25}");
    const std::regex label("[0-9]+x[0-9]+_.*");
    const std::regex number("[0-9]{5}_.*");
    std::set<std::string> seen;
    for (const Puzzle& p : all) {
        EXPECT_GE(p.rows, 1);
        EXPECT_GE(p.cols, 1);
        EXPECT_LE(p.rows, p.height) << p.stem;
        EXPECT_LE(p.cols, p.width) << p.stem;
        (p.rows == p.height && p.cols == p.width ? exact : smaller) += 1;
        EXPECT_TRUE(std::regex_match(p.stem, charset)) << p.stem;
        EXPECT_TRUE(seen.insert(p.dirCode + "/" + p.stem).second)
            << "repeated in its grid size: " << p.stem;
        if (std::regex_match(p.stem, label)) {
            ++labelled;
        } else if (std::regex_match(p.stem, number)) {
            ++numbered;
        } else {
            ++other;
        }
    }
    EXPECT_EQ(exact, 1041);
    EXPECT_EQ(smaller, 422);
    EXPECT_EQ(labelled, 1154);
    EXPECT_EQ(numbered, 84);
    EXPECT_EQ(other, 225);
}

TEST(Catalogue, Paths) {
    char path[kPathMax];
    ASSERT_TRUE(BuildPuzzlePath("001", "image25534.dmp", path));
    EXPECT_STREQ(path, "tasks/black/001/image25534.dmp");
    GridSizeInfo info = {};
    ASSERT_TRUE(GetGridSizeInfo(1, 6, &info));
    ASSERT_STREQ(info.label, "20x20");
    ASSERT_TRUE(BuildStateDirPath("Documents", info.dirCode, path));
    EXPECT_STREQ(path, "Documents/black/033");
    EXPECT_FALSE(BuildPuzzlePath(std::string(300, 'a').c_str(), "x.dmp", path));
}

// Every entry has its file, with exactly one line per row and column, and
// the game loads it.
TEST(Catalogue, EveryShippedPuzzleFileLoads) {
    testsupport::BoundHost host(testsupport::GameDataDir());
    int loaded = 0;
    for (const Puzzle& p : AllPuzzles()) {
        bool ok = false;
        std::string bytes = testsupport::ReadFile(
            host.Path("tasks/black/" + p.dirCode + "/" + p.stem + ".dmp"), &ok);
        ASSERT_TRUE(ok) << p.stem;
        int lines = 0;
        for (char ch : bytes)
            lines += ch == '\n';
        EXPECT_EQ(lines, p.rows + p.cols) << p.stem;
        auto* board = static_cast<Board*>(std::calloc(1, sizeof(Board)));
        ASSERT_NE(board, nullptr);
        bool good = LoadPuzzle({p.sizeClass, p.grid, p.index}, board);
        EXPECT_TRUE(good) << p.stem;
        loaded += good;
        ReleaseBoard(board);
        std::free(board);
    }
    EXPECT_EQ(loaded, 1463);
}

}  // namespace
