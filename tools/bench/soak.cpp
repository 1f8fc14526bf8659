// soak: a monkey for the whole game. The game runs in this process on SDL's
// offscreen driver, as in the headless host; at every yield the driver applies
// one pass of a seeded random stream of events (taps, drags, pinches, back and
// other keys, dialog answers, resizes, waits) and then checks the invariants
// below against the App and the player's folder. A game that ends (the quit
// dialog was confirmed) is started again on the same folder.
//
// Invariants, after every pass:
//   - every cell code of the open board is 0, 1 or 2;
//   - the board's viewRect covers its fitRect and its cell size never drops below
//     the fitted one;
//   - a list's scroll offset lies within [0, maxScroll];
// and whenever the player's folder changed:
//   - points equals the solved markers in the player's folder plus those "Clear
//     all?" deleted (the point earned stays; solving that puzzle again earns one);
//   - no file but a puzzle's cells, marks and solved marker under "black";
//   - every cells and marks file is taken whole by the game's reader;
//   - the settings file reads back to the values the game holds, the points file
//     to its points;
// and at the end: nothing but the player's folder appeared in the run's folder,
// nothing in the game data changed.
//
// Usage: soak [--events N] [--seconds T] [--seed S] [--data DIR]
// (--seconds: stop early after T seconds, for the short run among the tests)
// Prints: events=N passes=P restarts=R seconds=T events_per_s=E findings=F, and one
// "finding ..." line per broken invariant (the first 20). Exit status 1 with findings.
#include <GLES2/gl2.h>
#include <SDL.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "board/board.h"
#include "hosts/common/extensions.h"
#include "hosts/common/host.h"
#include "hosts/common/options.h"
#include "hosts/common/script.h"
#include "platform/binding.h"
#include "puzzles/board_state.h"
#include "puzzles/catalogue.h"
#include "puzzles/puzzle_file.h"
#include "services/dialogs.h"
#include "storage/decimal.h"
#include "storage/settings.h"
#include "tools/forge/solver.h"
#include "ui/board_screen.h"
#include "ui/board_view.h"
#include "ui/list_screens.h"
#include "ui/main_menu.h"
#include "ui/puzzle_list.h"
#include "ui/size_list.h"

namespace {

namespace fs = std::filesystem;

struct Soak {
    int64_t eventBudget = 100000;
    double secondBudget = 0;  // when > 0, the run also stops after this many seconds
    std::chrono::steady_clock::time_point start;
    uint32_t seed = 1;
    std::mt19937 rng;
    std::string dataDir, rootDir, documentsDir;

    int64_t events = 0, passes = 0, restarts = 0;
    int64_t findings = 0;
    int64_t screenPasses[5] = {};  // passes spent on each ScreenId
    int64_t answers = 0, maxStateFiles = 0;
    std::string lastEvent;
    host::ScriptPlayer* player = nullptr;
    bool documentsChanged = true;
    uint64_t clockMs = 0;
    int32_t width = 480, height = 800;
    GLuint framebuffer = 0, target = 0;

    // Solutions of the puzzles opened so far (empty when the solver could not finish).
    std::map<int64_t, std::vector<uint8_t>> solutions;

    // Solved markers seen at the last check, and how many "Clear all?" took away
    // since: a point stays with the player, and solving that puzzle again earns one more.
    std::set<std::string> markers;
    int64_t clearedMarkers = 0;
    // Each state file's bytes as last checked: only changed ones go through the reader again.
    std::map<std::string, std::string> checked;

    // State file path (relative to the run's folder) -> the puzzle it belongs to.
    std::map<std::string, PuzzleAddress> stateFiles;
};

Soak s;

void Finding(const std::string& what) {
    ++s.findings;
    if (s.findings <= 20)
        std::printf("finding seed=%u event=%lld after \"%s\": %s\n", s.seed,
                    static_cast<long long>(s.events), s.lastEvent.c_str(), what.c_str());
}

int32_t Rand(int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(s.rng);
}

// ---------------------------------------------------------------------------
// The event stream, written as script lines so the headless host's player
// turns each event into the passes it takes.

struct Point {
    int32_t x, y;
};

Point InRect(const ScreenRect& r) {
    if (r.w <= 0 || r.h <= 0) return {Rand(0, s.width), Rand(0, s.height)};
    return {r.x + Rand(0, r.w - 1), r.y + Rand(0, r.h - 1)};
}

// A point worth touching on the current screen, or anywhere.
Point Target() {
    if (!g_app || Rand(0, 3) == 0) return {Rand(-10, s.width + 10), Rand(-10, s.height + 10)};
    if (g_app->screen == kScreenMainMenu) {
        const MainMenuScreen* m = g_app->mainMenu;
        const int32_t pick = Rand(0, m->sizeClassCount + 2);
        if (pick < m->sizeClassCount) return InRect(m->sizeClassTiles[pick].rect);
        if (pick == m->sizeClassCount) return InRect(m->themesSign);
        return InRect(m->helpSign);
    }
    if (g_app->screen == kScreenSizeList) {
        const SizeListScreen* l = g_app->sizeList;
        if (l->layout.count > 0 && Rand(0, 4) > 0) {
            ScreenRect r = l->layout.entries[Rand(0, l->layout.count - 1)];
            r.y -= l->layout.scroll.scrollOffset;
            return InRect(r);
        }
        return InRect(l->layout.footer.backButton);
    }
    if (g_app->screen == kScreenPuzzleList) {
        const PuzzleListScreen* l = g_app->puzzleList;
        if (l->layout.count > 0 && Rand(0, 4) > 0) {
            ScreenRect r = l->layout.entries[Rand(0, l->layout.count - 1)];
            r.y -= l->layout.scroll.scrollOffset;
            return InRect(r);
        }
        return InRect(l->layout.footer.backButton);
    }
    if (g_app->screen == kScreenBoard) {
        const BoardScreen* b = g_app->board;
        const ScreenRect buttons[] = {
            b->layout.buttons[kButtonBack],   b->layout.buttons[kButtonUndo],
            b->layout.buttons[kButtonDraw],   b->layout.buttons[kButtonErase],
            b->layout.buttons[kButtonCross],  b->layout.buttons[kButtonClearAll],
            b->layout.buttons[kButtonLegend], b->layout.buttons[kButtonMoveScale]};
        // Mostly the board itself, where play happens.
        if (Rand(0, 9) < 7) return InRect(b->viewRect);
        // The back button less often: leaving the board ends its play.
        const int32_t pick = Rand(0, 7);
        if (pick == 0 && Rand(0, 2) > 0) return InRect(b->viewRect);
        return InRect(buttons[pick]);
    }
    return {Rand(0, s.width), Rand(0, s.height)};
}

// The open puzzle's solution, worked out once from its clues.
const std::vector<uint8_t>& Solution(const BoardScreen* screen) {
    const PuzzleAddress a = screen->progress.address;
    const int64_t key = (int64_t{a.sizeClass} << 40) | (int64_t{a.gridIndex} << 20) | a.puzzleIndex;
    auto known = s.solutions.find(key);
    if (known != s.solutions.end()) return known->second;
    const Board* board = screen->progress.board;
    forge::Clues clues;
    clues.rows = board->rows;
    clues.cols = board->cols;
    auto line = [](const ClueLine& l) {
        std::vector<int> runs;
        for (int32_t i = 0; i < l.count; ++i)
            if (ClueValue(l.values[i]) > 0) runs.push_back(ClueValue(l.values[i]));
        return runs;
    };
    for (int32_t r = 0; r < board->rows; ++r)
        clues.rowClues.push_back(line(board->rowClues[r]));
    for (int32_t c = 0; c < board->cols; ++c)
        clues.colClues.push_back(line(board->colClues[c]));
    forge::GridSolver solver(clues);
    std::vector<uint8_t> solution;
    if (solver.SolveWithProbing() == forge::Progress::Solved) solution = solver.Grid();
    return s.solutions[key] = solution;
}

// On the board: a step towards the solution, as a player who knows it would
// take: choose the tool, then tap up to five cells that are still wrong.
bool SolveStep(std::ostream& o) {
    const BoardScreen* b = g_app->board;
    const Board* board = b->progress.board;
    if (!board || board->solved) return false;
    const std::vector<uint8_t>& solution = Solution(b);
    if (solution.empty()) return false;
    if (b->moveScaleMode) {
        const Point p = InRect(b->layout.buttons[kButtonMoveScale]);
        o << "tap " << p.x << " " << p.y;
        return true;
    }
    int32_t taps = 0;
    const float cs = b->cellSize;
    for (int32_t r = 0; r < board->rows && taps < 5; ++r) {
        for (int32_t c = 0; c < board->cols && taps < 5; ++c) {
            const uint8_t cell = board->cells[r * kBoardMaxSide + c];
            const bool wantFilled =
                solution[static_cast<size_t>(r) * board->cols + c] == forge::kFilled;
            if (wantFilled == (cell == CellFilled)) continue;
            // Filling needs Drawing; a wrong fill goes with Erase.
            const uint8_t tool = wantFilled ? CellFilled : CellEmpty;
            const int32_t x =
                b->viewRect.x + static_cast<int32_t>((board->maxRowClues + c + 0.5f) * cs);
            const int32_t y =
                b->viewRect.y + static_cast<int32_t>((board->maxColClues + r + 0.5f) * cs);
            int32_t hr = -1, hc = -1;
            if (x < 0 || y < 0 || x >= s.width || y >= s.height || InToolbarStrip(b, x, y) ||
                !CellAt(b, x, y, &hr, &hc) || hr != r || hc != c)
                continue;
            if (b->activeTool != tool) {
                if (taps > 0) return true;
                const Point p = InRect(wantFilled ? b->layout.buttons[kButtonDraw]
                                                  : b->layout.buttons[kButtonErase]);
                o << "tap " << p.x << " " << p.y;
                return true;
            }
            o << (taps ? "\n" : "") << "tap " << x << " " << y;
            ++taps;
        }
    }
    if (taps == 0) {
        // Every wrong cell is out of sight: back to the fitted board.
        o << "resize " << s.width << " " << s.height;
    }
    return true;
}

std::string NextEvent() {
    std::ostringstream o;
    if (host::OpenDialogCount() > 0 && Rand(0, 9) < 8) {
        const host::DialogBox* box = host::OpenDialog();
        const int32_t buttons = static_cast<int32_t>(box->buttons.size());
        int32_t button = Rand(0, std::max(buttons, 1) - 1);
        // Confirming "Quit?" ends the game; now and then it may.
        if (box->id == kDialogQuit && button == 0 && Rand(0, 49) > 0) button = 1;
        ++s.answers;
        o << "answer " << button;
        return o.str();
    }
    if (g_app && g_app->screen == kScreenBoard && Rand(0, 2) == 0 && SolveStep(o)) return o.str();
    const int32_t kind = Rand(0, 99);
    if (kind < 45) {
        const Point p = Target();
        o << "tap " << p.x << " " << p.y;
    } else if (kind < 65) {
        const Point a = Target();
        const Point b = Rand(0, 1) ? Target() : Point{a.x + Rand(-300, 300), a.y + Rand(-300, 300)};
        o << "drag " << a.x << " " << a.y << " " << b.x << " " << b.y << " " << Rand(1, 12);
    } else if (kind < 75) {
        const Point a0 = Target(), a1 = Target();
        const int32_t cx = (a0.x + a1.x) / 2, cy = (a0.y + a1.y) / 2;
        const int32_t scale = Rand(0, 1) ? 3 : -1;  // apart or together
        auto out = [&](int32_t v, int32_t c) {
            return c + (v - c) * (scale > 0 ? 2 : 1) / (scale > 0 ? 1 : 3);
        };
        o << "pinch " << a0.x << " " << a0.y << " " << a1.x << " " << a1.y << " " << out(a0.x, cx)
          << " " << out(a0.y, cy) << " " << out(a1.x, cx) << " " << out(a1.y, cy) << " "
          << Rand(1, 10);
    } else if (kind < 82) {
        static const char* const kKeys[] = {"back",   "escape", "backspace",
                                            "delete", "ctrl+z", "f1"};
        o << "key " << kKeys[Rand(0, 5)];
    } else if (kind < 88) {
        // Portrait, landscape, small and large surfaces.
        static const int32_t kSizes[][2] = {{480, 800},  {800, 480}, {320, 480},  {1024, 768},
                                            {768, 1024}, {240, 320}, {1280, 720}, {360, 640}};
        const int32_t pick = Rand(0, 8);
        if (pick < 8)
            o << "resize " << kSizes[pick][0] << " " << kSizes[pick][1];
        else
            o << "resize " << Rand(100, 1400) << " " << Rand(100, 1400);
    } else if (kind < 94) {
        o << "wait " << Rand(1, 3000);
    } else {
        // A press held over several passes, with a second finger now and then.
        const Point a = Target(), b = Target();
        o << "press " << a.x << " " << a.y << "\n";
        if (Rand(0, 1)) o << "finger down 1 " << b.x << " " << b.y << "\nfinger up 1 0 0\n";
        o << "move " << b.x << " " << b.y << "\nrelease " << b.x << " " << b.y;
    }
    return o.str();
}

// ---------------------------------------------------------------------------
// Invariants

void CheckApp() {
    if (!g_app) return;
    if (g_app->screen == kScreenBoard) {
        const BoardScreen* b = g_app->board;
        const Board* board = b->progress.board;
        if (!board) {
            Finding("the board screen is current without an open puzzle");
            return;
        }
        for (int32_t r = 0; r < board->rows; ++r)
            for (int32_t c = 0; c < board->cols; ++c)
                if (board->cells[r * kBoardMaxSide + c] > CellCross)
                    Finding("cell " + std::to_string(r) + "," + std::to_string(c) + " holds code " +
                            std::to_string(board->cells[r * kBoardMaxSide + c]));
        const ScreenRect& v = b->viewRect;
        const ScreenRect& f = b->layout.fitRect;
        if (f.w > 0 && f.h > 0) {
            if (v.x > f.x || v.y > f.y || v.x + v.w < f.x + f.w || v.y + v.h < f.y + f.h) {
                std::ostringstream w;
                w << "viewRect " << v.x << "," << v.y << " " << v.w << "x" << v.h
                  << " does not cover fitRect " << f.x << "," << f.y << " " << f.w << "x" << f.h
                  << " on " << s.width << "x" << s.height;
                Finding(w.str());
            }
            if (b->cellSize + 0.001f < static_cast<float>(b->layout.fitCellSize))
                Finding("cell size " + std::to_string(b->cellSize) + " below the fitted " +
                        std::to_string(b->layout.fitCellSize));
        }
    } else if (g_app->screen == kScreenSizeList) {
        const SizeListScreen* l = g_app->sizeList;
        if (l->layout.scroll.scrollOffset < 0 ||
            l->layout.scroll.scrollOffset > l->layout.scroll.maxScroll)
            Finding("size list scroll " + std::to_string(l->layout.scroll.scrollOffset) +
                    " outside [0, " + std::to_string(l->layout.scroll.maxScroll) + "]");
    } else if (g_app->screen == kScreenPuzzleList) {
        const PuzzleListScreen* l = g_app->puzzleList;
        if (l->layout.scroll.scrollOffset < 0 ||
            l->layout.scroll.scrollOffset > l->layout.scroll.maxScroll)
            Finding("puzzle list scroll " + std::to_string(l->layout.scroll.scrollOffset) +
                    " outside [0, " + std::to_string(l->layout.scroll.maxScroll) + "]");
    }
}

std::string ReadWhole(const fs::path& path, bool* ok) {
    std::ifstream in(path, std::ios::binary);
    *ok = static_cast<bool>(in);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every state file, the settings and the points file against the game's readers.
void CheckFiles() {
    std::set<std::string> markers;
    int64_t files = 0;
    std::error_code ec;
    const fs::path black = fs::path(s.documentsDir) / "black";
    for (auto it = fs::recursive_directory_iterator(black, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file()) continue;
        const std::string rel = "Documents/" + fs::relative(it->path(), s.documentsDir).string();
        const std::string ext = it->path().extension().string();
        auto known = s.stateFiles.find(rel);
        if (known == s.stateFiles.end()) {
            // Temporary files of a replace in progress never outlive it.
            Finding("unexpected file " + rel);
            continue;
        }
        ++files;
        if (ext == ".rsv") {
            markers.insert(rel);
            continue;
        }
        bool readable = false;
        const std::string stamp = ReadWhole(it->path(), &readable);
        std::string& last = s.checked[rel];
        if (last == stamp) continue;
        last = stamp;
        const PuzzleAddress a = known->second;
        Board* board = static_cast<Board*>(std::calloc(1, sizeof(Board)));
        if (LoadPuzzle(a, board)) {
            ResetBoard(board);
            if (!ReadBoardState(kPlayerDataRoot, a, board))
                Finding("the reader does not take the state of " + rel + " whole");
            ReleaseBoard(board);
        } else {
            Finding("puzzle of " + rel + " cannot be loaded");
        }
        std::free(board);
    }
    s.maxStateFiles = std::max<int64_t>(s.maxStateFiles, files);
    for (const std::string& m : s.markers)
        if (!markers.count(m)) ++s.clearedMarkers;
    s.markers = markers;
    const int64_t earned = static_cast<int64_t>(markers.size()) + s.clearedMarkers;
    if (points != earned)
        Finding("points " + std::to_string(points) + " but " + std::to_string(markers.size()) +
                " solved markers and " + std::to_string(s.clearedMarkers) + " cleared");

    bool ok = false;
    const std::string pointsText = ReadWhole(fs::path(s.documentsDir) / "conf/points.pts", &ok);
    if (ok) {
        std::string last;
        std::istringstream lines(pointsText);
        for (std::string line; std::getline(lines, line);)
            if (!line.empty()) last = line;
        if (ParseDecimal(last.c_str()) != points)
            Finding("the points file says " + last + " but the game holds " +
                    std::to_string(points));
    } else if (points != 0) {
        Finding("no points file with " + std::to_string(points) + " points");
    }
    if (fs::exists(fs::path(s.documentsDir) / "conf/conf.cfg")) {
        const uint8_t schema = color_schema, rated = rate_redirected;
        if (!ReadSettings()) Finding("the settings file cannot be read");
        if (color_schema != schema || rate_redirected != rated)
            Finding("the settings file holds another theme or rate flag than the game");
        color_schema = schema;
        rate_redirected = rated;
    }
}

// Names, sizes and times of every file under dir.
std::map<std::string, std::string> Snapshot(const fs::path& dir) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(
             dir, fs::directory_options::follow_directory_symlink, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code e2;
        const auto size = it->is_regular_file(e2) ? it->file_size(e2) : 0;
        const auto time = fs::last_write_time(it->path(), e2).time_since_epoch().count();
        files[it->path().string()] = std::to_string(size) + "@" + std::to_string(time);
    }
    return files;
}

// Every puzzle's state file paths, so the files found can be told apart.
void IndexStateFiles() {
    char path[1024];
    for (int32_t c = 0; c < GetSizeClassCount(); ++c) {
        for (int32_t g = 0; g < GetGridSizeCount(c); ++g) {
            GridSizeInfo info{};
            if (!GetGridSizeInfo(c, g, &info)) continue;
            for (int32_t i = 0; i < info.puzzleCount; ++i)
                for (int32_t k = CellsFile; k <= SolvedMarker; ++k)
                    if (BuildStateFilePath(kPlayerDataRoot, {c, g, i},
                                           static_cast<StateFileKind>(k), path))
                        s.stateFiles[path] = PuzzleAddress{c, g, i};
        }
    }
}

// ---------------------------------------------------------------------------
// Host hooks

void Yield(int32_t) {
    host::RunDeferredCallbacks();
    ++s.passes;
    if (s.stateFiles.empty()) IndexStateFiles();
    if (g_app && g_app->screen >= kScreenMainMenu && g_app->screen <= kScreenBoard)
        ++s.screenPasses[g_app->screen];
    CheckApp();
    if (s.documentsChanged) {
        s.documentsChanged = false;
        CheckFiles();
    }
    if (s.player && s.player->Step()) return;
    if (s.player && s.player->Failed()) Finding("script: " + s.player->Error());
    if (s.secondBudget > 0 && (s.events & 63) == 0 &&
        std::chrono::duration<double>(std::chrono::steady_clock::now() - s.start).count() >
            s.secondBudget)
        s.eventBudget = s.events;
    if (s.events >= s.eventBudget) {
        host::RequestQuit();
        return;
    }
    const std::string event = NextEvent();
    host::Script script;
    std::string error;
    if (!host::ParseScript(event, "soak", &script, &error)) {
        Finding("the driver wrote a bad event: " + error);
        host::RequestQuit();
        return;
    }
    ++s.events;
    if (s.events % 10000 == 0)
        std::printf("progress events=%lld findings=%lld\n", static_cast<long long>(s.events),
                    static_cast<long long>(s.findings));
    s.lastEvent = event;
    for (char& ch : s.lastEvent)
        if (ch == '\n') ch = ';';
    host::ScriptEffects effects;
    effects.resize = [](int32_t w, int32_t h, std::string* why) {
        const GLsizei tw = std::max(w, 1), th = std::max(h, 1);
        glBindTexture(GL_TEXTURE_2D, s.target);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
        s.width = w;
        s.height = h;
        return true;
    };
    effects.shot = [](const std::string&, std::string* why) {
        *why = "no shots";
        return false;
    };
    effects.wait = [](uint32_t ms) { s.clockMs += ms; };
    delete s.player;
    s.player = new host::ScriptPlayer(std::move(script), effects);
    if (!s.player->Step() && s.player->Failed()) Finding("script: " + s.player->Error());
}

void LogLine(const char* kind, const char* text) {
    // Warnings are the game telling about trouble it handled; nothing to check.
}

bool MakeContext() {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    // SDL would turn SIGINT and SIGTERM into a quit event that nothing reads here.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_Window* window =
        SDL_CreateWindow("soak", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context || SDL_GL_MakeCurrent(window, context) != 0) return false;
    glGenFramebuffers(1, &s.framebuffer);
    glGenTextures(1, &s.target);
    glBindTexture(GL_TEXTURE_2D, s.target);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, s.width, s.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, s.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, s.target, 0);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// One run of the game from start-up to its end.
bool RunGame() {
    host::HostSetup setup;
    setup.dataDir = s.dataDir;
    setup.documentsDir = s.documentsDir;
    setup.hooks.yield = &Yield;
    setup.hooks.timerMs = []() -> uint64_t { return s.clockMs; };
    setup.hooks.timerUtc = []() -> uint64_t { return 1700000000000ull + s.clockMs; };
    setup.hooks.log = &LogLine;
    setup.hooks.documentsChanged = [] { s.documentsChanged = true; };
    if (!host::ConfigureHost(setup)) return false;
    host::SetSurfaceSize(s.width, s.height);
    host::ExtensionSetup ext;
    ext.adMob = ext.chartBoost = true;
    ext.onDialog = [](const host::DialogBox&) {};
    ext.onLink = [](const std::string&) { return true; };
    ext.onAd = [](const std::string&) {};
    host::InstallExtensions(ext);
    host::ServiceRegistry registry;
    host::RegisterServices(registry);
    if (const char* warning = IwAppEntry(&registry.Descriptor())) {
        std::fprintf(stderr, "soak: %s\n", warning);
        return false;
    }
    IwAppEntry(nullptr);
    s.documentsChanged = true;
    CheckFiles();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i], v = argv[i + 1];
        if (a == "--events") {
            s.eventBudget = std::atoll(v.c_str());
        } else if (a == "--seed") {
            s.seed = static_cast<uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
        } else if (a == "--seconds") {
            s.secondBudget = std::atof(v.c_str());
        } else if (a == "--data") {
            s.dataDir = v;
        } else {
            std::fprintf(stderr,
                         "Usage: soak [--events N] [--seconds T] [--seed S] [--data DIR]\n");
            return 2;
        }
    }
    if (argc % 2 == 0) {
        std::fprintf(stderr, "Usage: soak [--events N] [--seconds T] [--seed S] [--data DIR]\n");
        return 2;
    }
    setvbuf(stdout, nullptr, _IOLBF, 0);
    s.rng.seed(s.seed);
    if (s.dataDir.empty()) s.dataDir = host::ExecutableDir() + "/../data";
    std::string tmpl = (fs::temp_directory_path() / "nonogram-soak-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) return 1;
    s.rootDir = tmpl;
    s.documentsDir = s.rootDir + "/player";
    // Relative paths a faulty service might take land in the run's folder.
    fs::current_path(s.rootDir);
    if (!MakeContext()) {
        std::fprintf(stderr, "soak: cannot make a GL ES 2.0 context: %s\n", SDL_GetError());
        return 1;
    }
    const auto dataBefore = Snapshot(s.dataDir);

    const auto t0 = s.start = std::chrono::steady_clock::now();
    while (s.events < s.eventBudget) {
        if (!RunGame()) {
            std::fprintf(stderr, "soak: the game could not be started\n");
            return 1;
        }
        if (s.events < s.eventBudget) ++s.restarts;
        if (s.restarts > s.eventBudget) break;
    }
    delete s.player;
    s.player = nullptr;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();

    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(s.rootDir, ec))
        if (entry.path().filename() != "player")
            Finding("file written outside the player's folder: " + entry.path().string());
    if (Snapshot(s.dataDir) != dataBefore) Finding("the game data changed");
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(s.rootDir, ec);

    std::printf(
        "events=%lld passes=%lld restarts=%lld seconds=%.1f events_per_s=%.0f findings=%lld\n",
        static_cast<long long>(s.events), static_cast<long long>(s.passes),
        static_cast<long long>(s.restarts), seconds, s.events / seconds,
        static_cast<long long>(s.findings));
    std::printf(
        "passes_on main=%lld sizes=%lld puzzles=%lld board=%lld dialog_answers=%lld "
        "most_state_files=%lld points=%d\n",
        static_cast<long long>(s.screenPasses[kScreenMainMenu]),
        static_cast<long long>(s.screenPasses[kScreenSizeList]),
        static_cast<long long>(s.screenPasses[kScreenPuzzleList]),
        static_cast<long long>(s.screenPasses[kScreenBoard]), static_cast<long long>(s.answers),
        static_cast<long long>(s.maxStateFiles), points);
    return s.findings ? 1 : 0;
}
