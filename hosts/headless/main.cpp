// nonogram-headless: the game linked in and run on SDL's offscreen video
// driver (real GL ES on Mesa's software renderer, no display, no GPU), with a
// virtual clock, scripted input and storage in a folder of its own. It prints
// one line per thing a player could see, which tests and benchmarks read:
//   frame N WxH drawcalls=D | dialog ID "title" "message" "button"... |
//   link URL | ad admob|chartboost CALL... | warning TEXT
#include <GLES2/gl2.h>
#include <SDL.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "hosts/common/extensions.h"
#include "hosts/common/host.h"
#include "hosts/common/options.h"
#include "hosts/common/png_writer.h"
#include "hosts/common/script.h"
#include "platform/binding.h"

namespace {

namespace fs = std::filesystem;

constexpr uint64_t kDefaultUtcMs = 1700000000000ull;  // a fixed calendar start: runs repeat

const char kUsage[] =
    "Usage: nonogram-headless --script FILE|- [options]\n"
    "Runs the game without a display on a script of user actions and prints one\n"
    "line per thing a player could see.\n"
    "  --script FILE     the script; - reads standard input\n"
    "  --size WxH        surface size in pixels (default 480x800)\n"
    "  --density R       draw the surface on R device pixels per surface pixel, as\n"
    "                    a phone of that pixel ratio would (default 1); shots are\n"
    "                    R times the surface size, script positions stay in it\n"
    "  --os ios|android|desktop   device operating system (default desktop)\n"
    "  --lang ru|en      device language (default: from the locale)\n"
    "  --storage DIR     the player's data folder (default: a fresh temporary one)\n"
    "  --keep            keep the temporary data folder and print where it is\n"
    "  --data DIR        game data (default: <program folder>/../data)\n"
    "  --screen main|sizes|puzzles|board   start on that screen (with --puzzle)\n"
    "  --puzzle C[/G[/I]]  size class, grid index and puzzle index for --screen\n"
    "  --utc MS          calendar time at start, in ms (default 1700000000000)\n"
    "  --without dialog|osexec|admob|chartboost   leave that extension out\n"
    "  --ad-fill yes|no|script   whether the ad services have ads to give (default\n"
    "                    yes); script: each ad loads, fails and closes on the\n"
    "                    script's ad lines\n"
    "Storage faults on purpose:\n"
    "  --fail-writes all|N   every file write fails, or only the N-th (1 = the first)\n"
    "  --fail-rename     every rename fails\n"
    "  --disk-full BYTES the disk takes only BYTES more; a write beyond is cut short\n"
    "  --readonly-storage  nothing in the player's folder can be written or removed\n"
    "Script lines ('#' starts a comment):\n"
    "  tap X Y | press X Y | move X Y | release X Y | drag X1 Y1 X2 Y2 [STEPS]\n"
    "  pinch AX0 AY0 AX1 AY1 BX0 BY0 BX1 BY1 [STEPS] | finger down|move|up SLOT X Y\n"
    "  key escape|back|backspace|delete|f1|ctrl+z\n"
    "  answer BUTTON | ad load|fail|close | resize W H | wait MS | shot FILE.png | quit\n";

struct Options : host::CommonOptions {
    Options() {
        width = 480;
        height = 800;
    }
    std::string scriptPath;
    std::string storage;
    bool keep = false;
    uint64_t utcMs = kDefaultUtcMs;
    host::ExtensionSetup extensions;
    host::StorageFaults faults;
};

// Process-wide state the service hooks reach (they are plain function pointers).
struct Headless {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    GLuint framebuffer = 0, target = 0;  // what the game draws into
    int32_t targetWidth = 0, targetHeight = 0;
    int32_t width = 0, height = 0;  // the surface size the game is told
    double density = 1.0;           // device pixels per surface pixel
    int32_t drawableWidth = 0, drawableHeight = 0;
    uint64_t clockMs = 0;
    uint64_t utcMs = 0;
    int frames = 0;
    bool keepPixels = false;
    std::vector<uint8_t> pixels;  // the last frame shown, rows bottom first
    int32_t pixelsWidth = 0, pixelsHeight = 0;
    host::ScriptPlayer* player = nullptr;
};

Headless g;

void Say(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
}

// ---------------------------------------------------------------------------
// Service hooks

void LogLines(const char* kind, const char* text) {
    std::istringstream lines(text ? text : "");
    bool any = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty()) continue;
        Say(std::string(kind) + " " + line);
        any = true;
    }
    if (!any) Say(kind);
}

void Yield(int32_t) {
    host::RunDeferredCallbacks();
    if (!g.player->Step()) host::RequestQuit();
}

void Show(int32_t drawCalls) {
    ++g.frames;
    Say("frame " + std::to_string(g.frames) + " " + std::to_string(g.width) + "x" +
        std::to_string(g.height) + " drawcalls=" + std::to_string(drawCalls));
    if (g.keepPixels) {
        const int32_t w = g.targetWidth, h = g.targetHeight;
        g.pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, g.pixels.data());
        // Only the part the game was told about counts (a zero-sized surface
        // still has a one-pixel target).
        g.pixelsWidth = std::min(w, g.drawableWidth);
        g.pixelsHeight = std::min(h, g.drawableHeight);
        if (g.pixelsWidth < w) {
            // Keep rows contiguous at the reported width.
            for (int32_t y = 0; y < g.pixelsHeight; ++y) {
                std::memmove(&g.pixels[static_cast<size_t>(y) * g.pixelsWidth * 4],
                             &g.pixels[static_cast<size_t>(y) * w * 4],
                             static_cast<size_t>(g.pixelsWidth) * 4);
            }
        }
    }
    SDL_GL_SwapWindow(g.window);
}

uint64_t TimerMs() {
    return g.clockMs;
}
uint64_t TimerUtc() {
    return g.utcMs + g.clockMs;
}

// ---------------------------------------------------------------------------
// GL surface

SDL_Window* MakeWindow(int32_t width, int32_t height) {
    return SDL_CreateWindow("nonogram-headless", 0, 0, std::max(width, 1), std::max(height, 1),
                            SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
}

// The offscreen driver cannot resize its GL surface, so the game draws into a
// framebuffer object of the surface's current size instead; the engine never
// binds another framebuffer, so this one stays the target.
bool SizeTarget(int32_t width, int32_t height, std::string* error) {
    // GL needs at least one pixel; the game is told the real size.
    const GLsizei w = std::max(width, 1), h = std::max(height, 1);
    if (!g.framebuffer) {
        glGenFramebuffers(1, &g.framebuffer);
        glGenTextures(1, &g.target);
    }
    glBindTexture(GL_TEXTURE_2D, g.target);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, g.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, g.target, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        *error = "cannot make a " + std::to_string(w) + "x" + std::to_string(h) +
                 " framebuffer to draw into";
        return false;
    }
    g.targetWidth = w;
    g.targetHeight = h;
    return true;
}

// A surface side in device pixels.
int32_t DrawableSide(int32_t side) {
    return static_cast<int32_t>(std::lround(side * g.density));
}

bool Resize(int32_t width, int32_t height, std::string* error) {
    const int32_t dw = DrawableSide(width), dh = DrawableSide(height);
    if (std::max(dw, dh) > host::kMaxSurfaceSide) {
        *error = "a surface of " + std::to_string(width) + "x" + std::to_string(height) +
                 " at this density has more than " + std::to_string(host::kMaxSurfaceSide) +
                 " device pixels on a side";
        return false;
    }
    if (!SizeTarget(dw, dh, error)) return false;
    g.width = width;
    g.height = height;
    g.drawableWidth = dw;
    g.drawableHeight = dh;
    host::SetSurfaceSize(width, height, dw, dh);
    return true;
}

bool Shot(const std::string& path, std::string* error) {
    if (g.frames == 0 || g.pixels.empty()) {
        *error = "no frame has been shown yet";
        return false;
    }
    return host::WritePng(path, g.pixels.data(), g.pixelsWidth, g.pixelsHeight, true, error);
}

// ---------------------------------------------------------------------------
// Options

bool ParseUtc(const std::string& text, uint64_t* out) {
    if (text.empty() || text.size() > 16 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *out = std::strtoull(text.c_str(), nullptr, 10);
    return true;
}

// Decimal digits only, at most 18 of them.
bool ParseCount(const std::string& text, int64_t* value) {
    if (text.empty() || text.size() > 18) return false;
    int64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    *value = v;
    return true;
}

// A headless option: how it was taken.
host::OptionTaken OwnOption(Options* o, const std::string& a, const char* value) {
    using T = host::OptionTaken;
    if (a == "--keep") {
        o->keep = true;
        return T::Flag;
    }
    if (a == "--fail-rename" || a == "--readonly-storage") {
        (a == "--fail-rename" ? o->faults.failRename : o->faults.readOnlyDocuments) = true;
        return T::Flag;
    }
    bool ok = true;
    const std::string v = value ? value : "";
    if (a == "--script") {
        o->scriptPath = v;
    } else if (a == "--storage") {
        o->storage = v;
    } else if (a == "--utc") {
        ok = ParseUtc(v, &o->utcMs);
    } else if (a == "--without") {
        host::ExtensionSetup& e = o->extensions;
        bool* which = v == "dialog"       ? &e.dialog
                      : v == "osexec"     ? &e.osExec
                      : v == "admob"      ? &e.adMob
                      : v == "chartboost" ? &e.chartBoost
                                          : nullptr;
        ok = which != nullptr;
        if (ok) *which = false;
    } else if (a == "--fail-writes") {
        o->faults.failWrites = v == "all";
        ok = o->faults.failWrites ||
             (ParseCount(v, &o->faults.failWriteNumber) && o->faults.failWriteNumber > 0);
    } else if (a == "--disk-full") {
        ok = ParseCount(v, &o->faults.diskFreeBytes);
    } else if (a == "--ad-fill") {
        ok = v == "yes" || v == "no" || v == "script";
        o->extensions.adFill = v == "yes"  ? host::AdFill::Always
                               : v == "no" ? host::AdFill::Never
                                           : host::AdFill::Scripted;
    } else {
        return T::Unknown;
    }
    if (!value) return T::NeedsValue;
    return ok ? T::WithValue : T::BadValue;
}

// Gives 0 to go on, else the exit status.
int ParseOptions(int argc, char** argv, Options* o) {
    o->extensions.adMob = o->extensions.chartBoost = true;
    const int rc = host::ParseCommandLine(
        "nonogram-headless", kUsage, argc, argv, o,
        [o](const std::string& name, const char* value) { return OwnOption(o, name, value); });
    if (rc == 0 && o->scriptPath.empty()) {
        std::fprintf(stderr, "nonogram-headless: --script FILE is required (see --help)\n");
        return 2;
    }
    return rc;
}

bool ReadScript(const std::string& path, std::string* text) {
    if (path == "-") {
        text->assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return !std::cin.bad();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string MakeTempStorage() {
    std::error_code ec;
    std::string tmpl = (fs::temp_directory_path(ec) / "nonogram-headless-XXXXXX").string();
    if (ec) tmpl = "/tmp/nonogram-headless-XXXXXX";
    char* made = mkdtemp(tmpl.data());
    return made ? std::string(made) : std::string();
}

int Run(const Options& o, host::Script script) {
    host::ScriptEffects effects;
    effects.resize = &Resize;
    effects.shot = &Shot;
    effects.wait = [](uint32_t ms) { g.clockMs += ms; };
    g.keepPixels = script.hasShot;
    host::ScriptPlayer player(std::move(script), effects);
    g.player = &player;

    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "nonogram-headless: cannot start SDL's offscreen video: %s\n",
                     SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    g.density = o.density;
    g.utcMs = o.utcMs;
    g.window = MakeWindow(1, 1);
    g.context = g.window ? SDL_GL_CreateContext(g.window) : nullptr;
    if (!g.context || SDL_GL_MakeCurrent(g.window, g.context) != 0) {
        std::fprintf(stderr, "nonogram-headless: cannot make a GL ES 2.0 context: %s\n",
                     SDL_GetError());
        if (g.window) SDL_DestroyWindow(g.window);
        SDL_Quit();
        return 1;
    }
    std::string targetError;
    if (!Resize(o.width, o.height, &targetError)) {
        std::fprintf(stderr, "nonogram-headless: %s\n", targetError.c_str());
        return 1;
    }

    host::HostSetup setup;
    setup.dataDir = o.dataDir;
    setup.documentsDir = o.storage;
    setup.os = o.os;
    setup.language = o.language;
    setup.hooks.yield = &Yield;
    setup.hooks.show = &Show;
    setup.hooks.timerMs = &TimerMs;
    setup.hooks.timerUtc = &TimerUtc;
    setup.hooks.log = &LogLines;
    int status = 0;
    if (!host::ConfigureHost(setup)) {
        std::fprintf(stderr, "nonogram-headless: cannot create the storage folder %s\n",
                     o.storage.c_str());
        status = 1;
    } else {
        host::SetStorageFaults(o.faults);
        host::SetSurfaceSize(o.width, o.height, g.drawableWidth, g.drawableHeight);
        host::ApplyStartScreen(o.start);
        host::ExtensionSetup ext = o.extensions;
        ext.onDialog = [](const host::DialogBox& box) {
            std::string line = "dialog " + std::to_string(box.id) + " " +
                               host::QuoteForLog(box.title) + " " + host::QuoteForLog(box.message);
            for (const auto& b : box.buttons)
                line += " " + host::QuoteForLog(b);
            Say(line);
        };
        ext.onLink = [](const std::string& address) {
            Say("link " + address);
            return true;
        };
        ext.onAd = [](const std::string& line) { Say("ad " + line); };
        host::InstallExtensions(ext);

        host::ServiceRegistry registry;
        host::RegisterServices(registry);
        if (const char* warning = IwAppEntry(&registry.Descriptor())) LogLines("warning", warning);
        IwAppEntry(nullptr);

        if (player.Failed()) {
            std::fprintf(stderr, "%s\n", player.Error().c_str());
            status = 1;
        } else if (host::ExitCode() < 0) {
            std::fprintf(stderr, "nonogram-headless: the game ended without a result\n");
            status = 1;
        } else {
            status = host::ExitCode();
        }
    }
    // The GL context, window and SDL stay until the process ends, moments
    // later: tearing the graphics stack down drops allocations of its own
    // that the sanitizer build would report as leaks.
    g.player = nullptr;
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IOLBF, 0);
    Options o;
    if (int rc = ParseOptions(argc, argv, &o)) return rc < 0 ? 0 : rc;

    std::string text;
    if (!ReadScript(o.scriptPath, &text)) {
        std::fprintf(stderr, "nonogram-headless: cannot read the script %s\n",
                     o.scriptPath.c_str());
        return 2;
    }
    host::Script script;
    std::string error;
    if (!host::ParseScript(text, o.scriptPath, &script, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }

    bool temporary = o.storage.empty();
    if (temporary) {
        o.storage = MakeTempStorage();
        if (o.storage.empty()) {
            std::fprintf(stderr, "nonogram-headless: cannot make a temporary storage folder\n");
            return 1;
        }
    }
    int status = Run(o, std::move(script));
    if (temporary) {
        if (o.keep) {
            std::fprintf(stderr, "nonogram-headless: storage kept in %s\n", o.storage.c_str());
        } else {
            std::error_code ec;
            fs::remove_all(o.storage, ec);
        }
    }
    return status;
}
