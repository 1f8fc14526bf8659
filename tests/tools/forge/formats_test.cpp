// The forge's file formats: puzzle files written by the forge read back the
// same through the game's own reader, .non texts round-trip and bad ones are
// refused, and a failed write keeps the previous file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "puzzles/clue_table.h"
#include "tests/support/test_host.h"
#include "tests/tools/forge/picture_fixture.h"
#include "tools/forge/game_data.h"
#include "tools/forge/puzzle_io.h"

namespace forge {
namespace {

// The first puzzle of "10x10" is 10 x 10: a picture with empty lines, long
// runs and many runs in one line.
Bitmap TenByTen() {
    return Picture({"##########", "..........", "#.#.#.#.#.", "###.......", "......####",
                    ".#.......#", "..........", "#########.", ".........#", "##.##.##.#"});
}

TEST(PuzzleFile, ForgeWritesWhatTheGameReads) {
    Bitmap picture = TenByTen();
    Clues clues = CluesOf(picture);
    std::string bytes = EncodePuzzleFile(clues);
    ASSERT_FALSE(bytes.empty());
    size_t lines = 0;
    for (char ch : bytes)
        lines += ch == '\n';
    EXPECT_EQ(lines, 20u);
    EXPECT_EQ(bytes.find('\r'), std::string::npos);

    std::string dir = testsupport::MakeTempDir();
    ASSERT_TRUE(testsupport::WriteFile(dir + "/tasks/black/001/image25534.dmp", bytes));
    {
        GameData game;
        std::string error;
        ASSERT_TRUE(game.Open(dir, &error)) << error;
        Clues read;
        ASSERT_TRUE(game.Load({0, 0, 0}, &read));
        EXPECT_EQ(read.rowClues, clues.rowClues);
        EXPECT_EQ(read.colClues, clues.colClues);
    }
    testsupport::RemoveTree(dir);

    Clues decoded;
    ASSERT_TRUE(DecodePuzzleFile(bytes, 10, 10, &decoded));
    EXPECT_EQ(decoded.rowClues, clues.rowClues);
    EXPECT_EQ(decoded.colClues, clues.colClues);
    EXPECT_FALSE(DecodePuzzleFile(bytes.substr(0, bytes.size() - 1 - clues.colClues[9].size()), 10,
                                  10, &decoded));
}

TEST(PuzzleFile, ClueWithoutAByteIsNotWritten) {
    Clues clues;
    clues.rows = 1;
    clues.cols = 300;
    clues.rowClues = {{kClueValueMax + 1}};
    clues.colClues.assign(300, {});
    EXPECT_TRUE(EncodePuzzleFile(clues).empty());
}

TEST(NonFormat, RoundTripWithEmptyLines) {
    NonPuzzle p;
    p.title = "ten";
    p.author = "Someone";
    p.license = "CC0";
    p.clues = CluesOf(TenByTen());
    std::string text = FormatNon(p);
    EXPECT_NE(text.find("width 10\nheight 10\n"), std::string::npos);
    EXPECT_NE(text.find("rows\n10\n0\n1,1,1,1,1\n"), std::string::npos);
    NonPuzzle back;
    std::string error;
    ASSERT_TRUE(ParseNon(text, &back, &error)) << error;
    EXPECT_EQ(back.title, "ten");
    EXPECT_EQ(back.author, "Someone");
    EXPECT_EQ(back.license, "CC0");
    EXPECT_EQ(back.clues.rowClues, p.clues.rowClues);
    EXPECT_EQ(back.clues.colClues, p.clues.colClues);
}

TEST(NonFormat, OtherToolsLayoutIsRead) {
    // Keys in another order, spaces after commas, blank lines and comments.
    const char* text =
        "# made elsewhere\ncatalogue \"x\"\nheight 2\nwidth 3\n\ncolumns\n1\n2\n 1\n\n"
        "rows\n1, 1\n2\ngoal 101011\n";
    NonPuzzle p;
    std::string error;
    ASSERT_TRUE(ParseNon(text, &p, &error)) << error;
    EXPECT_EQ(p.clues.rows, 2);
    EXPECT_EQ(p.clues.cols, 3);
    EXPECT_EQ(p.clues.rowClues, (std::vector<std::vector<int>>{{1, 1}, {2}}));
    EXPECT_EQ(p.clues.colClues, (std::vector<std::vector<int>>{{1}, {2}, {1}}));
}

TEST(NonFormat, BrokenTextsAreRefused) {
    const char* bad[] = {
        "width 3\nheight 1\nrows\n4\ncolumns\n1\n1\n1\n",    // row longer than the board
        "width 3\nheight 1\nrows\n2,1\ncolumns\n1\n1\n1\n",  // 2 + gap + 1 > 3
        "width 3\nheight 2\nrows\n1\ncolumns\n1\n1\n1\n",    // rows cut short
        "width 3\nheight 1\nrows\n1\n",                      // no columns
        "width x\nheight 1\nrows\n1\ncolumns\n1\n0\n0\n",    // no number
        "width 300\nheight 1\nrows\n1\ncolumns\n1\n",        // too wide
        "rows\n1\nwidth 1\nheight 1\ncolumns\n1\n",          // rows before the size
        "width 2\nheight 1\nrows\n1;1\ncolumns\n1\n1\n",     // not a clue list
    };
    for (const char* text : bad) {
        NonPuzzle p;
        std::string error;
        EXPECT_FALSE(ParseNon(text, &p, &error)) << text;
        EXPECT_FALSE(error.empty());
    }
}

TEST(Files, FailedWriteKeepsThePreviousFile) {
    namespace fs = std::filesystem;
    std::string dir = testsupport::MakeTempDir();
    const std::string path = dir + "/sub/MANIFEST.tsv";
    ASSERT_TRUE(WriteFileAtomically(path, "good\n"));
    EXPECT_EQ(ReadWholeFile(path), "good\n");
    // The temporary beside it cannot be made: the write fails, the file stays.
    fs::create_directories(path + ".tmp/blocker");
    EXPECT_FALSE(WriteFileAtomically(path, "half"));
    EXPECT_EQ(ReadWholeFile(path), "good\n");
    testsupport::RemoveTree(dir);
}

TEST(Files, NonFilesAreListedInNameOrder) {
    std::string dir = testsupport::MakeTempDir();
    for (const char* n : {"b.non", "a.non", "c.txt", "d.non.bak"})
        testsupport::WriteFile(dir + "/" + n, "x");
    EXPECT_EQ(ListNonFiles(dir), (std::vector<std::string>{"a.non", "b.non"}));
    EXPECT_TRUE(ListNonFiles(dir + "/missing").empty());
    testsupport::RemoveTree(dir);
}

}  // namespace
}  // namespace forge
