// How puzzles play: the figures check prints, on a hand-made picture, and the
// goals the shipped catalogue keeps, so a regeneration never slips back to
// silhouettes: boards of 30 cells and more on both sides average at least 3.5
// clues per line with none under 2.5, mid-sized boards at least 2.5; line
// logic alone solves every puzzle, no picture shows twice, no board under
// 30 cells falls into specks, and hardly any shows a picture that people who
// saw it solved could not name.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "tests/tools/forge/picture_fixture.h"
#include "tools/forge/game_data.h"
#include "tools/forge/picture.h"
#include "tools/forge/play_stats.h"
#include "tools/forge/puzzle_io.h"

namespace forge {
namespace {

TEST(PlayFigures, CountsRunsAndLongestRunShares) {
    // Rows: 2 runs, 0 runs (blank), 1 run of 5; columns: 2, 2, 1, 2, 2 runs.
    Bitmap b = Picture({"##.##", ".....", "#####"});
    PlayFigures f = MeasurePlay(CluesOf(b));
    EXPECT_DOUBLE_EQ(f.cluesPerLine, (2 + 0 + 1 + 2 + 2 + 1 + 2 + 2) / 8.0);
    EXPECT_DOUBLE_EQ(f.longestRun, 1.0);  // the full bottom row
    // Rows 2/5, 0, 5/5; columns 1/3 each.
    EXPECT_DOUBLE_EQ(f.lineLongestRun, (0.4 + 0 + 1 + 5.0 / 3) / 8);

    EXPECT_EQ(BandOf(10, 14), SizeBand::Under15);
    EXPECT_EQ(BandOf(29, 10), SizeBand::From15To29);
    EXPECT_EQ(BandOf(15, 40), SizeBand::LongNarrow);
    EXPECT_EQ(BandOf(44, 80), SizeBand::Both30To44);
    EXPECT_EQ(BandOf(77, 80), SizeBand::Both45Up);

    BandTable table;
    table.Add(3, 5, f, true);
    table.Add(50, 50, PlayFigures{4.0, 0.5, 0.2}, false);
    const std::string text = table.Format();
    EXPECT_NE(text.find("longer side < 15"), std::string::npos);
    EXPECT_NE(text.find("both >= 45"), std::string::npos);
    EXPECT_EQ(text.find("15-29"), std::string::npos);  // bands without puzzles are left out
}

constexpr double kBigBoardMeanFloor = 3.5;  // both sides 30 cells or more
constexpr double kBigBoardLowestFloor = 2.5;
constexpr double kMidBoardMeanFloor = 2.5;  // longer side 15 to 29 cells
constexpr double kSpeckleCeiling = 0.03;    // boards under 30 cells on a side

TEST(ShippedCatalogue, KeepsItsPlayFloors) {
    const std::string data = std::string(NONOGRAM_SOURCE_DIR) + "/data";
    GameData game;
    std::string error;
    ASSERT_TRUE(game.Open(data, &error)) << error;
    double bigSum = 0, midSum = 0, bigLowest = 1e9;
    int big = 0, mid = 0;
    for (const Address& a : GameData::Addresses()) {
        Clues clues;
        ASSERT_TRUE(game.Load(a, &clues)) << GameData::Stem(a);
        GridSolver solver(clues);
        EXPECT_EQ(solver.SolveByLines(), Progress::Solved) << GameData::Stem(a);
        Bitmap solution(clues.rows, clues.cols);
        for (size_t k = 0; k < solution.cells.size(); ++k)
            solution.cells[k] = solver.Grid()[k] == kFilled;
        if (std::min(clues.rows, clues.cols) < 30) {
            EXPECT_LE(Speckle(solution), kSpeckleCeiling) << GameData::Stem(a);
        }
        const double c = MeasurePlay(clues).cluesPerLine;
        if (clues.rows >= 30 && clues.cols >= 30) {
            bigSum += c;
            bigLowest = std::min(bigLowest, c);
            ++big;
        } else if (BandOf(clues.rows, clues.cols) == SizeBand::From15To29) {
            midSum += c;
            ++mid;
        }
    }
    ASSERT_GT(big, 0);
    ASSERT_GT(mid, 0);
    EXPECT_GE(bigSum / big, kBigBoardMeanFloor);
    EXPECT_GE(bigLowest, kBigBoardLowestFloor);
    EXPECT_GE(midSum / mid, kMidBoardMeanFloor);

    bool ok = false;
    std::stringstream manifest(ReadWholeFile(data + "/tasks/MANIFEST.tsv", &ok));
    ASSERT_TRUE(ok);
    std::string line;
    std::getline(manifest, line);
    // Namings and misses of the blind review, by "source:name:band".
    std::map<std::string, std::array<int, 2>> verdicts;
    std::stringstream review(
        ReadWholeFile(std::string(NONOGRAM_SOURCE_DIR) + "/tools/forge/review.tsv", &ok));
    ASSERT_TRUE(ok);
    while (std::getline(review, line)) {
        std::stringstream fields(line);
        std::string f[4];
        for (std::string& x : f)
            std::getline(fields, x, '\t');
        ++verdicts[f[0] + ":" + f[1] + ":" + f[2]][f[3] == "missed"];
    }
    std::set<std::string> pictures;
    int rows = 0;
    int inBand[3] = {}, unnamedInBand[3] = {};
    while (std::getline(manifest, line)) {
        std::stringstream fields(line);
        std::string f[9];
        for (std::string& x : f)
            std::getline(fields, x, '\t');
        ++rows;
        EXPECT_TRUE(pictures.insert(f[7] + ":" + f[8]).second) << "shown twice: " << line;
        const int band = ReviewBand(std::atoi(f[5].c_str()), std::atoi(f[6].c_str()));
        ++inBand[band];
        const auto& v = verdicts[f[7] + ":" + f[8] + ":" + kReviewBandNames[band]];
        unnamedInBand[band] += ReviewVerdict(v[0], v[1]) == kNotRecognised;
    }
    EXPECT_EQ(rows, 1463);
    // A picture the review could not name at its size stands in only where
    // nothing else made a puzzle: nine in ten of a band are named.
    for (int b = 0; b < 3; ++b)
        EXPECT_LE(unnamedInBand[b] * 10, inBand[b]) << kReviewBandNames[b];
}

}  // namespace
}  // namespace forge
