// kill-save-bench: how the player's files fare when the game dies mid-save.
// A child process plays generation after generation of saves through the
// game's real writers and the shared host's file services: cells and clue
// marks (SaveDirtyState), a solve (solved marker and points), "Clear all?"
// (DeleteBoardState) and the settings. The parent kills it with SIGKILL at a
// random moment, then reads everything back with the game's readers and checks
// that each file holds the content of the last finished generation or of the
// one under way, never anything else, and that the puzzle list still reads
// right despite any temporary file the kill left behind.
//
// Usage: kill-save-bench [--trials N] [--seed S] [--dir FOLDER]
// Prints "trials", "killed_mid_save", "corrupt", "lost_points",
// "leftover_temporary_files" and "listing_wrong", one "name value" a line.
// Exits 1 when any outcome was corrupt or the listing read wrong.
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "board/board.h"
#include "hosts/common/host.h"
#include "platform/binding.h"
#include "puzzles/board_state.h"
#include "puzzles/catalogue.h"
#include "puzzles/progress.h"
#include "puzzles/puzzle_file.h"
#include "storage/settings.h"

namespace {

namespace fs = std::filesystem;

// The puzzle the child plays: the first of the catalogue, whose file the bench
// writes itself from a picture it knows, so it can solve it.
constexpr int32_t kClass = 0, kGrid = 0, kPuzzle = 0;

// What the child publishes for the parent, in memory both share.
struct Progress {
    std::atomic<int64_t> started;       // generation whose saves are under way
    std::atomic<int64_t> finished;      // last generation whose saves all returned
    std::atomic<int32_t> pointsBefore;  // points when `started` began
    std::atomic<int32_t> pointsAfter;   // points once `started` is done
};

uint32_t Mix(uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdull;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ull;
    x ^= x >> 33;
    return static_cast<uint32_t>(x);
}

bool Solution(int32_t r, int32_t c) {
    return (r * 7 + c * 3) % 5 < 2 || r == c;
}

// Phases of a generation: 0 "Clear all?" then new cells, 1 more cells, 2 the
// solve, 3 cells changed after the solve.
int Phase(int64_t g) {
    return static_cast<int>(g % 4);
}

// The board as generation g leaves it in memory (and so in its files).
void Shape(Board* board, int64_t g) {
    ResetBoard(board);
    const bool solve = Phase(g) == 2;
    for (int32_t r = 0; r < board->rows; ++r) {
        for (int32_t c = 0; c < board->cols; ++c) {
            uint8_t code = 0;
            if (solve) {
                code = Solution(r, c) ? CellFilled : CellEmpty;
            } else {
                code =
                    static_cast<uint8_t>(Mix(static_cast<uint64_t>(g) * 10007 + r * 101 + c) % 3);
            }
            board->cells[r * kBoardMaxSide + c] = code;
        }
    }
    if (solve) FillCrossesOnSolve(board);
    int64_t i = 0;
    auto mark = [&](ClueLine& line) {
        for (int32_t k = 0; k < line.count; ++k, ++i) {
            if (Mix(static_cast<uint64_t>(g) * 7919 + static_cast<uint64_t>(i)) & 1) {
                line.values[k] = static_cast<uint8_t>(ClueValue(line.values[k]) + ClueMarkOffset);
            }
        }
    };
    for (int32_t r = 0; r < board->rows; ++r)
        mark(board->rowClues[r]);
    for (int32_t c = 0; c < board->cols; ++c)
        mark(board->colClues[c]);
}

uint8_t SchemaOf(int64_t g) {
    return static_cast<uint8_t>(g % 3);
}
uint8_t RatedOf(int64_t g) {
    return static_cast<uint8_t>((g / 3) % 2);
}
bool MarkerAfter(int64_t g) {
    return g >= 0 && (Phase(g) == 2 || Phase(g) == 3);
}

Board* LoadBoard() {
    auto* board = static_cast<Board*>(std::calloc(1, sizeof(Board)));
    if (!LoadPuzzle({kClass, kGrid, kPuzzle}, board)) {
        std::fprintf(stderr, "cannot load the bench puzzle\n");
        std::exit(2);
    }
    ResetBoard(board);
    return board;
}

// The child: generations from first on, until it is killed.
[[noreturn]] void Play(Progress* progress, int64_t first) {
    ReadPoints();
    ReadSettings();
    PuzzleProgress screen{};
    screen.address = {kClass, kGrid, kPuzzle};
    screen.board = LoadBoard();
    for (int64_t g = first;; ++g) {
        char marker[kPathMax];
        BuildStateFilePath(kPlayerDataRoot, {kClass, kGrid, kPuzzle}, SolvedMarker, marker);
        const bool willAdd = Phase(g) == 2 && !s3eFileCheckExists(marker);
        progress->pointsBefore = points;
        progress->pointsAfter = points + (willAdd ? 1 : 0);
        progress->started = g;
        if (Phase(g) == 0) DeleteBoardState(kPlayerDataRoot, {kClass, kGrid, kPuzzle});
        Shape(screen.board, g);
        screen.board->stateFileCreated = 0;
        screen.cellsDirty = 1;
        screen.marksDirty = 1;
        bool ok = SaveDirtyState(&screen);
        color_schema = SchemaOf(g);
        rate_redirected = RatedOf(g);
        ok = WriteSettings() && ok;
        if (!ok) {
            std::fprintf(stderr, "a save failed in generation %lld\n", static_cast<long long>(g));
            _exit(3);
        }
        progress->finished = g;
    }
}

// Writes the bench puzzle's file into the data folder from Solution().
bool WritePuzzleFile(const std::string& dataDir) {
    int32_t rows = 0, cols = 0;
    char fileName[kFileNameMax];
    GridSizeInfo grid{};
    char path[kPathMax];
    if (!GetPuzzleInfo({kClass, kGrid, kPuzzle}, &rows, &cols, fileName) ||
        !GetGridSizeInfo(kClass, kGrid, &grid) || !BuildPuzzlePath(grid.dirCode, fileName, path)) {
        return false;
    }
    uint8_t encode[256] = {};
    for (int b = 255; b >= 1; --b) {
        if (b != '\n' && b != '\r')
            encode[DecodeClueByte(static_cast<uint8_t>(b))] = static_cast<uint8_t>(b);
    }
    std::string text;
    auto line = [&](int32_t n, auto filled) {
        int32_t run = 0;
        for (int32_t i = 0; i <= n; ++i) {
            if (i < n && filled(i)) {
                ++run;
            } else if (run > 0) {
                text += static_cast<char>(encode[run]);
                run = 0;
            }
        }
        text += '\n';
    };
    for (int32_t r = 0; r < rows; ++r)
        line(cols, [&](int32_t c) { return Solution(r, c); });
    for (int32_t c = 0; c < cols; ++c)
        line(rows, [&](int32_t r) { return Solution(r, c); });
    const fs::path file = fs::path(dataDir) / path;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    return true;
}

struct Tally {
    int trials = 0;
    int midSave = 0;
    int corrupt = 0;
    int lostPoints = 0;
    int leftovers = 0;
    int listingWrong = 0;
};

// Reads everything back after a kill and judges it against the two generations
// the files may hold.
void Judge(const Progress& progress, const std::string& stateDir, Tally& tally) {
    const int64_t started = progress.started;
    const int64_t finished = progress.finished;
    const int64_t candidates[2] = {finished, started};
    bool corrupt = false;

    Board* read = LoadBoard();
    ReadBoardState(kPlayerDataRoot, {kClass, kGrid, kPuzzle}, read);
    Board* expected = LoadBoard();
    bool cellsOk = false, marksOk = false;
    for (int64_t g : candidates) {
        if (g < 0) {
            ResetBoard(expected);
        } else {
            Shape(expected, g);
        }
        cellsOk = cellsOk || std::memcmp(read->cells, expected->cells, sizeof read->cells) == 0;
        uint8_t a[kMarksBytesMax], b[kMarksBytesMax];
        const int32_t na = PackMarks(read, a, kMarksBytesMax);
        const int32_t nb = PackMarks(expected, b, kMarksBytesMax);
        marksOk = marksOk || (na == nb && std::memcmp(a, b, static_cast<size_t>(na)) == 0);
    }
    // "Clear all?" passes through a moment with no files at all.
    if (Phase(started) == 0) {
        ResetBoard(expected);
        cellsOk = cellsOk || std::memcmp(read->cells, expected->cells, sizeof read->cells) == 0;
        uint8_t a[kMarksBytesMax], b[kMarksBytesMax];
        const int32_t na = PackMarks(read, a, kMarksBytesMax);
        const int32_t nb = PackMarks(expected, b, kMarksBytesMax);
        marksOk = marksOk || (na == nb && std::memcmp(a, b, static_cast<size_t>(na)) == 0);
    }
    corrupt = corrupt || !cellsOk || !marksOk;
    ReleaseBoard(read);
    std::free(read);
    ReleaseBoard(expected);
    std::free(expected);

    char marker[kPathMax], cells[kPathMax];
    BuildStateFilePath(kPlayerDataRoot, {kClass, kGrid, kPuzzle}, SolvedMarker, marker);
    BuildStateFilePath(kPlayerDataRoot, {kClass, kGrid, kPuzzle}, CellsFile, cells);
    const bool hasMarker = s3eFileCheckExists(marker);
    const bool hasCells = s3eFileCheckExists(cells);
    corrupt = corrupt || (hasMarker != MarkerAfter(finished) && hasMarker != MarkerAfter(started));

    // Settings: both values of one generation.
    ReadSettings();
    bool settingsOk = false;
    for (int64_t g : candidates) {
        settingsOk =
            settingsOk || (g >= 0 && color_schema == SchemaOf(g) && rate_redirected == RatedOf(g));
    }
    corrupt = corrupt || !settingsOk;

    // Points: the count before or after the generation under way, and a solve
    // that made its marker but died before the points file is a lost point.
    ReadPoints();
    const int32_t before = progress.pointsBefore, after = progress.pointsAfter;
    if (points != before && points != after) corrupt = true;
    if (after != before && points == before && hasMarker && !MarkerAfter(finished))
        ++tally.lostPoints;

    // The puzzle list sees exactly the marker and the cells file.
    PuzzleEntry entries[1] = {};
    ReadPuzzleStatuses(kPlayerDataRoot, kClass, kGrid, entries, 1);
    const int32_t status = hasMarker ? Solved : hasCells ? InProgress : NotStarted;
    if (entries[0].status != status ||
        CountSolvedPuzzles(kPlayerDataRoot, kClass, kGrid) != (hasMarker ? 1 : 0)) {
        ++tally.listingWrong;
    }
    for (const auto& entry : fs::directory_iterator(stateDir)) {
        if (entry.path().extension() == ".tmp") ++tally.leftovers;
    }
    if (fs::exists(fs::path(stateDir).parent_path().parent_path() / "conf" / "conf.cfg.tmp"))
        ++tally.leftovers;
    if (fs::exists(fs::path(stateDir).parent_path().parent_path() / "conf" / "points.pts.tmp"))
        ++tally.leftovers;

    ++tally.trials;
    if (started != finished) ++tally.midSave;
    if (corrupt) {
        ++tally.corrupt;
        std::fprintf(stderr, "corrupt outcome after generation %lld (started %lld)\n",
                     static_cast<long long>(finished), static_cast<long long>(started));
    }
}

}  // namespace

int main(int argc, char** argv) {
    int trials = 1000;
    uint64_t seed = 1;
    std::string parent = fs::temp_directory_path().string();
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--trials"))
            trials = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--seed"))
            seed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--dir"))
            parent = argv[i + 1];
    }
    if (argc % 2 == 0 || trials <= 0) {
        std::fprintf(stderr, "Usage: kill-save-bench [--trials N] [--seed S] [--dir FOLDER]\n");
        return 2;
    }

    std::string root = parent + "/nonogram-kill-XXXXXX";
    if (!mkdtemp(root.data())) {
        std::perror("mkdtemp");
        return 2;
    }
    host::HostSetup setup;
    setup.dataDir = root + "/data";
    setup.documentsDir = root + "/documents";
    setup.hooks.log = [](const char*, const char*) {};
    if (!WritePuzzleFile(setup.dataDir) || !host::ConfigureHost(setup)) {
        std::fprintf(stderr, "cannot set up the bench folders in %s\n", root.c_str());
        return 2;
    }
    host::ServiceRegistry registry;
    host::RegisterServices(registry);
    platform::BindHostServices(&registry.Descriptor());
    PrepareStorage();
    GridSizeInfo grid{};
    char stateDir[kPathMax];
    GetGridSizeInfo(kClass, kGrid, &grid);
    BuildStateDirPath(kPlayerDataRoot, grid.dirCode, stateDir);
    EnsureDirectory(stateDir);

    auto* progress = static_cast<Progress*>(
        mmap(nullptr, sizeof(Progress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    new (progress) Progress{};
    progress->started = -1;
    progress->finished = -1;

    // How long a generation takes here sets the range of the kill moments.
    auto time = [&](int64_t from, int gens) {
        progress->started = from - 1;
        progress->finished = from - 1;
        const pid_t pid = fork();
        if (pid == 0) Play(progress, from);
        const auto t0 = std::chrono::steady_clock::now();
        while (progress->finished < from + gens - 1)
            std::this_thread::yield();
        const auto t1 = std::chrono::steady_clock::now();
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return std::chrono::duration<double, std::micro>(t1 - t0).count() / gens;
    };
    const double generationUs = time(0, 8);
    // Start from a clean, finished state after the calibration.
    progress->started = progress->finished.load();

    std::mt19937_64 random(seed);
    Tally tally;
    const std::string stateFolder = setup.documentsDir + (stateDir + std::strlen(kPlayerDataRoot));
    for (int t = 0; t < trials; ++t) {
        const int64_t next = progress->finished + 1;
        const pid_t pid = fork();
        if (pid == 0) Play(progress, next);
        // Kill somewhere within the next three generations, once the child is saving.
        while (progress->started < next)
            std::this_thread::yield();
        std::uniform_real_distribution<double> delay(0.0, 3.0 * generationUs);
        const auto until = std::chrono::steady_clock::now() +
                           std::chrono::duration<double, std::micro>(delay(random));
        while (std::chrono::steady_clock::now() < until) {
        }
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFSIGNALED(status)) {
            std::fprintf(stderr, "the saving child ended by itself (status %d)\n", status);
            return 2;
        }
        Judge(*progress, stateFolder, tally);
    }

    std::printf("generation_us %.0f\n", generationUs);
    std::printf("trials %d\n", tally.trials);
    std::printf("killed_mid_save %d\n", tally.midSave);
    std::printf("corrupt %d\n", tally.corrupt);
    std::printf("lost_points %d\n", tally.lostPoints);
    std::printf("leftover_temporary_files %d\n", tally.leftovers);
    std::printf("listing_wrong %d\n", tally.listingWrong);
    std::error_code ec;
    fs::remove_all(root, ec);
    return tally.corrupt == 0 && tally.listingWrong == 0 ? 0 : 1;
}
