// The forge's solver: the line solver against brute force, and whole-puzzle
// verdicts on hand-made cases (unique by lines, unique only by probing, two
// solutions, none, past the search limit) and on small pictures checked by
// counting every grid.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/tools/forge/picture_fixture.h"
#include "tools/forge/solver.h"

namespace forge {
namespace {

// "#" filled, "." empty, "?" unknown.
std::vector<uint8_t> Cells(const std::string& s) {
    std::vector<uint8_t> out;
    for (char ch : s)
        out.push_back(ch == '#' ? kFilled : ch == '.' ? kEmpty : kUnknown);
    return out;
}

std::string Text(const std::vector<uint8_t>& cells) {
    std::string s;
    for (uint8_t c : cells)
        s += c == kFilled ? '#' : c == kEmpty ? '.' : '?';
    return s;
}

std::string Solve(const std::vector<int>& clues, const std::string& line, bool* ok = nullptr) {
    LineSolver solver;
    std::vector<uint8_t> cells = Cells(line);
    bool result = solver.Solve(clues, cells.data(), static_cast<int>(cells.size()));
    if (ok) *ok = result;
    return Text(cells);
}

TEST(LineSolver, HandMadeLines) {
    EXPECT_EQ(Solve({3}, "?????"), "??#??");
    EXPECT_EQ(Solve({2, 2}, "?????"), "##.##");
    EXPECT_EQ(Solve({}, "????"), "....");
    EXPECT_EQ(Solve({1}, "??#??"), "..#..");
    EXPECT_EQ(Solve({4}, "???.???????"), "....???#???");
    EXPECT_EQ(Solve({1, 1}, "#????"), "#.???");
    bool ok = true;
    Solve({3}, "#.#??", &ok);
    EXPECT_FALSE(ok);
    Solve({2}, "###", &ok);
    EXPECT_FALSE(ok);
    Solve({}, "?#?", &ok);
    EXPECT_FALSE(ok);
}

// The line solver must find exactly the cells that every filling consistent
// with the clues and the known cells agrees on.
TEST(LineSolver, AgreesWithEveryFillingOfShortLines) {
    std::mt19937 rng(12345);
    LineSolver solver;
    for (int trial = 0; trial < 3000; ++trial) {
        const int n = 1 + static_cast<int>(rng() % 10);
        std::vector<uint8_t> truth(n);
        for (auto& c : truth)
            c = rng() % 2;
        std::vector<int> clues = RunsOf(truth.data(), n, 1);
        if (trial % 5 == 0 && !clues.empty()) clues[0] += 1;  // sometimes impossible
        std::vector<uint8_t> known(n);
        for (auto& c : known) {
            int k = static_cast<int>(rng() % 4);
            c = k == 0 ? kFilled : k == 1 ? kEmpty : kUnknown;
        }
        // Brute force over every filling.
        bool any = false;
        std::vector<int> canFill(n, 0), canEmpty(n, 0);
        for (int mask = 0; mask < (1 << n); ++mask) {
            std::vector<uint8_t> f(n);
            bool fits = true;
            for (int i = 0; i < n; ++i) {
                f[i] = (mask >> i) & 1;
                if ((known[i] == kFilled && !f[i]) || (known[i] == kEmpty && f[i])) fits = false;
            }
            if (!fits || RunsOf(f.data(), n, 1) != clues) continue;
            any = true;
            for (int i = 0; i < n; ++i)
                (f[i] ? canFill : canEmpty)[i] = 1;
        }
        std::vector<uint8_t> cells = known;
        bool ok = solver.Solve(clues, cells.data(), n);
        ASSERT_EQ(ok, any) << "trial " << trial;
        if (!ok) continue;
        for (int i = 0; i < n; ++i) {
            uint8_t want = canFill[i] && canEmpty[i] ? kUnknown : canFill[i] ? kFilled : kEmpty;
            ASSERT_EQ(cells[i], want) << "trial " << trial << " cell " << i;
        }
    }
}

TEST(Analyse, LineSolvablePictureIsUnique) {
    Bitmap plus = Picture({"..#..", "..#..", "#####", "..#..", "..#.."});
    Analysis a = Analyse(CluesOf(plus));
    EXPECT_EQ(a.verdict, Verdict::Unique);
    EXPECT_TRUE(a.lineSolvable);
    EXPECT_EQ(a.solution.cells, plus.cells);
    EXPECT_TRUE(UndecidedByLines(CluesOf(plus)).empty());
}

TEST(Analyse, UniqueOnlyWithProbing) {
    Bitmap p = Picture({"..##", "..##", "##..", "#..."});
    Analysis a = Analyse(CluesOf(p));
    EXPECT_EQ(a.verdict, Verdict::Unique);
    EXPECT_FALSE(a.lineSolvable);
    EXPECT_TRUE(a.probeSolvable);
    EXPECT_EQ(a.solution.cells, p.cells);
    EXPECT_FALSE(UndecidedByLines(CluesOf(p)).empty());
}

TEST(Analyse, TwoSolutionsAndNone) {
    Analysis two = Analyse(CluesOf(Picture({"#.", ".#"})));
    EXPECT_EQ(two.verdict, Verdict::Multiple);
    EXPECT_FALSE(two.lineSolvable);

    Clues none;
    none.rows = 2;
    none.cols = 2;
    none.rowClues = {{1}, {1}};
    none.colClues = {{2}, {2}};
    EXPECT_EQ(Analyse(none).verdict, Verdict::NoSolution);

    Clues tooLong;
    tooLong.rows = 1;
    tooLong.cols = 3;
    tooLong.rowClues = {{4}};
    tooLong.colClues = {{1}, {1}, {1}};
    EXPECT_EQ(Analyse(tooLong).verdict, Verdict::NoSolution);
}

TEST(Analyse, SearchLimitGivesNoVerdict) {
    // One cell per row and column: every permutation fits. With room for a
    // single branch the counter can prove nothing.
    Bitmap diag = Picture({"#...", ".#..", "..#.", "...#"});
    Analysis limited = Analyse(CluesOf(diag), 1);
    EXPECT_EQ(limited.verdict, Verdict::Unproven);
    Analysis full = Analyse(CluesOf(diag));
    EXPECT_EQ(full.verdict, Verdict::Multiple);
}

// On pictures small enough to try every grid, the verdict matches the count.
TEST(Analyse, MatchesCountingEveryGrid) {
    std::mt19937 rng(99);
    const int rows = 3, cols = 4;
    int uniques = 0, multiples = 0;
    for (int trial = 0; trial < 40; ++trial) {
        Bitmap b(rows, cols);
        for (auto& c : b.cells)
            c = rng() % 2;
        Clues clues = CluesOf(b);
        int count = 0;
        for (int mask = 0; mask < (1 << (rows * cols)); ++mask) {
            Bitmap g(rows, cols);
            for (int i = 0; i < rows * cols; ++i)
                g.cells[i] = (mask >> i) & 1;
            Clues gc = CluesOf(g);
            count += gc.rowClues == clues.rowClues && gc.colClues == clues.colClues;
        }
        Analysis a = Analyse(clues);
        if (count == 1) {
            ++uniques;
            EXPECT_EQ(a.verdict, Verdict::Unique) << trial;
            EXPECT_EQ(a.solution.cells, b.cells) << trial;
        } else {
            ++multiples;
            EXPECT_EQ(a.verdict, Verdict::Multiple) << trial << " count " << count;
        }
    }
    // The sample exercises both outcomes.
    EXPECT_GT(uniques, 0);
    EXPECT_GT(multiples, 0);
}

}  // namespace
}  // namespace forge
