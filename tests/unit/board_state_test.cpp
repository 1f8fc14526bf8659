// The board state files: exact bytes, restoring them, the statuses and solved
// counts scanned from them, the solved marker and its point, and every kind of
// damage: short, long and garbage files, failed and interrupted saves, a
// read-only storage and a process killed in the middle of a save.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "puzzles/board_state.h"
#include "puzzles/catalogue.h"
#include "storage/settings.h"
#include "tests/support/test_host.h"
#include "tests/unit/board_fixture.h"
#include "tests/unit/storage_faults.h"
#include "ui/board_screen.h"

namespace {

using boardfixture::TestBoard;
using testsupport::FileExists;
using testsupport::ReadFile;
using testsupport::WriteFile;

namespace fs = std::filesystem;

// Named rows of the catalogue: 10x10 "image25534" (10 x 10), its last puzzle
// "6x10_boy" (10 rows, 6 columns), and 80x80 "80x80_girl" (77 x 80).
constexpr PuzzleAddress kFirst = {0, 0, 0};
constexpr PuzzleAddress kBoy = {0, 0, 154};
constexpr PuzzleAddress kGirl = {4, 29, 0};

std::vector<std::string> PictureFor(PuzzleAddress a, int seed = 0) {
    int32_t rows = 0, cols = 0;
    EXPECT_TRUE(GetPuzzleSize(a, &rows, &cols));
    return boardfixture::PatternPicture(rows, cols, seed);
}

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes)
        s.push_back(static_cast<char>(b));
    return s;
}

class BoardStateFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        points = 0;
        ASSERT_TRUE(PrepareStorage());
        for (PuzzleAddress a : {kFirst, kGirl}) {
            GridSizeInfo grid{};
            char dir[kPathMax];
            ASSERT_TRUE(GetGridSizeInfo(a.sizeClass, a.gridIndex, &grid));
            ASSERT_TRUE(BuildStateDirPath(kPlayerDataRoot, grid.dirCode, dir));
            ASSERT_TRUE(EnsureDirectory(dir));
        }
    }

    // The machine path of a state file.
    std::string PathOf(PuzzleAddress a, StateFileKind kind) const {
        char path[kPathMax];
        EXPECT_TRUE(BuildStateFilePath(kPlayerDataRoot, a, kind, path));
        return host.Path(path);
    }

    bool Save(PuzzleAddress a, TestBoard& b) {
        return SaveCells(kPlayerDataRoot, a, b.get()) && SaveMarks(kPlayerDataRoot, a, b.get());
    }
    bool Read(PuzzleAddress a, TestBoard& b) {
        ResetBoard(b.get());
        return ReadBoardState(kPlayerDataRoot, a, b.get());
    }

    std::vector<int32_t> Statuses(PuzzleAddress a) {
        GridSizeInfo grid{};
        GetGridSizeInfo(a.sizeClass, a.gridIndex, &grid);
        std::vector<PuzzleEntry> entries(static_cast<size_t>(grid.puzzleCount));
        for (auto& e : entries)
            e.status = -7;
        ReadPuzzleStatuses(kPlayerDataRoot, a.sizeClass, a.gridIndex, entries.data(),
                           grid.puzzleCount);
        std::vector<int32_t> statuses;
        for (const auto& e : entries)
            statuses.push_back(e.status);
        return statuses;
    }

    // Every file of the player's storage with its bytes.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(host.DocumentsDir())) {
            if (e.is_regular_file()) files[e.path().string()] = ReadFile(e.path().string());
        }
        return files;
    }

    testsupport::BoundHost host;
};

// A board screen on a catalogue puzzle, as opening the puzzle leaves it.
struct OpenScreen {
    OpenScreen(PuzzleAddress a, const std::vector<std::string>& picture) : board(picture) {
        screen.progress.address = PuzzleAddress{a.sizeClass, a.gridIndex, a.puzzleIndex};
        screen.progress.board = board.get();
        screen.layout.fitRect = {10, 20, 300, 400};
        screen.viewRect = {-50, -60, 900, 1200};
    }
    TestBoard board;
    BoardScreen screen{};
};

// ===========================================================================
// Formats

TEST(StateFormats, CellsPackFiveToAByteLeftmostLeastSignificant) {
    TestBoard b(boardfixture::Clues(3, {0}), boardfixture::Clues(7, {0}));
    b.Paint({"#.x..##", ".......", "......."});
    uint8_t out[kCellsBytesMax];
    ASSERT_EQ(PackCells(b.get(), out, sizeof out), 6);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 6), Bytes({19, 4, 0, 0, 0, 0}));

    // All five digits and the bytes' range: 2 + 2*3 + 2*9 + 2*27 + 2*81 = 242.
    TestBoard wide(boardfixture::Clues(12, {0}), boardfixture::Clues(13, {0}));
    wide.Paint({"xxxxx#####x.."});
    ASSERT_EQ(PackCells(wide.get(), out, sizeof out), 36);  // 12 rows of 3 bytes
    EXPECT_EQ(out[0], 242);
    EXPECT_EQ(out[1], 121);  // 1 + 3 + 9 + 27 + 81
    EXPECT_EQ(out[2], 2);
    EXPECT_EQ(PackCells(wide.get(), out, 35), -1);
}

TEST(StateFormats, MarksPackOneBitPerClueRowsThenColumns) {
    TestBoard b({{1, 2}, {3}, {1, 1}, {2}}, {{1}, {2}, {1, 1}, {1, 1}});
    const auto clues = b.Clues();
    ASSERT_EQ(clues.size(), 12u);
    *clues[0] += ClueMarkOffset;
    *clues[9] += ClueMarkOffset;
    uint8_t out[kMarksBytesMax];
    std::memset(out, 0xAB, sizeof out);  // bytes in use must not keep stale bits
    ASSERT_EQ(PackMarks(b.get(), out, sizeof out), 2);
    EXPECT_EQ(out[0], 128);
    EXPECT_EQ(out[1], 64);
}

// ===========================================================================
// Writing and restoring

TEST_F(BoardStateFiles, SavedCellsAndMarksComeBackExactly) {
    // 10 x 6 (a partly used byte per row), and 77 x 80 alternating cells: 40 clues
    // on each row, 39 on each column, far more than 1600 clues in all.
    std::vector<std::string> alternating(77, std::string(80, '.'));
    for (int r = 0; r < 77; ++r) {
        for (int c = r % 2; c < 80; c += 2)
            alternating[r][c] = '#';
    }
    for (const auto& [address, picture] :
         {std::pair{kBoy, PictureFor(kBoy)}, std::pair{kGirl, alternating}}) {
        TestBoard b(picture);
        b.Paint(picture);
        b.Cell(0, 0) = CellCross;
        b.Cell(b->rows - 1, b->cols - 1) = CellCross;
        const auto clues = b.Clues();
        for (size_t i = 0; i < clues.size(); i += 3)
            *clues[i] += ClueMarkOffset;
        ASSERT_TRUE(Save(address, b));
        const size_t recordBytes = static_cast<size_t>((b->cols + 4) / 5);
        EXPECT_EQ(ReadFile(PathOf(address, CellsFile)).size(), b->rows * recordBytes);
        EXPECT_EQ(ReadFile(PathOf(address, MarksFile)).size(), (clues.size() + 7) / 8);

        TestBoard copy(picture);
        ASSERT_TRUE(Read(address, copy));
        EXPECT_EQ(copy.CellBytes(), b.CellBytes());
        EXPECT_EQ(copy.ClueBytes(), b.ClueBytes());
        EXPECT_FALSE(FileExists(PathOf(address, CellsFile) + ".tmp"));
    }
}

TEST_F(BoardStateFiles, AFirstClueMarkMakesThePuzzleInProgress) {
    TestBoard b(PictureFor(kFirst));
    b->rowClues[0].values[0] += ClueMarkOffset;
    ASSERT_TRUE(SaveMarks(kPlayerDataRoot, kFirst, b.get()));
    EXPECT_EQ(b->stateFileCreated, 1);
    bool ok = false;
    EXPECT_EQ(ReadFile(PathOf(kFirst, CellsFile), &ok), "");
    EXPECT_TRUE(ok);
    EXPECT_TRUE(FileExists(PathOf(kFirst, MarksFile)));
    const auto statuses = Statuses(kFirst);
    EXPECT_EQ(statuses[0], InProgress);
    for (size_t p = 1; p < statuses.size(); ++p)
        ASSERT_EQ(statuses[p], NotStarted) << p;

    // The empty cells file restores nothing and the marks come back.
    TestBoard copy(PictureFor(kFirst));
    EXPECT_TRUE(Read(kFirst, copy));
    EXPECT_EQ(copy->rowClues[0].values[0], b->rowClues[0].values[0]);
    for (uint8_t cell : copy->cells)
        ASSERT_EQ(cell, CellEmpty);

    // Later saves leave an existing cells file alone.
    b.Cell(1, 1) = CellFilled;
    ASSERT_TRUE(SaveCells(kPlayerDataRoot, {0, 0, 0}, b.get()));
    const std::string cells = ReadFile(PathOf(kFirst, CellsFile));
    ASSERT_TRUE(SaveMarks(kPlayerDataRoot, {0, 0, 0}, b.get()));
    EXPECT_EQ(ReadFile(PathOf(kFirst, CellsFile)), cells);
}

// ===========================================================================
// Damaged files

TEST_F(BoardStateFiles, CellsFilesThatAreShortLongOrHoldBadBytes) {
    const auto picture = PictureFor(kBoy);  // 10 rows, 6 columns: records of 2 bytes
    TestBoard b(picture);
    const std::string cells = PathOf(kBoy, CellsFile);

    // Three whole records and one cut short: the three rows come back.
    WriteFile(cells, Bytes({1, 0, 2, 1, 121, 1, 2}));
    EXPECT_FALSE(Read(kBoy, b));
    EXPECT_EQ(b.Cell(0, 0), CellFilled);
    EXPECT_EQ(b.Cell(1, 0), CellCross);
    EXPECT_EQ(b.Cell(1, 5), CellFilled);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(b.Cell(2, c), CellFilled);
    EXPECT_EQ(b.Cell(3, 0), CellEmpty);

    // More records than rows: the rows fill, nothing is stored below them.
    WriteFile(cells, std::string(15 * 2, static_cast<char>(242)));
    EXPECT_FALSE(Read(kBoy, b));
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 6; ++c)
            ASSERT_EQ(b.Cell(r, c), CellCross);
    }
    for (int i = 10 * kBoardMaxSide; i < kBoardMaxSide * kBoardMaxSide; ++i) {
        ASSERT_EQ(b->cells[i], CellEmpty) << i;
    }
    for (int r = 0; r < 10; ++r)
        ASSERT_EQ(b.Cell(r, 6), CellEmpty);

    // A record with a byte above 242 (its top digit would be 3) is skipped whole.
    std::string bytes = Bytes({1, 1, 243, 1, 2, 2, 255, 0});
    WriteFile(cells, bytes);
    EXPECT_FALSE(Read(kBoy, b));
    EXPECT_EQ(b.Cell(0, 0), CellFilled);
    EXPECT_EQ(b.Cell(0, 5), CellFilled);
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(b.Cell(1, c), CellEmpty);
    EXPECT_EQ(b.Cell(2, 0), CellCross);
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(b.Cell(3, c), CellEmpty);

    // A sound file says so.
    WriteFile(cells, std::string(10 * 2, '\0'));
    EXPECT_TRUE(Read(kBoy, b));
}

TEST_F(BoardStateFiles, MarksFilesShorterOrLongerThanNeeded) {
    TestBoard b(PictureFor(kFirst));
    const auto clues = b.Clues();
    const int needed = static_cast<int>(clues.size() + 7) / 8;
    const std::string marks = PathOf(kFirst, MarksFile);

    WriteFile(marks, std::string(static_cast<size_t>(needed - 1), static_cast<char>(0xFF)));
    EXPECT_FALSE(Read(kFirst, b));
    EXPECT_LT(b->rowClues[0].values[0], ClueMarkOffset);

    WriteFile(marks, Bytes({0x80}) + std::string(static_cast<size_t>(needed + 500), '\0'));
    EXPECT_TRUE(Read(kFirst, b));
    for (size_t i = 0; i < clues.size(); ++i) {
        EXPECT_EQ(*clues[i] >= ClueMarkOffset, i == 0) << i;
    }
}

TEST_F(BoardStateFiles, GarbageFilesNeverCrashOrStoreBadCodes) {
    const auto picture = PictureFor(kBoy);
    TestBoard b(picture);
    const auto clues = b.ClueBytes();
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        std::string cells(random() % 40, '\0'), marks(random() % 40, '\0');
        for (char& ch : cells)
            ch = static_cast<char>(random());
        for (char& ch : marks)
            ch = static_cast<char>(random());
        WriteFile(PathOf(kBoy, CellsFile), cells);
        WriteFile(PathOf(kBoy, MarksFile), marks);
        Read(kBoy, b);
        for (int i = 0; i < kBoardMaxSide * kBoardMaxSide; ++i) {
            const bool inside = i / kBoardMaxSide < 10 && i % kBoardMaxSide < 6;
            ASSERT_LE(b->cells[i], inside ? CellCross : CellEmpty) << i;
        }
        const auto now = b.ClueBytes();
        for (size_t i = 0; i < clues.size(); ++i)
            ASSERT_EQ(ClueValue(now[i]), clues[i]);
    }
}

TEST_F(BoardStateFiles, ADamagedPuzzleNeverTouchesAnotherPuzzlesFiles) {
    // Puzzle 1 has progress; puzzle 0's files are garbage.
    const PuzzleAddress second = {0, 0, 1};
    TestBoard other(PictureFor(second));
    other.Cell(4, 4) = CellFilled;
    other->rowClues[2].values[0] += ClueMarkOffset;
    ASSERT_TRUE(Save(second, other));
    WriteFile(PathOf(kFirst, CellsFile), std::string(777, static_cast<char>(0xF7)));
    WriteFile(PathOf(kFirst, MarksFile), std::string(3, static_cast<char>(0xFF)));
    auto before = Snapshot();

    // Open puzzle 0, play a little and leave, as the screen does it.
    OpenScreen open(kFirst, PictureFor(kFirst));
    Read(kFirst, open.board);
    open.screen.CheckAndRecordSolved();
    SetCell(open.board.get(), 0, 0, CellFilled);
    open.board->colClues[0].values[0] += ClueMarkOffset;
    open.screen.progress.cellsDirty = open.screen.progress.marksDirty = 1;
    EXPECT_TRUE(open.screen.SaveDirtyState());

    auto after = Snapshot();
    for (const auto& [path, bytes] : before) {
        if (path == PathOf(kFirst, CellsFile) || path == PathOf(kFirst, MarksFile)) continue;
        ASSERT_TRUE(after.count(path)) << path;
        EXPECT_EQ(after[path], bytes) << path;
    }
    for (const auto& [path, bytes] : after) {
        EXPECT_TRUE(before.count(path) || path == PathOf(kFirst, CellsFile) ||
                    path == PathOf(kFirst, MarksFile))
            << "unexpected " << path;
    }
    EXPECT_EQ(ReadFile(PathOf(kFirst, CellsFile)).size(), 20u);
}

// ===========================================================================
// Solving, the solved marker and the points

TEST_F(BoardStateFiles, TheCounterRisesOncePerSolveUntilClearAll) {
    const auto picture = PictureFor(kFirst);
    OpenScreen open(kFirst, picture);
    open.board.Paint(picture);
    open.screen.progress.cellsDirty = 1;
    ASSERT_TRUE(open.screen.SaveDirtyState());
    EXPECT_EQ(open.board->solved, 1);
    EXPECT_EQ(open.screen.progress.cellsDirty, 0);
    EXPECT_EQ(points, 1);
    EXPECT_EQ(ReadFile(host.Path(kPointsPath)), "1\n");
    bool ok = false;
    EXPECT_EQ(ReadFile(PathOf(kFirst, SolvedMarker), &ok), "");
    EXPECT_TRUE(ok);
    // The fitted view is back, every empty cell holds an X and the file has them.
    EXPECT_EQ(open.screen.viewRect.x, 10);
    EXPECT_EQ(open.screen.viewRect.h, 400);
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 10; ++c) {
            ASSERT_EQ(open.board.Cell(r, c), picture[r][c] == '#' ? CellFilled : CellCross);
        }
    }
    TestBoard saved(picture);
    Read(kFirst, saved);
    EXPECT_EQ(saved.CellBytes(), open.board.CellBytes());
    EXPECT_EQ(Statuses(kFirst)[0], Solved);
    EXPECT_EQ(CountSolvedPuzzles(kPlayerDataRoot, 0, 0), 1);

    // Opened and found solved again: no second point.
    OpenScreen again(kFirst, picture);
    Read(kFirst, again.board);
    ASSERT_TRUE(again.screen.CheckAndRecordSolved());
    EXPECT_EQ(again.board->solved, 1);
    EXPECT_EQ(points, 1);

    // "Clear all?" and solve again: the marker is new, so is the point.
    ResetBoard(again.board.get());
    ASSERT_TRUE(DeleteBoardState(kPlayerDataRoot, {0, 0, 0}));
    EXPECT_EQ(Statuses(kFirst)[0], NotStarted);
    EXPECT_EQ(points, 1);
    again.board.Paint(picture);
    again.screen.progress.cellsDirty = 1;
    ASSERT_TRUE(again.screen.SaveDirtyState());
    EXPECT_EQ(points, 2);
    EXPECT_EQ(ReadFile(host.Path(kPointsPath)), "2\n");
}

TEST_F(BoardStateFiles, AnUnsolvedCheckClearsTheSolvedFlagAndWritesNothing) {
    OpenScreen open(kFirst, PictureFor(kFirst));
    open.board->solved = 1;
    open.board.Cell(0, 0) = CellCross;
    EXPECT_TRUE(open.screen.CheckAndRecordSolved());
    EXPECT_EQ(open.board->solved, 0);
    EXPECT_EQ(open.screen.viewRect.x, -50);
    EXPECT_FALSE(FileExists(PathOf(kFirst, SolvedMarker)));

    // Nor does a board whose clues are gone, although no cell disagrees with them.
    ResetBoard(open.board.get());
    ReleaseBoard(open.board.get());
    EXPECT_TRUE(open.screen.CheckAndRecordSolved());
    EXPECT_EQ(open.board->solved, 0);
    EXPECT_FALSE(FileExists(PathOf(kFirst, SolvedMarker)));
    EXPECT_EQ(points, 0);
}

TEST_F(BoardStateFiles, DeletingStateRemovesThreeFilesAndNothingElse) {
    const PuzzleAddress second = {0, 0, 1};
    TestBoard b(PictureFor(kFirst));
    b->rowClues[0].values[0] += ClueMarkOffset;
    ASSERT_TRUE(Save(kFirst, b));
    ASSERT_TRUE(Save(second, b));
    bool created = false;
    ASSERT_TRUE(EnsureSolvedMarker(kPlayerDataRoot, {0, 0, 0}, &created));
    EXPECT_TRUE(created);
    ASSERT_TRUE(EnsureSolvedMarker(kPlayerDataRoot, {0, 0, 0}, &created));
    EXPECT_FALSE(created);

    EXPECT_TRUE(DeleteBoardState(kPlayerDataRoot, {0, 0, 0}));
    for (StateFileKind kind : {CellsFile, MarksFile, SolvedMarker}) {
        EXPECT_FALSE(FileExists(PathOf(kFirst, kind)));
    }
    EXPECT_TRUE(FileExists(PathOf(second, CellsFile)));
    EXPECT_TRUE(FileExists(PathOf(second, MarksFile)));
    // Nothing left to delete is no failure.
    EXPECT_TRUE(DeleteBoardState(kPlayerDataRoot, {0, 0, 0}));
}

// ===========================================================================
// Statuses and solved counts

TEST_F(BoardStateFiles, StatusesIgnoreNamesThatMatchNoPuzzle) {
    char name[kFileNameMax];
    ASSERT_TRUE(GetPuzzleInfo({0, 0, 2}, nullptr, nullptr, name));
    const std::string stem2(name, std::strlen(name) - 4);
    ASSERT_TRUE(GetPuzzleInfo({0, 0, 3}, nullptr, nullptr, name));
    const std::string stem3(name, std::strlen(name) - 4);
    const std::string dir = fs::path(PathOf(kFirst, CellsFile)).parent_path().string();
    const char* const strays[] = {".rsv",
                                  "rsv",
                                  "res",
                                  "x.tmp",
                                  "not_a_stem.rsv",
                                  "a.res",
                                  "image25534.rsv.tmp",
                                  "image25534.hdr",
                                  "image25534Xrsv",
                                  "image2553.rsv",
                                  "image25534_.rsv"};
    for (const char* stray : strays)
        WriteFile(dir + "/" + stray, "");
    WriteFile(dir + "/" + stem2 + ".res", "");
    WriteFile(dir + "/" + stem3 + ".res", "");
    WriteFile(dir + "/" + stem3 + ".rsv", "");

    const auto statuses = Statuses(kFirst);
    for (size_t p = 0; p < statuses.size(); ++p) {
        const int32_t expected = p == 2 ? InProgress : p == 3 ? Solved : NotStarted;
        ASSERT_EQ(statuses[p], expected) << p;
    }
    EXPECT_EQ(CountSolvedPuzzles(kPlayerDataRoot, 0, 0), 1);
}

TEST_F(BoardStateFiles, AMissingDirectoryGivesNotStartedAndNoCount) {
    const PuzzleAddress never = {1, 3, 0};  // 15x25, never opened
    EXPECT_EQ(CountSolvedPuzzles(kPlayerDataRoot, never.sizeClass, never.gridIndex), 0);
    GridSizeInfo grid{};
    ASSERT_TRUE(GetGridSizeInfo(never.sizeClass, never.gridIndex, &grid));
    std::vector<PuzzleEntry> entries(static_cast<size_t>(grid.puzzleCount));
    for (auto& e : entries)
        e.status = Solved;
    EXPECT_FALSE(ReadPuzzleStatuses(kPlayerDataRoot, never.sizeClass, never.gridIndex,
                                    entries.data(), grid.puzzleCount));
    for (const auto& e : entries)
        EXPECT_EQ(e.status, NotStarted);
}

TEST_F(BoardStateFiles, StorageDirectoriesAreCreatedOnce) {
    for (const char* dir : {"", "/black", "/conf"}) {
        EXPECT_TRUE(fs::is_directory(host.DocumentsDir() + dir)) << dir;
    }
    EXPECT_TRUE(PrepareStorage());
    WriteFile(host.Path("Documents/black/999"), "a file where a directory should be");
    EXPECT_FALSE(EnsureDirectory("Documents/black/999"));
    EXPECT_TRUE(EnsureDirectory("Documents/black/998"));
    EXPECT_TRUE(fs::is_directory(host.Path("Documents/black/998")));
}

// ===========================================================================
// Failed, interrupted and killed saves

TEST_F(BoardStateFiles, AFailedSaveKeepsTheOldFilesAndTheDirtyFlags) {
    const auto picture = PictureFor(kFirst);
    OpenScreen open(kFirst, picture);
    SetCell(open.board.get(), 0, 0, CellCross);
    open.board->rowClues[1].values[0] += ClueMarkOffset;
    open.screen.progress.cellsDirty = open.screen.progress.marksDirty = 1;
    ASSERT_TRUE(open.screen.SaveDirtyState());
    const auto before = Snapshot();

    storagefaults::FaultyStorage storage;
    const auto faults = {&storagefaults::Faults::failRename, &storagefaults::Faults::shortWrite,
                         &storagefaults::Faults::failFlush,
                         &storagefaults::Faults::refuseWriteOpen};
    SetCell(open.board.get(), 5, 5, CellFilled);
    open.board->rowClues[1].values[0] -= ClueMarkOffset;
    for (auto fault : faults) {
        storage.faults() = storagefaults::Faults();
        storage.faults().*fault = true;
        open.screen.progress.cellsDirty = open.screen.progress.marksDirty = 1;
        EXPECT_FALSE(open.screen.SaveDirtyState());
        EXPECT_EQ(open.screen.progress.cellsDirty, 1);
        EXPECT_EQ(open.screen.progress.marksDirty, 1);
        EXPECT_EQ(Snapshot(), before);  // old files intact, no temporary file left
    }

    // Storage works again: the next release saves everything.
    storage.faults() = storagefaults::Faults();
    EXPECT_TRUE(open.screen.SaveDirtyState());
    EXPECT_EQ(open.screen.progress.cellsDirty, 0);
    EXPECT_EQ(open.screen.progress.marksDirty, 0);
    TestBoard copy(picture);
    Read(kFirst, copy);
    EXPECT_EQ(copy.Cell(5, 5), CellFilled);
    EXPECT_LT(copy->rowClues[1].values[0], ClueMarkOffset);
}

TEST_F(BoardStateFiles, ReadOnlyStorageAddsNoPointAndKeepsEverythingDirty) {
    const auto picture = PictureFor(kFirst);
    OpenScreen open(kFirst, picture);
    storagefaults::FaultyStorage storage;
    storagefaults::MakeReadOnly(host.DocumentsDir(), storage);

    open.board.Paint(picture);
    open.board->colClues[0].values[0] += ClueMarkOffset;
    open.screen.progress.cellsDirty = open.screen.progress.marksDirty = 1;
    EXPECT_FALSE(open.screen.SaveDirtyState());
    EXPECT_EQ(open.board->solved, 1);  // solved on screen, but not recorded
    EXPECT_EQ(points, 0);
    EXPECT_EQ(open.board->stateFileCreated, 0);
    EXPECT_EQ(open.screen.progress.cellsDirty, 1);
    EXPECT_EQ(open.screen.progress.marksDirty, 1);
    EXPECT_FALSE(FileExists(PathOf(kFirst, SolvedMarker)));
    EXPECT_FALSE(FileExists(PathOf(kFirst, CellsFile)));
    EXPECT_FALSE(FileExists(PathOf(kFirst, MarksFile)));
}

TEST_F(BoardStateFiles, APointWhoseFileFailedIsWrittenByTheNextCheck) {
    const auto picture = PictureFor(kFirst);
    OpenScreen open(kFirst, picture);
    open.board.Paint(picture);
    // A directory that cannot be removed where the points file's temporary file
    // goes: the marker can be written, the points file cannot.
    ASSERT_TRUE(fs::create_directories(host.Path(kPointsPath) + ".tmp/full"));
    open.screen.progress.cellsDirty = 1;
    EXPECT_FALSE(open.screen.SaveDirtyState());
    EXPECT_TRUE(FileExists(PathOf(kFirst, SolvedMarker)));
    EXPECT_FALSE(FileExists(host.Path(kPointsPath)));
    EXPECT_EQ(points, 1);
    EXPECT_EQ(open.screen.progress.cellsDirty, 1);
    fs::remove_all(host.Path(kPointsPath) + ".tmp");

    EXPECT_TRUE(open.screen.SaveDirtyState());
    EXPECT_EQ(points, 1);
    EXPECT_EQ(ReadFile(host.Path(kPointsPath)), "1\n");
    EXPECT_EQ(open.screen.progress.cellsDirty, 0);
}

// A child process saves two states in turn, forever; it is killed at random
// moments of its save cycle. Whatever moment it dies, each file reads back as one state or the
// other.
TEST_F(BoardStateFiles, KillingTheProcessMidSaveLeavesTheOldOrTheNewState) {
    const auto pictureA = PictureFor(kGirl, 1);
    const auto pictureB = PictureFor(kGirl, 2);
    TestBoard a(pictureA), b(pictureA);
    a.Paint(pictureA);
    b.Paint(pictureB);
    for (int r = 0; r < b->rows; ++r)
        b->rowClues[r].values[0] += ClueMarkOffset;
    ASSERT_TRUE(Save(kGirl, a));
    points = 5;
    ASSERT_TRUE(WritePoints());

    std::mt19937 random(2024);
    int sawA = 0, sawB = 0;
    for (int round = 0; round < 40; ++round) {
        int beat[2];
        ASSERT_EQ(pipe(beat), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(beat[0]);
            for (int i = 0;; ++i) {
                TestBoard& s = i % 2 ? b : a;
                SaveCells(kPlayerDataRoot, {kGirl.sizeClass, kGirl.gridIndex, 0}, s.get());
                SaveMarks(kPlayerDataRoot, {kGirl.sizeClass, kGirl.gridIndex, 0}, s.get());
                points = i % 2 ? 1234567 : 5;
                WritePoints();
                if (i % 2 == 1 && write(beat[1], "*", 1) != 1) _exit(1);
            }
        }
        close(beat[1]);
        // Two heartbeats give the length of one A-then-B cycle on this machine; the
        // kill then lands anywhere within the next cycle. The child is killed
        // whatever happens here, so a failing check leaves no process behind.
        char ch;
        const bool first = read(beat[0], &ch, 1) == 1;
        const auto start = std::chrono::steady_clock::now();
        const bool second = first && read(beat[0], &ch, 1) == 1;
        const auto cycle = std::chrono::duration_cast<std::chrono::microseconds>(
                               std::chrono::steady_clock::now() - start)
                               .count();
        if (second) usleep(static_cast<useconds_t>(random() % static_cast<uint64_t>(cycle + 1)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        close(beat[0]);
        ASSERT_TRUE(second) << "no heartbeat from the saving child";
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself";

        TestBoard back(pictureA);
        ASSERT_TRUE(Read(kGirl, back)) << "round " << round;
        const bool isA = back.CellBytes() == a.CellBytes();
        ASSERT_TRUE(isA || back.CellBytes() == b.CellBytes()) << "round " << round;
        (isA ? sawA : sawB)++;
        const auto marks = back.ClueBytes();
        EXPECT_TRUE(marks == a.ClueBytes() || marks == b.ClueBytes()) << "round " << round;
        const std::string pts = ReadFile(host.Path(kPointsPath));
        EXPECT_TRUE(pts == "5\n" || pts == "1234567\n") << pts;
    }
    // The kills landed at different moments of the loop.
    EXPECT_GT(sawA, 0);
    EXPECT_GT(sawB, 0);

    // A temporary file a killed save left behind is simply replaced by the next save.
    const std::string leftover = PathOf(kGirl, CellsFile) + ".tmp";
    WriteFile(leftover, "half a save");
    ASSERT_TRUE(Save(kGirl, b));
    EXPECT_FALSE(FileExists(leftover));
    TestBoard back(pictureA);
    ASSERT_TRUE(Read(kGirl, back));
    EXPECT_EQ(back.CellBytes(), b.CellBytes());
}

}  // namespace
