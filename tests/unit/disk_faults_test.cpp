// Disk faults through the shared host's file services (every write, the n-th
// write, rename, a full disk, a read-only player folder) on the game's real save
// path: the board screen's saves and solve, the settings and the points. Under
// each: the good files stay as they were (or become wholly new), nothing half
// written is left, the next save after the fault writes what failed, and the
// solve earns exactly one point.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "hosts/common/host.h"
#include "puzzles/board_state.h"
#include "puzzles/catalogue.h"
#include "puzzles/progress.h"
#include "storage/settings.h"
#include "tests/support/test_host.h"
#include "tests/unit/board_fixture.h"

namespace {

namespace fs = std::filesystem;
using boardfixture::TestBoard;
using Files = std::map<std::string, std::string>;

constexpr int32_t kClass = 0, kGrid = 0, kPuzzle = 0;

std::vector<std::string> Picture() {
    int32_t rows = 0, cols = 0;
    EXPECT_TRUE(GetPuzzleSize({kClass, kGrid, kPuzzle}, &rows, &cols));
    return boardfixture::PatternPicture(rows, cols, 3);
}

// One player's storage with a good state saved: half the picture painted, one
// clue crossed out, theme 1 and three points.
class Player {
  public:
    Player() : board_(Picture()) {
        points = 3;
        color_schema = 1;
        rate_redirected = 0;
        GridSizeInfo grid{};
        char dir[kPathMax];
        EXPECT_TRUE(PrepareStorage());
        EXPECT_TRUE(GetGridSizeInfo(kClass, kGrid, &grid));
        EXPECT_TRUE(BuildStateDirPath(kPlayerDataRoot, grid.dirCode, dir));
        EXPECT_TRUE(EnsureDirectory(dir));
        screen_.address = {kClass, kGrid, kPuzzle};
        screen_.board = board_.get();
        auto half = Picture();
        for (size_t r = half.size() / 2; r < half.size(); ++r)
            half[r].assign(half[r].size(), '.');
        board_.Paint(half);
        board_->rowClues[0].values[0] += ClueMarkOffset;
        screen_.cellsDirty = screen_.marksDirty = 1;
        EXPECT_TRUE(SaveDirtyState(&screen_));
        EXPECT_TRUE(WriteSettings());
        EXPECT_TRUE(WritePoints());
        good_ = Snapshot();
    }

    // The player solves the puzzle, moves a clue mark and picks theme 2; every
    // save is tried once. True when all of them went through.
    bool SolveAndSave() {
        board_.Paint(Picture());
        board_->rowClues[0].values[0] -= ClueMarkOffset;
        board_->colClues[1].values[0] += ClueMarkOffset;
        screen_.cellsDirty = screen_.marksDirty = 1;
        color_schema = 2;
        const bool saved = SaveDirtyState(&screen_);
        return WriteSettings() && saved;
    }
    // The next release on the board and the next settings change.
    bool SaveAgain() {
        const bool saved = SaveDirtyState(&screen_);
        return WriteSettings() && saved;
    }

    Files Snapshot() const {
        Files files;
        for (const auto& e : fs::recursive_directory_iterator(host_.DocumentsDir())) {
            if (e.is_regular_file())
                files[e.path().string()] = testsupport::ReadFile(e.path().string());
        }
        return files;
    }
    std::string MarkerPath() const {
        char path[kPathMax];
        EXPECT_TRUE(
            BuildStateFilePath(kPlayerDataRoot, {kClass, kGrid, kPuzzle}, SolvedMarker, path));
        return host_.Path(path);
    }

    // During the fault: every good file is as it was or wholly new, no temporary
    // file is left, and a point is counted only with its marker.
    void ExpectOldOrNew(const std::string& what) const {
        const Files now = Snapshot();
        for (const auto& [path, bytes] : now) {
            EXPECT_NE(fs::path(path).extension(), ".tmp") << what << ": leftover " << path;
            // The solve's marker, and the note of its point while the points file lags.
            if (path == MarkerPath() || path == host_.Path(kPendingPointPath)) continue;
            const auto old = good_.find(path);
            ASSERT_NE(old, good_.end()) << what << ": new file " << path;
            if (bytes != old->second) {
                EXPECT_EQ(bytes, NewBytes(path)) << what << ": " << path;
            }
        }
        for (const auto& [path, bytes] : good_)
            EXPECT_TRUE(now.count(path)) << what << ": lost " << path;
        EXPECT_EQ(points, testsupport::FileExists(MarkerPath()) ? 4 : 3) << what;
    }

    // After the fault is gone: the solved board, its marks, theme 2 and four points
    // are on disk and nothing is left dirty.
    void ExpectAllSaved(const std::string& what) {
        EXPECT_EQ(screen_.cellsDirty, 0) << what;
        EXPECT_EQ(screen_.marksDirty, 0) << what;
        EXPECT_TRUE(testsupport::FileExists(MarkerPath())) << what;
        TestBoard back(Picture());
        EXPECT_TRUE(ReadBoardState(kPlayerDataRoot, {kClass, kGrid, kPuzzle}, back.get())) << what;
        EXPECT_EQ(VerifyBoard(back.get()), 0) << what;
        EXPECT_LT(back->rowClues[0].values[0], ClueMarkOffset) << what;
        EXPECT_GE(back->colClues[1].values[0], ClueMarkOffset) << what;
        points = 0;
        color_schema = 0;
        ReadPoints();
        ReadSettings();
        EXPECT_EQ(points, 4) << what;
        EXPECT_EQ(color_schema, 2) << what;
        for (const auto& [path, bytes] : Snapshot())
            EXPECT_NE(fs::path(path).extension(), ".tmp") << what << ": leftover " << path;
        EXPECT_FALSE(testsupport::FileExists(host_.Path(kPendingPointPath))) << what;
        // Another release on the solved board adds nothing.
        screen_.cellsDirty = 1;
        EXPECT_TRUE(SaveDirtyState(&screen_)) << what;
        EXPECT_EQ(points, 4) << what;
    }

  private:
    std::string NewBytes(const std::string& path) const {
        if (path == host_.Path(kSettingsPath)) return "color_schema=2\nrate_redirected=0\n";
        if (path == host_.Path(kPointsPath)) return "4\n";
        // The state files as a fault-free save makes them.
        uint8_t bytes[kCellsBytesMax];
        char cells[kPathMax];
        BuildStateFilePath(kPlayerDataRoot, {kClass, kGrid, kPuzzle}, CellsFile, cells);
        const bool isCells = path == host_.Path(cells);
        const int32_t n = isCells ? PackCells(board_.get(), bytes, kCellsBytesMax)
                                  : PackMarks(board_.get(), bytes, kCellsBytesMax);
        return std::string(reinterpret_cast<const char*>(bytes), static_cast<size_t>(n));
    }

    testsupport::BoundHost host_;
    mutable TestBoard board_;
    PuzzleProgress screen_{};
    Files good_;
};

// A lasting fault fails the retry too; a one-time fault (the n-th write) is
// over by then, so the retry alone must put everything right.
void RunFault(const std::string& what, const host::StorageFaults& faults) {
    const bool lasting = faults.failWriteNumber == 0;
    Player player;
    host::SetStorageFaults(faults);
    EXPECT_FALSE(player.SolveAndSave()) << what;
    player.ExpectOldOrNew(what);
    if (lasting) {
        EXPECT_FALSE(player.SaveAgain()) << what;
        player.ExpectOldOrNew(what + ", again");
    }
    host::SetStorageFaults(host::StorageFaults());
    EXPECT_TRUE(player.SaveAgain()) << what;
    player.ExpectAllSaved(what);
}

TEST(DiskFaults, EachFaultKeepsTheGoodFilesAndTheNextSaveRecordsTheSolveOnce) {
    host::StorageFaults f;
    f.failWrites = true;
    RunFault("every write fails", f);
    f = {};
    f.failRename = true;
    RunFault("every rename fails", f);
    f = {};
    f.readOnlyDocuments = true;
    RunFault("read-only player folder", f);
    for (int64_t free : {0, 9, 23, 41}) {
        f = {};
        f.diskFreeBytes = free;
        RunFault("disk full after " + std::to_string(free) + " bytes", f);
    }
}

TEST(DiskFaults, ASingleFailedWriteAnywhereLosesAndDoublesNothing) {
    // How many writes a fault-free solve and save takes.
    int64_t writes = 0;
    {
        Player player;
        host::SetStorageFaults(host::StorageFaults());
        ASSERT_TRUE(player.SolveAndSave());
        writes = host::StorageWriteCount();
    }
    ASSERT_GE(writes, 5);  // point note, cells, marks, points, settings at least
    for (int64_t n = 1; n <= writes; ++n) {
        host::StorageFaults f;
        f.failWriteNumber = n;
        RunFault("write " + std::to_string(n) + " of " + std::to_string(writes) + " fails", f);
    }
}

}  // namespace

namespace {

// A run killed between the solved marker and the points file leaves the note of
// its point: the next start takes the point once; a note without its marker, or
// one that is damaged, gives nothing and goes.
TEST(DiskFaults, APointNotedBeforeAKillIsTakenOnceAtTheNextStart) {
    testsupport::BoundHost host;
    ASSERT_TRUE(PrepareStorage());
    const std::string marker = "Documents/black/001/image25534.rsv";
    const std::string note = host.Path(kPendingPointPath);
    struct Case {
        const char* what;
        std::string note;
        bool markerThere;
        int32_t expected;
    };
    const Case cases[] = {
        {"marker made, points file not", "8\n" + marker + "\n", true, 8},
        {"points file already written", "7\n" + marker + "\n", true, 7},
        {"marker never made", "8\n" + marker + "\n", false, 7},
        {"note outside the player's folder", "8\ntasks/black/001/image25534.dmp\n", true, 7},
        {"note without a path", "8", true, 7},
        {"note of garbage", std::string("\xff\x00\n\n", 4), true, 7},
        {"note naming another of the player's files", "9\nDocuments/conf/points.pts\n", true, 7},
        // A later solve's note carries what earlier solves earned.
        {"earlier points carried, marker never made", "9\n" + marker + "\n8\n", false, 8},
        {"earlier points only", "7\n\n9\n", false, 9},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(testsupport::WriteFile(host.Path(kPointsPath), "7\n"));
        ASSERT_TRUE(testsupport::WriteFile(note, c.note));
        fs::remove(host.Path(marker));
        if (c.markerThere) {
            ASSERT_TRUE(testsupport::WriteFile(host.Path(marker), ""));
        }
        ReadPoints();
        EXPECT_EQ(points, c.expected) << c.what;
        EXPECT_FALSE(testsupport::FileExists(note)) << c.what;
        ReadPoints();
        EXPECT_EQ(points, c.expected) << c.what << ", read again";
        EXPECT_EQ(testsupport::ReadFile(host.Path(kPointsPath)), std::to_string(c.expected) + "\n")
            << c.what;
    }
}

}  // namespace

namespace {

// What a kill mid-save leaves beside each file (its half-written ".tmp") changes
// no read and no listing, and the next save of each file replaces it.
TEST(DiskFaults, LeftoverTemporaryFilesConfuseNoReadAndGoWithTheNextSave) {
    Player player;
    const Files good = player.Snapshot();
    PuzzleEntry before[1] = {}, after[1] = {};
    ReadPuzzleStatuses(kPlayerDataRoot, kClass, kGrid, before, 1);
    for (const auto& [path, bytes] : good)
        ASSERT_TRUE(testsupport::WriteFile(path + ".tmp", "\x01half"));
    ASSERT_TRUE(testsupport::WriteFile(player.MarkerPath() + ".tmp", "\x01half"));

    ReadPuzzleStatuses(kPlayerDataRoot, kClass, kGrid, after, 1);
    EXPECT_EQ(after[0].status, before[0].status);
    EXPECT_EQ(CountSolvedPuzzles(kPlayerDataRoot, kClass, kGrid), 0);
    ReadPoints();
    ReadSettings();
    EXPECT_EQ(points, 3);
    EXPECT_EQ(color_schema, 1);

    EXPECT_TRUE(player.SolveAndSave());
    player.ExpectAllSaved("after leftovers");
}

}  // namespace
