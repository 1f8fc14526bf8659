// nonogram: the desktop host. Opens an SDL2 window with a GL ES 2.0 context,
// loads the game module (libnonogram.so) from <program folder>/../lib, and
// feeds it mouse, wheel, touch, keys and window changes. The game's yield blocks in
// SDL's event wait, so an idle game uses no processor time. Dialogs are
// native message boxes shown between passes; links open in the browser.
#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>

#include "hosts/common/extensions.h"
#include "hosts/common/host.h"
#include "hosts/common/options.h"
#include "platform/binding.h"

namespace {

typedef const char* (*EntryFn)(const IwAppDescriptor*);

const char kUsage[] =
    "Usage: nonogram [options]\n"
    "  --size WxH        window size (default 540x960; the window is resizable)\n"
    "  --density R       lay the game out on one surface pixel for every R pixels\n"
    "                    of the window's drawable (default 1)\n"
    "  --os ios|android|desktop   device operating system to simulate (default desktop)\n"
    "  --lang ru|en      device language (default: from the locale)\n"
    "  --data DIR        game data (default: <program folder>/../data)\n"
    "  --module FILE     the game module (default: <program folder>/../lib/libnonogram.so)\n"
    "  --screen main|sizes|puzzles|board   start on that screen (with --puzzle)\n"
    "  --puzzle C[/G[/I]]  size class, grid index and puzzle index for --screen\n"
    "The player's data lives in $XDG_DATA_HOME/nonogram (or ~/.local/share/nonogram).\n";

struct Options : host::CommonOptions {
    Options() {
        width = 540;
        height = 960;
    }
    std::string modulePath;
};

struct Desktop {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    host::TouchSlots fingers;
    // Boxes the game asked for, shown at the next yield.
    std::deque<host::DialogBox> dialogs;
    // The window's pixels are lost (first shown, or back from hidden).
    bool needsRepaint = true;
    double density = 1.0;  // drawable pixels per surface pixel
    int32_t surfaceWidth = 0, surfaceHeight = 0;
};

Desktop g;

// ---------------------------------------------------------------------------
// Surface and coordinates

void UpdateSurfaceSize() {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(g.window, &w, &h);
    g.surfaceWidth = static_cast<int32_t>(std::lround(w / g.density));
    g.surfaceHeight = static_cast<int32_t>(std::lround(h / g.density));
    host::SetSurfaceSize(g.surfaceWidth, g.surfaceHeight, w, h);
}

// Window coordinates to surface pixels (they differ on high-density displays
// and with --density).
void ToSurface(int32_t wx, int32_t wy, int32_t* x, int32_t* y) {
    int ww = 0, wh = 0;
    SDL_GetWindowSize(g.window, &ww, &wh);
    *x = ww > 0 ? static_cast<int32_t>(static_cast<int64_t>(wx) * g.surfaceWidth / ww) : wx;
    *y = wh > 0 ? static_cast<int32_t>(static_cast<int64_t>(wy) * g.surfaceHeight / wh) : wy;
}

// ---------------------------------------------------------------------------
// Input

int32_t KeyCode(SDL_Scancode sc) {
    // By position, so the shortcuts work whatever the keyboard layout.
    switch (sc) {
        case SDL_SCANCODE_ESCAPE:
            return s3eKeyEsc;
        case SDL_SCANCODE_BACKSPACE:
            return s3eKeyBackspace;
        case SDL_SCANCODE_LCTRL:
            return s3eKeyLeftControl;
        case SDL_SCANCODE_RCTRL:
            return s3eKeyRightControl;
        case SDL_SCANCODE_Z:
            return s3eKeyZ;
        case SDL_SCANCODE_F1:
            return s3eKeyF1;
        case SDL_SCANCODE_DELETE:
            return s3eKeyDelete;
        case SDL_SCANCODE_AC_BACK:
            return s3eKeyBack;
        default:
            return -1;
    }
}

void FingerPosition(const SDL_TouchFingerEvent& f, int32_t* x, int32_t* y) {
    *x = static_cast<int32_t>(f.x * static_cast<float>(g.surfaceWidth));
    *y = static_cast<int32_t>(f.y * static_cast<float>(g.surfaceHeight));
}

// A touch screen's fingers are the game's own; a touchpad's move the mouse
// pointer and pinch through SDL's gestures.
bool OnScreen(SDL_TouchID touch) {
    return SDL_GetTouchDeviceType(touch) == SDL_TOUCH_DEVICE_DIRECT;
}

// A wheel notch scrolls a list by a puzzle list's row; with Ctrl held it
// zooms by an eighth of a doubling, as browsers zoom their pages.
constexpr float kNotchPixels = 100.0f;
constexpr float kNotchZoom = 125.0f;
// A touchpad pinch: thousandths of a doubling per unit of SDL's distance
// change (the fingers' spread over the pad's diagonal).
constexpr float kPinchZoom = 4000.0f;

void Wheel(const SDL_MouseWheelEvent& w) {
    if (w.which == SDL_TOUCH_MOUSEID) return;
    float notches = w.preciseY;
    if (w.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
    if (SDL_GetModState() & KMOD_CTRL) {
        host::PointerWheel(0, static_cast<int32_t>(std::lround(notches * kNotchZoom)));
    } else {
        // Turned away from the player, the content moves down.
        host::PointerWheel(static_cast<int32_t>(std::lround(-notches * kNotchPixels)), 0);
    }
}

// Applies one event; true when it should end the yield at once, so that a
// press and its release reach the game in separate passes.
bool Handle(const SDL_Event& e) {
    int32_t x = 0, y = 0;
    switch (e.type) {
        case SDL_QUIT:
            host::RequestQuit();
            return true;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    UpdateSurfaceSize();
                    host::RaiseSurfaceEvent(S3E_SURFACE_SCREENSIZE);
                    return true;
                case SDL_WINDOWEVENT_HIDDEN:
                case SDL_WINDOWEVENT_MINIMIZED:
                    g.needsRepaint = true;
                    return false;
                case SDL_WINDOWEVENT_EXPOSED:
                    // Only when the pixels are really gone: the game's handler
                    // also resets the board's zoom.
                    if (!g.needsRepaint) return false;
                    g.needsRepaint = false;
                    host::RaiseSurfaceEvent(S3E_SURFACE_SCREENSIZE_2);
                    return true;
                default:
                    return false;
            }
        case SDL_DISPLAYEVENT:
            if (e.display.event != SDL_DISPLAYEVENT_ORIENTATION) return false;
            UpdateSurfaceSize();
            host::RaiseSurfaceEvent(S3E_SURFACE_SCREENSIZE);
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (e.button.which == SDL_TOUCH_MOUSEID || e.button.button != SDL_BUTTON_LEFT) {
                return false;
            }
            ToSurface(e.button.x, e.button.y, &x, &y);
            if (e.type == SDL_MOUSEBUTTONDOWN) {
                host::PointerDown(x, y);
                host::TouchDown(0, x, y);
            } else {
                host::PointerUp(x, y);
                host::TouchMove(0, x, y);
                host::TouchUp(0);
            }
            return true;
        case SDL_MOUSEMOTION:
            if (e.motion.which == SDL_TOUCH_MOUSEID) return false;
            ToSurface(e.motion.x, e.motion.y, &x, &y);
            host::PointerMove(x, y);
            host::TouchMove(0, x, y);
            return false;
        case SDL_MOUSEWHEEL:
            Wheel(e.wheel);
            return true;
        case SDL_MULTIGESTURE:
            if (OnScreen(e.mgesture.touchId) || e.mgesture.dDist == 0.0f) return false;
            host::PointerWheel(0, static_cast<int32_t>(std::lround(e.mgesture.dDist * kPinchZoom)));
            return true;
        case SDL_FINGERDOWN:
            if (!OnScreen(e.tfinger.touchId)) return false;
            FingerPosition(e.tfinger, &x, &y);
            return g.fingers.Down(e.tfinger.fingerId, x, y) >= 0;
        case SDL_FINGERMOTION:
            FingerPosition(e.tfinger, &x, &y);
            g.fingers.Move(e.tfinger.fingerId, x, y);
            return false;
        case SDL_FINGERUP:
            FingerPosition(e.tfinger, &x, &y);
            return g.fingers.Up(e.tfinger.fingerId, x, y) >= 0;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            if (e.key.repeat) return false;
            int32_t key = KeyCode(e.key.keysym.scancode);
            if (key < 0) return false;
            if (e.type == SDL_KEYDOWN) {
                host::KeyDown(key);
            } else {
                host::KeyUp(key);
            }
            return true;
        }
        default:
            return false;
    }
}

// ---------------------------------------------------------------------------
// Dialogs

int32_t PresentDialog(const host::DialogBox& box) {
    SDL_MessageBoxButtonData buttons[3];
    int count = 0;
    for (const std::string& b : box.buttons) {
        if (count == 3) break;
        buttons[count].flags = count == 0 ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0;
        buttons[count].buttonid = count;
        buttons[count].text = b.c_str();
        ++count;
    }
    if (count == 0) {
        // A box must be closable; closing without a button answers -1.
        buttons[0] = SDL_MessageBoxButtonData{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, -1, "OK"};
        count = 1;
    }
    SDL_MessageBoxData data{};
    data.flags = SDL_MESSAGEBOX_INFORMATION | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    data.window = g.window;
    data.title = box.title.c_str();
    data.message = box.message.c_str();
    data.numbuttons = count;
    data.buttons = buttons;
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0) {
        std::fprintf(stderr, "warning cannot show a dialog: %s\n", SDL_GetError());
        pressed = -1;
    }
    return pressed;
}

// ---------------------------------------------------------------------------
// Service hooks

void Yield(int32_t ms) {
    host::RunDeferredCallbacks();
    if (!g.dialogs.empty()) {
        // The box is modal; its answer reaches the game in this yield, never
        // inside the call that asked for it.
        host::DialogBox box = g.dialogs.front();
        g.dialogs.pop_front();
        const int32_t answer = PresentDialog(box);
        // The box took the keys' releases (the Escape that asked "Quit?" goes
        // up in it): none of them may look held, or its next press is lost.
        for (int32_t key = 0; key < S3E_KEY_COUNT; ++key)
            host::KeyLost(key);
        host::AnswerDialog(answer);
        return;
    }
    SDL_Event e;
    if (!SDL_WaitEventTimeout(&e, ms < 0 ? 0 : ms)) return;
    if (Handle(e)) return;
    while (SDL_PollEvent(&e)) {
        if (Handle(e)) return;
    }
}

void Show(int32_t) {
    SDL_GL_SwapWindow(g.window);
}

void Log(const char* kind, const char* text) {
    std::fprintf(stderr, "%s %s\n", kind, text ? text : "");
}

// ---------------------------------------------------------------------------

int ParseOptions(int argc, char** argv, Options* o) {
    const int rc = host::ParseCommandLine("nonogram", kUsage, argc, argv, o,
                                          [o](const std::string& name, const char* value) {
                                              if (name != "--module")
                                                  return host::OptionTaken::Unknown;
                                              if (!value) return host::OptionTaken::NeedsValue;
                                              o->modulePath = value;
                                              return host::OptionTaken::WithValue;
                                          });
    if (rc == 0 && o->modulePath.empty()) {
        o->modulePath = host::ExecutableDir() + "/../lib/libnonogram.so";
    }
    return rc;
}

bool OpenWindow(const Options& o) {
    // EGL, so that the module's own libGLESv2 calls reach this context.
    SDL_SetHint(SDL_HINT_VIDEO_X11_FORCE_EGL, "1");
    // Fingers fill touch slots themselves; no mouse events made up from them.
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    const char* kNoWindow =
        "nonogram: cannot open a window (%s); without a display, run "
        "nonogram-headless --script FILE\n";
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, kNoWindow, SDL_GetError());
        return false;
    }
    // Without a display SDL falls back to drivers that show nothing.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (driver && (!asked || !*asked) &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        std::fprintf(stderr, kNoWindow, "no display found");
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    g.window = SDL_CreateWindow(
        "Nonogram", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, o.width, o.height,
        SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    g.context = g.window ? SDL_GL_CreateContext(g.window) : nullptr;
    if (!g.context || SDL_GL_MakeCurrent(g.window, g.context) != 0) {
        std::fprintf(stderr, "nonogram: cannot make a GL ES 2.0 context: %s\n", SDL_GetError());
        return false;
    }
    return true;
}

void CloseWindow() {
    if (g.context) {
        SDL_GL_MakeCurrent(g.window, nullptr);
        SDL_GL_DeleteContext(g.context);
    }
    if (g.window) SDL_DestroyWindow(g.window);
    SDL_Quit();
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (int rc = ParseOptions(argc, argv, &o)) return rc < 0 ? 0 : rc;

    const std::string& modulePath = o.modulePath;
    void* module = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        std::fprintf(stderr, "nonogram: cannot load the game module: %s\n", dlerror());
        return 1;
    }
    auto entry = reinterpret_cast<EntryFn>(dlsym(module, "IwAppEntry"));
    if (!entry) {
        std::fprintf(stderr, "nonogram: %s has no IwAppEntry\n", modulePath.c_str());
        dlclose(module);
        return 1;
    }

    host::HostSetup setup;
    setup.dataDir = o.dataDir;
    setup.documentsDir = host::UserDataDir("nonogram");
    setup.os = o.os;
    setup.language = o.language;
    setup.hooks.yield = &Yield;
    setup.hooks.show = &Show;
    setup.hooks.log = &Log;
    if (!host::ConfigureHost(setup)) {
        std::fprintf(stderr, "nonogram: cannot create the data folder %s\n",
                     setup.documentsDir.c_str());
        dlclose(module);
        return 1;
    }
    host::ApplyStartScreen(o.start);
    host::ExtensionSetup ext;
    ext.onDialog = [](const host::DialogBox& box) { g.dialogs.push_back(box); };
    // SDL hands the address to the system's opener (xdg-open on Linux).
    ext.onLink = [](const std::string& address) {
        if (SDL_OpenURL(address.c_str()) == 0) return true;
        std::fprintf(stderr, "warning cannot open %s: %s\n", address.c_str(), SDL_GetError());
        return false;
    };
    host::InstallExtensions(ext);

    host::ServiceRegistry registry;
    host::RegisterServices(registry);
    if (const char* warning = entry(&registry.Descriptor())) std::fprintf(stderr, "%s", warning);

    int status = 1;
    g.density = o.density;
    if (OpenWindow(o)) {
        UpdateSurfaceSize();
        entry(nullptr);
        status = host::ExitCode() < 0 ? 1 : host::ExitCode();
    }
    CloseWindow();
    dlclose(module);
    return status;
}
