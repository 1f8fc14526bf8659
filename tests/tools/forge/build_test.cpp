// Making puzzles: thresholding and cell flipping on hand-made ink, the
// catalogue plan's shape, and a regeneration that must reproduce the
// committed puzzle files, manifest rows and catalogue tables byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
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
        library_->UseReview(forge + "/review.tsv");
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

// The lines of a text from the first one starting with `from` up to the next
// one starting with `until` (or the end), or every line starting with `from`.
std::string LinesOf(const std::string& text, const std::string& from, const std::string& until,
                    bool block) {
    std::stringstream in(text);
    std::string line, out;
    bool inside = false;
    while (std::getline(in, line)) {
        if (block && inside && line.rfind(until, 0) == 0) break;
        if (line.rfind(from, 0) == 0) inside = true;
        if (inside) out += line + "\n";
        if (!block) inside = false;
    }
    return out;
}

// Regenerates grid sizes and compares every byte with what is committed:
// their puzzle files, their manifest rows and their part of the catalogue
// table the game compiles in. Any grid size can be made alone, so a few stand
// for the whole: the largest, big boards of both bands, mid-sized and small
// ones, holding the five fixed puzzles. FORGE_FULL_REGENERATION=1
// makes and compares the whole catalogue instead (several minutes).
TEST_F(Catalogue, RegenerationReproducesTheCommittedBytes) {
    const std::string source = NONOGRAM_SOURCE_DIR;
    const std::string out = testsupport::MakeTempDir();
    const bool whole = std::getenv("FORGE_FULL_REGENERATION") != nullptr;
    const std::vector<std::string> labels = {"80x80", "55x40", "35x30", "25x25",
                                             "15x35", "20x15", "10x10"};
    BuildOptions options;
    options.dataDir = out + "/data";
    options.catalogueDir = out + "/puzzles";
    options.jobs = 2;
    if (!whole) {
        for (const std::string& label : labels)
            options.grids.push_back(FindGridSize(label));
    }
    BuildSummary summary;
    std::string error;
    ASSERT_TRUE(BuildCatalogue(*library_, options, &summary, &error)) << error;
    int expected = 0;
    for (int g : options.grids)
        expected += CatalogueGridSizes()[g].count;
    EXPECT_EQ(summary.puzzles, whole ? 1463 : expected);
    EXPECT_GE(summary.lineSolvable * 100, summary.puzzles * 95);

    auto read = [](const std::string& path) {
        bool ok = false;
        std::string bytes = ReadWholeFile(path, &ok);
        EXPECT_TRUE(ok) << "cannot read " << path;
        return bytes;
    };
    std::set<std::string> madeFiles, committedFiles;
    for (const auto& e : fs::recursive_directory_iterator(out + "/data/tasks/black")) {
        if (e.is_regular_file()) madeFiles.insert(fs::relative(e.path(), out + "/data").string());
    }
    std::set<std::string> dirs;
    for (const std::string& f : madeFiles)
        dirs.insert(fs::path(f).parent_path().string());
    for (const std::string& dir : dirs) {
        for (const auto& e : fs::directory_iterator(source + "/data/" + dir))
            committedFiles.insert(fs::relative(e.path(), source + "/data").string());
    }
    EXPECT_EQ(madeFiles, committedFiles);
    for (const std::string& f : madeFiles)
        EXPECT_TRUE(read(out + "/data/" + f) == read(source + "/data/" + f)) << "differs: " << f;

    const std::string manifest = read(source + "/data/tasks/MANIFEST.tsv");
    const std::string table = read(source + "/puzzles/catalogue_puzzles.inc");
    const std::string madeManifest = read(out + "/data/tasks/MANIFEST.tsv");
    const std::string madeTable = read(out + "/puzzles/catalogue_puzzles.inc");
    if (whole) {
        EXPECT_TRUE(madeManifest == manifest);
        EXPECT_TRUE(madeTable == table);
        EXPECT_TRUE(read(out + "/data/tasks/CREDITS") == read(source + "/data/tasks/CREDITS"));
        EXPECT_TRUE(read(out + "/puzzles/catalogue_grids.inc") ==
                    read(source + "/puzzles/catalogue_grids.inc"));
    } else {
        for (int g : options.grids) {
            const GridSize& size = CatalogueGridSizes()[g];
            const std::string rows =
                SizeClassName(size.sizeClass) + std::string("\t") + size.Label() + "\t";
            const std::string made = LinesOf(madeManifest, rows, "", false);
            EXPECT_EQ(std::count(made.begin(), made.end(), '\n'), size.count) << size.Label();
            EXPECT_TRUE(made == LinesOf(manifest, rows, "", false)) << "manifest " << size.Label();
            const std::string head = "// " + size.Label();
            EXPECT_TRUE(LinesOf(madeTable, head, "// ", true) == LinesOf(table, head, "// ", true))
                << "catalogue table " << size.Label();
        }
    }
    testsupport::RemoveTree(out);
}

}  // namespace
}  // namespace forge
