// Making puzzles: thresholding and cell flipping on hand-made ink, the
// catalogue plan's shape, and a full regeneration that must reproduce the
// committed puzzle files, manifest, credits and catalogue tables byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "tests/support/test_host.h"
#include "tools/forge/build.h"
#include "tools/forge/puzzle_io.h"

namespace forge {
namespace {

namespace fs = std::filesystem;

// Ink of a filled disc on a size x size board, soft at its rim.
std::vector<float> Disc(int size, double radius) {
    std::vector<float> ink(static_cast<size_t>(size) * size);
    const double c = (size - 1) / 2.0;
    for (int r = 0; r < size; ++r) {
        for (int col = 0; col < size; ++col) {
            double d = std::hypot(r - c, col - c);
            ink[static_cast<size_t>(r) * size + col] =
                static_cast<float>(std::clamp(radius + 0.5 - d, 0.0, 1.0));
        }
    }
    return ink;
}

TEST(TryPicture, CleanPictureNeedsNoChanges) {
    Attempt a;
    ASSERT_TRUE(TryPicture(Disc(15, 6), 15, 15, &a));
    EXPECT_TRUE(a.unique);
    EXPECT_TRUE(a.lineSolvable);
    EXPECT_EQ(a.cellsChanged, 0);
    EXPECT_EQ(Analyse(CluesOf(a.solution)).verdict, Verdict::Unique);
}

TEST(TryPicture, AmbiguousCellsAreFlippedWithinTwoPercent) {
    // A disc low on the left, and two small squares up on the right on a
    // diagonal: their rows and columns hold nothing else, so the squares could
    // as well sit on the other diagonal. Every threshold keeps that, so only
    // flipping cells makes the board solvable by lines.
    const int n = 20;
    std::vector<float> ink(static_cast<size_t>(n) * n, 0.0f);
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            double d = std::hypot(r - 14.0, c - 5.0);
            ink[static_cast<size_t>(r) * n + c] = static_cast<float>(std::clamp(5.5 - d, 0.0, 1.0));
        }
    }
    for (int k = 0; k < 4; ++k) {
        ink[static_cast<size_t>(2 + k / 2) * n + 14 + k % 2] = 1.0f;
        ink[static_cast<size_t>(5 + k / 2) * n + 17 + k % 2] = 1.0f;
    }
    Attempt a;
    ASSERT_TRUE(TryPicture(ink, n, n, &a));
    EXPECT_TRUE(a.lineSolvable);
    EXPECT_GT(a.cellsChanged, 0);
    EXPECT_LE(a.cellsChanged, n * n / 50);
    Analysis check = Analyse(CluesOf(a.solution));
    EXPECT_EQ(check.verdict, Verdict::Unique);
    EXPECT_TRUE(check.lineSolvable);
    // The disc itself is untouched.
    EXPECT_EQ(a.solution.at(14, 5), 1);
    EXPECT_EQ(a.solution.at(19, 19), 0);
}

TEST(TryPicture, BlankOrSolidPicturesAreRefused) {
    Attempt a;
    EXPECT_FALSE(TryPicture(std::vector<float>(100, 0.0f), 10, 10, &a));
    EXPECT_FALSE(TryPicture(std::vector<float>(100, 1.0f), 10, 10, &a));
    // Specks only: nothing a player would see as a picture.
    std::vector<float> specks(400, 0.0f);
    for (int i = 0; i < 400; i += 7)
        specks[i] = 1.0f;
    EXPECT_FALSE(TryPicture(specks, 20, 20, &a));
}

// The library and plan are shared by the tests below: measuring every
// picture takes a few seconds.
class Catalogue : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        library_ = new PictureLibrary;
        std::string error;
        const std::string forge = std::string(NONOGRAM_SOURCE_DIR) + "/tools/forge";
        library_->UseSurvey(forge + "/survey.tsv");
        ASSERT_TRUE(library_->Open(forge + "/imports", forge + "/node_modules", &error)) << error;
        library_->Measure(nullptr, nullptr);
        plan_ = new Plan(MakePlan(*library_));
    }
    static void TearDownTestSuite() {
        delete plan_;
        delete library_;
    }
    static PictureLibrary* library_;
    static Plan* plan_;
};
PictureLibrary* Catalogue::library_ = nullptr;
Plan* Catalogue::plan_ = nullptr;

TEST_F(Catalogue, PlanHasTheCatalogueShape) {
    const auto& sizes = CatalogueGridSizes();
    ASSERT_EQ(sizes.size(), 100u);
    ASSERT_EQ(plan_->slots.size(), 1463u);
    int smaller = 0, numbers = 0, others = 0;
    std::map<int, std::set<int>> primaries;
    for (const Slot& s : plan_->slots) {
        smaller += !s.exact;
        numbers += s.style == StemStyle::Number;
        others += s.style == StemStyle::Other;
        ASSERT_GE(s.primary, 0);
        EXPECT_TRUE(primaries[s.grid].insert(s.primary).second) << sizes[s.grid].Label();
        int rows = 0, cols = 0;
        SlotBoardSize(s, library_->Pictures()[s.primary], &rows, &cols);
        EXPECT_LE(rows, sizes[s.grid].height);
        EXPECT_LE(cols, sizes[s.grid].width);
        if (s.exact) {
            EXPECT_TRUE(rows == sizes[s.grid].height && cols == sizes[s.grid].width);
        }
    }
    EXPECT_EQ(smaller, 422);
    EXPECT_EQ(numbers, 84);
    EXPECT_EQ(others, 225);
    const Slot& boy = plan_->slots[plan_->firstSlot[0] + 154];
    EXPECT_EQ(boy.pinnedStem, "6x10_boy");
    EXPECT_FALSE(boy.exact);
    const Slot& girl = plan_->slots[plan_->firstSlot[FindGridSize("80x80")]];
    EXPECT_EQ(girl.pinnedRows, 77);
    EXPECT_EQ(girl.pinnedCols, 80);
}

// Regenerates the whole catalogue (about three minutes of processor time) and compares
// every byte with what is committed: puzzle files, manifest, credits and the
// catalogue tables the game compiles in.
TEST_F(Catalogue, RegenerationReproducesTheCommittedBytes) {
    const std::string source = NONOGRAM_SOURCE_DIR;
    const std::string out = testsupport::MakeTempDir();
    BuildOptions options;
    options.dataDir = out + "/data";
    options.catalogueDir = out + "/puzzles";
    options.jobs = 2;
    BuildSummary summary;
    std::string error;
    ASSERT_TRUE(BuildCatalogue(*library_, options, &summary, &error)) << error;
    EXPECT_EQ(summary.puzzles, 1463);
    EXPECT_GE(summary.lineSolvable * 100, summary.puzzles * 95);

    auto compare = [&](const std::string& made, const std::string& committed) {
        bool ok = false;
        std::string want = ReadWholeFile(committed, &ok);
        EXPECT_TRUE(ok) << "not committed: " << committed;
        EXPECT_TRUE(ReadWholeFile(made) == want) << "differs: " << committed;
    };
    std::set<std::string> madeFiles, committedFiles;
    for (const auto& e : fs::recursive_directory_iterator(out + "/data/tasks")) {
        if (e.is_regular_file()) madeFiles.insert(fs::relative(e.path(), out + "/data").string());
    }
    for (const auto& e : fs::recursive_directory_iterator(source + "/data/tasks")) {
        if (e.is_regular_file())
            committedFiles.insert(fs::relative(e.path(), source + "/data").string());
    }
    EXPECT_EQ(madeFiles, committedFiles);
    for (const std::string& f : madeFiles)
        compare(out + "/data/" + f, source + "/data/" + f);
    compare(out + "/puzzles/catalogue_grids.inc", source + "/puzzles/catalogue_grids.inc");
    compare(out + "/puzzles/catalogue_puzzles.inc", source + "/puzzles/catalogue_puzzles.inc");
    testsupport::RemoveTree(out);
}

}  // namespace
}  // namespace forge
