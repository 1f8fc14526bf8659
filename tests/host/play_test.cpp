// Playing real catalogue puzzles through the headless host as a player does:
// taps from the main menu down to a board, painting, solving, leaving, "Clear
// all?" and solving again, with the state files and points checked after.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "board/board.h"
#include "puzzles/catalogue.h"
#include "puzzles/puzzle_file.h"
#include "tests/support/line_solver.h"
#include "tests/support/test_host.h"
#include "ui/board_view.h"
#include "ui/main_menu.h"
#include "ui/puzzle_list.h"
#include "ui/size_list.h"

namespace {

struct Point {
    int32_t x, y;
};

Point Centre(const ScreenRect& r) {
    return {r.x + r.w / 2, r.y + r.h / 2};
}

// The centre of a cell of the board at fit.
Point CellCentre(const BoardLayout& layout, const Board* b, int32_t r, int32_t c) {
    const int32_t cell = layout.fitCellSize;
    return {layout.fitRect.x + (b->maxRowClues + c) * cell + cell / 2,
            layout.fitRect.y + (b->maxColClues + r) * cell + cell / 2};
}

// A puzzle as the test sees it: its board (clues, sizes) and its picture.
struct KnownPuzzle {
    int32_t sizeClass = 0, gridIndex = 0, puzzleIndex = 0;
    Board* board = nullptr;
    std::vector<std::string> picture;
    std::string stem;
    ~KnownPuzzle() {
        if (board) {
            ReleaseBoard(board);
            std::free(board);
        }
    }
};

// The first puzzle from `from` on in the grid size that line logic solves.
bool FindPuzzle(int32_t sizeClass, int32_t gridIndex, int32_t from, KnownPuzzle* out) {
    testsupport::BoundHost host(testsupport::GameDataDir());
    GridSizeInfo grid{};
    if (!GetGridSizeInfo(sizeClass, gridIndex, &grid)) return false;
    for (int32_t p = from; p < grid.puzzleCount; ++p) {
        auto* board = static_cast<Board*>(std::calloc(1, sizeof(Board)));
        if (!LoadPuzzle({sizeClass, gridIndex, p}, board)) {
            std::free(board);
            continue;
        }
        std::vector<std::string> picture;
        if (testsupport::SolveBoardByLines(*board, &picture)) {
            out->sizeClass = sizeClass;
            out->gridIndex = gridIndex;
            out->puzzleIndex = p;
            out->board = board;
            out->picture = picture;
            char fileName[kFileNameMax] = {};
            GetPuzzleInfo({sizeClass, gridIndex, p}, nullptr, nullptr, fileName);
            out->stem = std::string(fileName).substr(0, std::string(fileName).size() - 4);
            return true;
        }
        ReleaseBoard(board);
        std::free(board);
    }
    return false;
}

class Script {
  public:
    void Tap(Point p) { text_ += "tap " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n"; }
    void Line(const std::string& line) { text_ += line + "\n"; }
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};

// Taps from the main menu to the puzzle's board on a surface of w x h.
void OpenFromMainMenu(Script* s, int32_t w, int32_t h, const KnownPuzzle& k) {
    s->Tap(Centre(LayoutMainMenu(w, h, false).tiles[k.sizeClass]));
    SizeListScreen sizes{};
    sizes.count = GetGridSizeCount(k.sizeClass);
    s->Tap(Centre(LayoutSizeList(w, h, &sizes).entries[k.gridIndex]));
    GridSizeInfo grid{};
    GetGridSizeInfo(k.sizeClass, k.gridIndex, &grid);
    PuzzleListScreen puzzles{};
    puzzles.count = grid.puzzleCount;
    s->Tap(Centre(LayoutPuzzleList(w, h, &puzzles).entries[k.puzzleIndex]));
}

// Taps every filled cell of the picture on the fitted board.
void PaintPicture(Script* s, int32_t w, int32_t h, const KnownPuzzle& k) {
    const BoardLayout layout = LayoutBoardScreen(w, h, k.board, false);
    for (int32_t r = 0; r < k.board->rows; ++r) {
        for (int32_t c = 0; c < k.board->cols; ++c) {
            if (k.picture[r][c] == '#') s->Tap(CellCentre(layout, k.board, r, c));
        }
    }
}

// The cells file as rows of '#', 'x' and '.'.
std::vector<std::string> DecodeCells(const std::string& bytes, int32_t rows, int32_t cols) {
    const int32_t perRow = (cols + 4) / 5;
    std::vector<std::string> out;
    for (int32_t r = 0; r < rows && (r + 1) * perRow <= static_cast<int32_t>(bytes.size()); ++r) {
        std::string row;
        for (int32_t c = 0; c < cols; ++c) {
            int v = static_cast<uint8_t>(bytes[r * perRow + c / 5]);
            for (int k = 0; k < c % 5; ++k)
                v /= 3;
            row += "._#x"[v % 3 == 0 ? 0 : v % 3 + 1];
        }
        out.push_back(row);
    }
    return out;
}

class Play : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override { dir_ = testsupport::MakeTempDir(); }
    void TearDown() override { testsupport::RemoveTree(dir_); }
    std::string dir_;
};

TEST_P(Play, SolvesRealPuzzlesFromTheMainMenuByTapsOnly) {
    const std::string size = GetParam();
    const int32_t w = std::atoi(size.c_str()), h = std::atoi(size.c_str() + size.find('x') + 1);
    KnownPuzzle first, second;
    ASSERT_TRUE(FindPuzzle(0, 0, 1, &first));
    ASSERT_TRUE(FindPuzzle(0, 3, 0, &second));  // 15x15

    Script s;
    OpenFromMainMenu(&s, w, h, first);
    PaintPicture(&s, w, h, first);
    const BoardLayout firstLayout = LayoutBoardScreen(w, h, first.board, false);
    s.Tap(Centre(firstLayout.buttons[kButtonBack]));  // to the puzzle list
    // Reopened, the solved puzzle adds no point; "Clear all?" then solving
    // again adds one.
    GridSizeInfo grid{};
    GetGridSizeInfo(0, 0, &grid);
    PuzzleListScreen list{};
    list.count = grid.puzzleCount;
    s.Tap(Centre(LayoutPuzzleList(w, h, &list).entries[first.puzzleIndex]));
    s.Tap(Centre(firstLayout.buttons[kButtonClearAll]));
    s.Line("answer 0");
    PaintPicture(&s, w, h, first);
    // Back to the main menu by the back keys, then a second grid size.
    s.Line("key escape");
    s.Line("key back");
    s.Line("key backspace");
    OpenFromMainMenu(&s, w, h, second);
    PaintPicture(&s, w, h, second);
    s.Line("quit");

    auto run = testsupport::RunHeadless(s.Text(), {"--size", size, "--storage", dir_});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_NE(run.log.find("dialog 2"), std::string::npos) << run.log;

    for (const KnownPuzzle* k : {&first, &second}) {
        GridSizeInfo g{};
        GetGridSizeInfo(k->sizeClass, k->gridIndex, &g);
        const std::string base = dir_ + "/black/" + g.dirCode + "/" + k->stem;
        EXPECT_TRUE(testsupport::FileExists(base + ".rsv")) << base;
        bool ok = false;
        const std::string cells = testsupport::ReadFile(base + ".res", &ok);
        ASSERT_TRUE(ok) << base;
        // Every filled cell where the picture has one, an X everywhere else.
        std::vector<std::string> expected = k->picture;
        for (auto& row : expected)
            for (auto& c : row)
                c = c == '#' ? '#' : 'x';
        EXPECT_EQ(DecodeCells(cells, k->board->rows, k->board->cols), expected);
    }
    EXPECT_EQ(testsupport::ReadFile(dir_ + "/conf/points.pts"), "3\n");
}

INSTANTIATE_TEST_SUITE_P(Surfaces, Play, ::testing::Values("480x800", "1280x720"));

// Which grid sizes' puzzle lists were opened: each made its state folder.
std::vector<std::string> OpenedGridSizes(const std::string& storage, int32_t sizeClass) {
    std::vector<std::string> opened;
    for (int32_t g = 0; g < GetGridSizeCount(sizeClass); ++g) {
        GridSizeInfo info{};
        GetGridSizeInfo(sizeClass, g, &info);
        if (testsupport::FileExists(storage + "/black/" + info.dirCode))
            opened.push_back(info.label);
    }
    return opened;
}

TEST(PlayLists, ScrollTapsFootersAndStrokesLeftByTheBackKey) {
    const std::string dir = testsupport::MakeTempDir();
    constexpr int32_t kW = 480, kH = 800;
    KnownPuzzle k;
    ASSERT_TRUE(FindPuzzle(0, 0, 1, &k));
    SizeListScreen large{};
    large.count = GetGridSizeCount(3);
    const SizeListLayout sizes = LayoutSizeList(kW, kH, &large);
    ASSERT_EQ(sizes.scroll.maxScroll, 224);

    Script s;
    s.Tap(Centre(LayoutMainMenu(kW, kH, false).tiles[3]));
    // Dragged up 150 pixels: the list keeps that scroll once released.
    s.Line("drag 240 500 240 350");
    // A wobble of 15 pixels is still a tap, on the list as it stood: the entry
    // drawn under the finger is entry 9 (row 3, 150 pixels further down).
    const Point nine = Centre(sizes.entries[9]);
    s.Line("press " + std::to_string(nine.x) + " " + std::to_string(nine.y - 150));
    s.Line("move " + std::to_string(nine.x) + " " + std::to_string(nine.y - 150 + 15));
    s.Line("release " + std::to_string(nine.x) + " " + std::to_string(nine.y - 150 + 15));
    // Back from that puzzle list keeps the scroll: entry 12 is where it was.
    s.Line("key escape");
    const Point twelve = Centre(sizes.entries[12]);
    s.Tap({twelve.x, twelve.y - 150});
    s.Line("key escape");
    // The footer selects nothing, even where an entry scrolled beneath it.
    s.Tap({20, kH - 30});
    s.Line("key escape");
    // XSmall fits: a drag leaves it where it is, so a tap finds entry 0.
    s.Tap(Centre(LayoutMainMenu(kW, kH, false).tiles[0]));
    SizeListScreen xsmall{};
    xsmall.count = GetGridSizeCount(0);
    const Point first = Centre(LayoutSizeList(kW, kH, &xsmall).entries[0]);
    s.Line("drag " + std::to_string(first.x) + " " + std::to_string(first.y) + " " +
           std::to_string(first.x) + " " + std::to_string(first.y - 200));
    s.Tap(first);
    PuzzleListScreen puzzles{};
    puzzles.count = 155;
    s.Tap(Centre(LayoutPuzzleList(kW, kH, &puzzles).entries[k.puzzleIndex]));

    // On the board: a pinch whose primary finger lifts first makes no tap,
    // and the tap after it paints.
    const BoardLayout layout = LayoutBoardScreen(kW, kH, k.board, false);
    auto at = [&](int r, int c) { return CellCentre(layout, k.board, r, c); };
    const Point a = at(0, 0), b = at(9, 9), c = at(4, 4);
    s.Line("finger down 0 " + std::to_string(a.x) + " " + std::to_string(a.y));
    s.Line("finger down 1 " + std::to_string(b.x) + " " + std::to_string(b.y));
    s.Line("finger up 0 " + std::to_string(a.x) + " " + std::to_string(a.y));
    s.Line("finger up 1 " + std::to_string(b.x) + " " + std::to_string(b.y));
    // A tool button acts on the release alone: lost, the cell would stay filled.
    s.Tap(Centre(layout.buttons[kButtonErase]));
    s.Tap(a);
    s.Tap(Centre(layout.buttons[kButtonDraw]));
    s.Tap(c);
    // A stroke still held when the back key comes is saved on the way out.
    const Point d = at(9, 0);
    s.Line("press " + std::to_string(d.x) + " " + std::to_string(d.y));
    s.Line("key back");
    s.Line("quit");

    auto run = testsupport::RunHeadless(s.Text(), {"--size", "480x800", "--storage", dir});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(OpenedGridSizes(dir, 3), (std::vector<std::string>{"30x50", "35x50"}));
    EXPECT_EQ(OpenedGridSizes(dir, 0), (std::vector<std::string>{"10x10"}));
    bool ok = false;
    const std::string cells = testsupport::ReadFile(dir + "/black/001/" + k.stem + ".res", &ok);
    ASSERT_TRUE(ok);
    const std::vector<std::string> rows = DecodeCells(cells, 10, 10);
    ASSERT_EQ(rows.size(), 10u);
    // The pinch's first finger painted (0, 0) before the second came down;
    // the taps after the pinch erased it again.
    EXPECT_EQ(rows[0][0], '.');
    EXPECT_EQ(rows[4][4], '#');
    EXPECT_EQ(rows[9][0], '#');
    EXPECT_EQ(rows[9][9], '.');
    testsupport::RemoveTree(dir);
}

// Solving a puzzle by taps while the disk fails. A first run leaves half of the
// picture saved; a second run under the fault paints the rest and leaves; a
// third, healthy run finishes what is missing. Under every fault the game
// plays on, the saved cells are the old ones or the new ones (never others),
// no temporary file stays, and in the end the puzzle is solved with exactly
// one point.
TEST(PlayDiskFaults, SolvingUnderAFailingDiskLosesNothingAndCountsOnePoint) {
    const int32_t w = 480, h = 800;
    KnownPuzzle k;
    ASSERT_TRUE(FindPuzzle(0, 0, 1, &k));
    GridSizeInfo grid{};
    GetGridSizeInfo(k.sizeClass, k.gridIndex, &grid);
    const BoardLayout layout = LayoutBoardScreen(w, h, k.board, false);
    auto cellTap = [&](int32_t r, int32_t c) { return CellCentre(layout, k.board, r, c); };
    // Taps the picture's filled cells that the cells file does not hold yet.
    auto paintMissing = [&](Script* s, const std::vector<std::string>& saved, int32_t limit) {
        int32_t n = 0;
        for (int32_t r = 0; r < k.board->rows; ++r)
            for (int32_t c = 0; c < k.board->cols; ++c)
                if (k.picture[r][c] == '#' &&
                    !(r < static_cast<int32_t>(saved.size()) && saved[r][c] == '#') && n++ < limit)
                    s->Tap(cellTap(r, c));
    };
    std::vector<std::string> solved = k.picture;
    for (auto& row : solved)
        for (auto& c : row)
            c = c == '#' ? '#' : 'x';

    const std::vector<std::vector<std::string>> faults = {{"--fail-writes", "3"},
                                                          {"--fail-writes", "all"},
                                                          {"--fail-rename"},
                                                          {"--disk-full", "7"},
                                                          {"--readonly-storage"}};
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault[0] + (fault.size() > 1 ? " " + fault[1] : ""));
        const std::string dir = testsupport::MakeTempDir();
        const std::string base = dir + "/black/" + grid.dirCode + "/" + k.stem;
        auto run = [&](const std::vector<std::string>& extra, bool paint, int32_t limit) {
            bool ok = false;
            const std::string cells = testsupport::ReadFile(base + ".res", &ok);
            Script s;
            OpenFromMainMenu(&s, w, h, k);
            if (paint) paintMissing(&s, DecodeCells(cells, k.board->rows, k.board->cols), limit);
            s.Tap(Centre(layout.buttons[kButtonBack]));
            s.Line("quit");
            std::vector<std::string> args = {"--size", "480x800", "--storage", dir};
            args.insert(args.end(), extra.begin(), extra.end());
            return testsupport::RunHeadless(s.Text(), args);
        };

        auto first = run({}, true, 6);
        ASSERT_EQ(first.exitStatus, 0) << first.errors;
        const std::string half = testsupport::ReadFile(base + ".res");

        auto faulted = run(fault, true, 1000);
        EXPECT_EQ(faulted.exitStatus, 0) << faulted.errors;
        const std::string after = testsupport::ReadFile(base + ".res");
        if (after != half) {
            EXPECT_EQ(DecodeCells(after, k.board->rows, k.board->cols), solved);
        }
        // The marker and the points file may lag behind (a point on its way is
        // finished by the next start), but a point never comes without its marker.
        if (!testsupport::FileExists(base + ".rsv")) {
            bool ok = false;
            const std::string pts = testsupport::ReadFile(dir + "/conf/points.pts", &ok);
            EXPECT_TRUE(!ok || pts == "0\n") << pts;
        }

        const bool wasSolved = testsupport::FileExists(base + ".rsv");
        auto healthy = run({}, !wasSolved, 1000);
        ASSERT_EQ(healthy.exitStatus, 0) << healthy.errors;
        EXPECT_TRUE(testsupport::FileExists(base + ".rsv"));
        EXPECT_EQ(DecodeCells(testsupport::ReadFile(base + ".res"), k.board->rows, k.board->cols),
                  solved);
        EXPECT_EQ(testsupport::ReadFile(dir + "/conf/points.pts"), "1\n");
        // Only the puzzle's own files: no temporary one stayed behind.
        for (const auto& entry :
             std::filesystem::directory_iterator(dir + "/black/" + grid.dirCode)) {
            const std::string name = entry.path().filename().string();
            EXPECT_EQ(name.substr(0, k.stem.size()), k.stem) << name;
            EXPECT_EQ(name.size(), k.stem.size() + 4) << name;
        }
        testsupport::RemoveTree(dir);
    }
}

// The solve's writes fail one at a time (the note, the marker, the points
// file...); the player then clears the puzzle with Delete and "Yes" at once.
// Whichever write failed, the point earned is there at the next start.
TEST(PlayDiskFaults, APointEarnedUnderAFailedWriteOutlivesAClearAll) {
    const int32_t w = 480, h = 800;
    KnownPuzzle k;
    ASSERT_TRUE(FindPuzzle(0, 0, 1, &k));
    GridSizeInfo grid{};
    GetGridSizeInfo(k.sizeClass, k.gridIndex, &grid);
    const BoardLayout layout = LayoutBoardScreen(w, h, k.board, false);
    std::vector<Point> filled;
    for (int32_t r = 0; r < k.board->rows; ++r)
        for (int32_t c = 0; c < k.board->cols; ++c)
            if (k.picture[r][c] == '#') filled.push_back(CellCentre(layout, k.board, r, c));
    const std::string ready = testsupport::MakeTempDir();
    Script prepare;
    OpenFromMainMenu(&prepare, w, h, k);
    for (size_t i = 0; i + 1 < filled.size(); ++i)
        prepare.Tap(filled[i]);
    prepare.Tap(Centre(layout.buttons[kButtonBack]));
    prepare.Line("quit");
    ASSERT_EQ(testsupport::RunHeadless(prepare.Text(), {"--storage", ready}).exitStatus, 0);

    Script solveAndClear;
    OpenFromMainMenu(&solveAndClear, w, h, k);
    solveAndClear.Tap(filled.back());
    solveAndClear.Line("key delete");
    solveAndClear.Line("answer 0");
    solveAndClear.Line("quit");
    for (int failing = 1; failing <= 5; ++failing) {
        SCOPED_TRACE("write " + std::to_string(failing) + " fails");
        const std::string dir = testsupport::MakeTempDir();
        std::filesystem::copy(ready, dir, std::filesystem::copy_options::recursive);
        auto run = testsupport::RunHeadless(
            solveAndClear.Text(), {"--size", "480x800", "--os", "desktop", "--storage", dir,
                                   "--fail-writes", std::to_string(failing)});
        ASSERT_EQ(run.exitStatus, 0) << run.errors;
        EXPECT_FALSE(
            testsupport::FileExists(dir + "/black/" + grid.dirCode + "/" + k.stem + ".res"));
        ASSERT_EQ(testsupport::RunHeadless("quit\n", {"--storage", dir}).exitStatus, 0);
        EXPECT_EQ(testsupport::ReadFile(dir + "/conf/points.pts"), "1\n");
        testsupport::RemoveTree(dir);
    }
    testsupport::RemoveTree(ready);
}

// A player's folder set up to hurt: the temporary files the game writes are
// links to files elsewhere, the settings file is a link to an endless device,
// the puzzle's marks file is a FIFO and its marker a directory. The puzzle
// still opens and is solved for one point, and nothing outside is written.
TEST(PlayDiskFaults, LinksAndSpecialFilesInThePlayersFolderNeitherHangNorLeakWrites) {
    KnownPuzzle k;
    ASSERT_TRUE(FindPuzzle(0, 0, 1, &k));
    GridSizeInfo grid{};
    GetGridSizeInfo(k.sizeClass, k.gridIndex, &grid);
    const std::string dir = testsupport::MakeTempDir();
    const std::string outside = testsupport::MakeTempDir();
    const std::string puzzleBase = dir + "/black/" + grid.dirCode + "/" + k.stem;
    std::filesystem::create_directories(dir + "/conf");
    std::filesystem::create_directories(dir + "/black/" + grid.dirCode);
    const std::vector<std::string> linked = {
        dir + "/conf/conf.cfg.tmp", dir + "/conf/points.pts.tmp", dir + "/conf/points.pending.tmp",
        puzzleBase + ".res.tmp", puzzleBase + ".rsv.tmp"};
    for (size_t i = 0; i < linked.size(); ++i) {
        ASSERT_TRUE(testsupport::WriteFile(outside + "/" + std::to_string(i), "kept\n"));
        std::filesystem::create_symlink(outside + "/" + std::to_string(i), linked[i]);
    }
    std::filesystem::create_symlink("/dev/zero", dir + "/conf/conf.cfg");
    ASSERT_EQ(mkfifo((puzzleBase + ".hdr").c_str(), 0644), 0);
    // A directory named as the solved marker is no marker.
    std::filesystem::create_directory(puzzleBase + ".rsv");

    Script s;
    OpenFromMainMenu(&s, 480, 800, k);
    PaintPicture(&s, 480, 800, k);
    s.Tap(Centre(LayoutBoardScreen(480, 800, k.board, false).buttons[kButtonBack]));
    s.Line("quit");
    auto run = testsupport::RunHeadless(s.Text(), {"--size", "480x800", "--storage", dir});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_TRUE(std::filesystem::is_regular_file(puzzleBase + ".rsv"));
    EXPECT_EQ(testsupport::ReadFile(dir + "/conf/points.pts"), "1\n");
    for (size_t i = 0; i < linked.size(); ++i) {
        EXPECT_EQ(testsupport::ReadFile(outside + "/" + std::to_string(i)), "kept\n") << linked[i];
    }
    testsupport::RemoveTree(dir);
    testsupport::RemoveTree(outside);
}

}  // namespace
