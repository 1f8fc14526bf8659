// frame_bench: draw calls and the game's own processor time per frame, for the
// board of the catalogue's largest puzzle (fitted, in progress, zoomed in), the
// main menu and the longest puzzle list, on Mesa's software renderer without a
// display.
//
// The game's time runs from the start of a frame to its hand-off to GL: the
// time spent inside GL's draw, clear, flush and finish calls (where the
// software renderer does its work) is measured by wrappers around those calls
// and taken off; it is printed beside, as "gl".
//
// Usage: frame_bench [--size WxH] [--frames N] [--data DIR]
// Prints one line per scene:
//   scene NAME drawcalls=D game_us_median=M game_us_mean=A gl_us_median=G
#include <GLES2/gl2.h>
#include <SDL.h>
#include <dlfcn.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "board/board.h"
#include "draw2d/iw2d.h"
#include "hosts/common/host.h"
#include "hosts/common/options.h"
#include "platform/binding.h"
#include "puzzles/board_state.h"
#include "puzzles/catalogue.h"
#include "puzzles/puzzle_file.h"
#include "services/device.h"
#include "text/sdf_font.h"
#include "ui/board_screen.h"
#include "ui/look.h"

namespace {

using Clock = std::chrono::steady_clock;

double glSeconds = 0.0;  // time inside the wrapped GL calls since the last reset

template <typename F>
F Real(const char* name) {
    static_assert(sizeof(F) == sizeof(void*), "function pointer");
    void* p = dlsym(RTLD_NEXT, name);
    if (!p) {
        std::fprintf(stderr, "frame_bench: no %s in the GL library\n", name);
        std::exit(1);
    }
    F f;
    std::memcpy(&f, &p, sizeof f);
    return f;
}

// Times one call of a real GL function.
template <typename F, typename... Args>
void Timed(F f, Args... args) {
    const auto t0 = Clock::now();
    f(args...);
    glSeconds += std::chrono::duration<double>(Clock::now() - t0).count();
}

}  // namespace

// The engine's calls land here: the bench's own definitions come before the
// GL library's.
extern "C" {
GL_APICALL void GL_APIENTRY glDrawElements(GLenum mode, GLsizei count, GLenum type,
                                           const void* indices) {
    static auto f = Real<void (*)(GLenum, GLsizei, GLenum, const void*)>("glDrawElements");
    Timed(f, mode, count, type, indices);
}
GL_APICALL void GL_APIENTRY glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    static auto f = Real<void (*)(GLenum, GLint, GLsizei)>("glDrawArrays");
    Timed(f, mode, first, count);
}
GL_APICALL void GL_APIENTRY glClear(GLbitfield mask) {
    static auto f = Real<void (*)(GLbitfield)>("glClear");
    Timed(f, mask);
}
GL_APICALL void GL_APIENTRY glFlush() {
    static auto f = Real<void (*)()>("glFlush");
    Timed(f);
}
GL_APICALL void GL_APIENTRY glFinish() {
    static auto f = Real<void (*)()>("glFinish");
    Timed(f);
}
}

namespace {

struct Sample {
    double gameUs;
    double glUs;
};

void OnShow(int32_t) {
    // The frame's GL work ends here, inside the measured frame, and is taken off.
    glFinish();
}

// The largest puzzle (most cells, then most clues), and the grid size with
// the most puzzles.
void FindLargest(PuzzleAddress* puzzle, PuzzleAddress* list, int64_t* clueCount) {
    int32_t mostPuzzles = -1;
    int64_t mostCells = -1;
    *clueCount = -1;
    Board* board = static_cast<Board*>(std::calloc(1, sizeof(Board)));
    for (int32_t c = 0; c < GetSizeClassCount(); ++c) {
        for (int32_t g = 0; g < GetGridSizeCount(c); ++g) {
            GridSizeInfo info{};
            if (!GetGridSizeInfo(c, g, &info)) continue;
            if (info.puzzleCount > mostPuzzles) {
                mostPuzzles = info.puzzleCount;
                *list = PuzzleAddress{c, g, 0};
            }
            for (int32_t i = 0; i < info.puzzleCount; ++i) {
                std::memset(board, 0, sizeof(Board));
                if (!LoadPuzzle({c, g, i}, board)) continue;
                int64_t clues = 0;
                for (int32_t r = 0; r < board->rows; ++r)
                    clues += board->rowClues[r].count;
                for (int32_t k = 0; k < board->cols; ++k)
                    clues += board->colClues[k].count;
                const int64_t cells = static_cast<int64_t>(board->rows) * board->cols;
                if (cells > mostCells || (cells == mostCells && clues > *clueCount)) {
                    mostCells = cells;
                    *clueCount = clues;
                    *puzzle = PuzzleAddress{c, g, i};
                }
                ReleaseBoard(board);
            }
        }
    }
    std::free(board);
}

// A board in the middle of play: a fifth of the cells filled, a fifth crossed,
// every third clue struck out.
void SeedProgress(Board* b) {
    for (int32_t r = 0; r < b->rows; ++r) {
        for (int32_t c = 0; c < b->cols; ++c) {
            const int32_t v = (r * 7 + c * 3) % 5;
            b->cells[r * kBoardMaxSide + c] = v == 0 ? CellFilled : v == 1 ? CellCross : CellEmpty;
        }
    }
    int32_t n = 0;
    auto mark = [&](ClueLine& line) {
        for (int32_t k = 0; k < line.count; ++k) {
            if (n++ % 3 == 0 && line.values[k] < ClueMarkOffset) line.values[k] += ClueMarkOffset;
        }
    };
    for (int32_t r = 0; r < b->rows; ++r)
        mark(b->rowClues[r]);
    for (int32_t c = 0; c < b->cols; ++c)
        mark(b->colClues[c]);
}

// The most a frame can hold: every other cell filled, the rest crossed, and
// every clue struck out.
void SeedWorst(Board* b) {
    for (int32_t r = 0; r < b->rows; ++r) {
        for (int32_t c = 0; c < b->cols; ++c)
            b->cells[r * kBoardMaxSide + c] = (r + c) % 2 ? CellFilled : CellCross;
    }
    auto mark = [](ClueLine& line) {
        for (int32_t k = 0; k < line.count; ++k) {
            if (line.values[k] < ClueMarkOffset) line.values[k] += ClueMarkOffset;
        }
    };
    for (int32_t r = 0; r < b->rows; ++r)
        mark(b->rowClues[r]);
    for (int32_t c = 0; c < b->cols; ++c)
        mark(b->colClues[c]);
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Measure(const char* name, int frames) {
    // Warm-up: scratch memory, textures and programs settle in the first frames.
    for (int i = 0; i < 5; ++i)
        g_app->RenderFrame();
    std::vector<double> game, gl;
    for (int i = 0; i < frames; ++i) {
        glSeconds = 0.0;
        const auto t0 = Clock::now();
        g_app->RenderFrame();
        const double total = std::chrono::duration<double>(Clock::now() - t0).count();
        game.push_back((total - glSeconds) * 1e6);
        gl.push_back(glSeconds * 1e6);
    }
    double mean = 0.0;
    for (double g : game)
        mean += g;
    mean /= game.empty() ? 1 : static_cast<double>(game.size());
    std::printf(
        "scene %-22s drawcalls=%-3d game_us_median=%-8.1f game_us_mean=%-8.1f "
        "gl_us_median=%.1f\n",
        name, IwGxGetLastFrameDrawCalls(), Median(game), mean, Median(gl));
}

}  // namespace

int main(int argc, char** argv) {
    int32_t width = 480, height = 800;
    int frames = 200;
    std::string dataDir = host::ExecutableDir() + "/../data";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i], v = argv[i + 1];
        if (a == "--size" && host::ParseSize(v, &width, &height)) continue;
        if (a == "--frames" && std::atoi(v.c_str()) > 0) {
            frames = std::atoi(v.c_str());
            continue;
        }
        if (a == "--data") {
            dataDir = v;
            continue;
        }
        std::fprintf(stderr, "usage: frame_bench [--size WxH] [--frames N] [--data DIR]\n");
        return 2;
    }

    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "frame_bench: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_Window* window = SDL_CreateWindow("frame_bench", 0, 0, width, height, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context || SDL_GL_MakeCurrent(window, context) != 0) {
        std::fprintf(stderr, "frame_bench: no GL ES 2.0 context: %s\n", SDL_GetError());
        return 1;
    }

    char storage[] = "/tmp/frame-bench-XXXXXX";
    if (!mkdtemp(storage)) return 1;
    host::HostSetup setup;
    setup.dataDir = dataDir;
    setup.documentsDir = storage;
    setup.hooks.show = &OnShow;
    if (!host::ConfigureHost(setup)) return 1;
    host::SetSurfaceSize(width, height);
    host::ServiceRegistry registry;
    host::RegisterServices(registry);
    platform::BindHostServices(&registry.Descriptor());

    // The game's start-up, as far as drawing needs it.
    InitDrawing();
    CreateTechniques();
    g_font = CreateFont();
    if (!LoadFont(g_font, "images/calibri_new.fnt")) {
        std::fprintf(stderr, "frame_bench: the font did not load from %s\n", dataDir.c_str());
        return 1;
    }
    g_font->byteText = 0;
    PrepareStorage();
    device = MakeDeviceFacts(0, host::kLanguageEnglish);
    ApplyColorSchema(kSchemaLight);
    g_app = CreateApp();

    PuzzleAddress largest{}, longest{};
    int64_t clues = 0;
    FindLargest(&largest, &longest, &clues);
    int32_t rows = 0, cols = 0;
    GetPuzzleSize(largest, &rows, &cols);
    GridSizeInfo listInfo{};
    GetGridSizeInfo(longest.sizeClass, longest.gridIndex, &listInfo);
    std::printf("surface %dx%d, %d frames a scene\n", width, height, frames);
    std::printf("largest puzzle %d/%d/%d: %dx%d, %lld clues; longest list %d/%d (%s): %d puzzles\n",
                largest.sizeClass, largest.gridIndex, largest.puzzleIndex, rows, cols,
                static_cast<long long>(clues), longest.sizeClass, longest.gridIndex, listInfo.label,
                listInfo.puzzleCount);

    Measure("main_menu", frames);

    SetPendingAction(kActionOpenPuzzleList, longest.sizeClass, longest.gridIndex);
    g_app->RunPendingAction();
    Measure("longest_puzzle_list", frames);

    SetPendingAction(kActionOpenBoard, largest.sizeClass, largest.gridIndex, largest.puzzleIndex);
    g_app->RunPendingAction();
    BoardScreen* screen = g_app->board;
    if (g_app->screen != kScreenBoard || !screen->progress.board) {
        std::fprintf(stderr, "frame_bench: the largest puzzle did not open\n");
        return 1;
    }
    Measure("board_fit_fresh", frames);
    SeedProgress(screen->progress.board);
    Measure("board_fit_in_progress", frames);
    // Zoomed in four times about the board's centre: both clue bands have left
    // the surface and are drawn pinned along its edges.
    const ScreenRect fit = screen->layout.fitRect;
    screen->viewRect =
        ScreenRect{fit.x - fit.w * 3 / 2, fit.y - fit.h * 3 / 2, fit.w * 4, fit.h * 4};
    Measure("board_zoom4_in_progress", frames);
    screen->legendShown = 1;
    Measure("board_zoom4_legend", frames);
    screen->viewRect = fit;
    SeedWorst(screen->progress.board);
    Measure("board_fit_worst_legend", frames);

    // Nothing is saved: the storage is thrown away.
    screen->progress.cellsDirty = screen->progress.marksDirty = 0;
    DestroyApp(g_app);
    g_app = nullptr;
    DestroyFont(g_font);
    g_font = nullptr;
    TerminateDrawing();
    std::error_code ec;
    std::filesystem::remove_all(storage, ec);
    return 0;
}
