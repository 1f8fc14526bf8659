// nonogram on the web: the browser host. The game module is linked in and run
// on a WebGL 1 canvas (GL ES 2 through Emscripten) that fills the page at the
// device pixel ratio; the game lays out on a surface of at most
// kLayoutDensity pixels per CSS pixel, which the engine draws at the canvas's
// full resolution. The game's blocking main loop stays as it is: its yield
// suspends the module (ASYNCIFY) until a page event or its time-out, so an
// idle game uses no processor time. Touch, mouse and keys arrive through
// html5.h; the browser's Back, dialog answers and the like through the queue
// of library.js, read between passes. The player's data is an IndexedDB
// folder, written back after every completed save.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "hosts/common/extensions.h"
#include "hosts/common/host.h"
#include "hosts/common/options.h"
#include "platform/binding.h"

extern "C" {
// library.js
void web_wait(int32_t ms);
void web_wake(void);
void web_data_wanted(const char* path);
int32_t web_next_event(int32_t* value);
int32_t web_trace_enabled(void);
int32_t web_query_value(const char* name, char* out, int32_t size);
void web_session_set(const char* name, const char* value);
int32_t web_session_get(const char* name, char* out, int32_t size);
int32_t web_page_returned(void);
void web_log(const char* kind, const char* text);
int32_t web_device_os(void);
int32_t web_device_russian(void);
void web_storage_sync(void);
int32_t web_open_url(const char* address);
void web_show_dialog(const char* title, const char* message, const char* const* buttons,
                     int32_t count);
void web_first_frame(void);
void web_game_ended(int32_t code);
}

namespace {

const char kCanvas[] = "#canvas";

// Surface pixels per CSS pixel, on screens at least this dense. The layouts
// give their buttons and list cells 96 to 100 pixels and the board's toolbar
// eight 96-pixel buttons with 10-pixel gaps: on a 390-pixel-wide phone those
// fit along the bottom edge from 2.155 pixels per CSS pixel on, and stay 44
// CSS pixels (a thumb's target) up to 2.18. Less dense screens lay out pixel
// for pixel, as do the desktop's.
constexpr double kLayoutDensity = 2.16;

// Kinds of the page events in library.js's queue.
enum PageEvent { kEventBack = 1, kEventDialogAnswer = 2 };

struct Web {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    bool trace = false;
    // Set by the html5 handlers, acted on between passes.
    bool inputArrived = false;
    bool resizePending = false;
    bool documentsDirty = false;
    // The dialog the page shows (the oldest open one), if any.
    bool dialogShown = false;
    // The surface the game lays out on.
    int surfaceWidth = 0, surfaceHeight = 0;
    host::TouchSlots touches;
    // The mouse button went down on the canvas and is still held.
    bool mouseHeld = false;
    int frames = 0;
};

Web g;

void Trace(const std::string& line) {
    if (g.trace) web_log("host", line.c_str());
}

// ---------------------------------------------------------------------------
// Surface

// Sizes the canvas's pixels to its place on the page at the device pixel
// ratio, and the surface at the layout density; true when either changed.
bool FitCanvas() {
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size(kCanvas, &cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    const double density = std::min(ratio, kLayoutDensity);
    const int width = static_cast<int>(cssWidth * ratio + 0.5);
    const int height = static_cast<int>(cssHeight * ratio + 0.5);
    const int surfaceWidth = static_cast<int>(cssWidth * density + 0.5);
    const int surfaceHeight = static_cast<int>(cssHeight * density + 0.5);
    int oldWidth = 0, oldHeight = 0;
    emscripten_get_canvas_element_size(kCanvas, &oldWidth, &oldHeight);
    host::SetSurfaceSize(surfaceWidth, surfaceHeight, width, height);
    if (width == oldWidth && height == oldHeight && surfaceWidth == g.surfaceWidth &&
        surfaceHeight == g.surfaceHeight)
        return false;
    g.surfaceWidth = surfaceWidth;
    g.surfaceHeight = surfaceHeight;
    if (width != oldWidth || height != oldHeight)
        emscripten_set_canvas_element_size(kCanvas, width, height);
    Trace("surface " + std::to_string(surfaceWidth) + "x" + std::to_string(surfaceHeight) +
          " canvas " + std::to_string(width) + "x" + std::to_string(height));
    return true;
}

// Page (CSS) coordinates on the canvas to surface pixels.
void ToSurface(long cssX, long cssY, int32_t* x, int32_t* y) {
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size(kCanvas, &cssWidth, &cssHeight);
    *x = cssWidth > 0 ? static_cast<int32_t>(static_cast<double>(cssX) * g.surfaceWidth / cssWidth)
                      : 0;
    *y = cssHeight > 0
             ? static_cast<int32_t>(static_cast<double>(cssY) * g.surfaceHeight / cssHeight)
             : 0;
}

bool OpenCanvas() {
    EmscriptenWebGLContextAttributes attrs;
    emscripten_webgl_init_context_attributes(&attrs);
    attrs.alpha = EM_FALSE;
    attrs.depth = EM_FALSE;
    attrs.stencil = EM_FALSE;
    attrs.antialias = EM_FALSE;
    attrs.majorVersion = 1;
    attrs.enableExtensionsByDefault = EM_FALSE;
    // The loop draws only when something changed; the last frame must stay.
    attrs.preserveDrawingBuffer = EM_TRUE;
    g.context = emscripten_webgl_create_context(kCanvas, &attrs);
    if (g.context <= 0) return false;
    emscripten_webgl_make_context_current(g.context);
    FitCanvas();
    return true;
}

// ---------------------------------------------------------------------------
// Input

void Woken() {
    g.inputArrived = true;
    web_wake();
}

EM_BOOL OnTouch(int type, const EmscriptenTouchEvent* e, void*) {
    for (int i = 0; i < e->numTouches; ++i) {
        const EmscriptenTouchPoint& t = e->touches[i];
        if (!t.isChanged) continue;
        int32_t x = 0, y = 0;
        ToSurface(t.targetX, t.targetY, &x, &y);
        const char* what = "move";
        int32_t slot = -1;
        if (type == EMSCRIPTEN_EVENT_TOUCHSTART) {
            slot = g.touches.Down(t.identifier, x, y);
            what = "down";
        } else if (type == EMSCRIPTEN_EVENT_TOUCHMOVE) {
            slot = g.touches.Move(t.identifier, x, y);
        } else {
            // Ended, or cancelled because a system gesture took the finger.
            slot = g.touches.Up(t.identifier, x, y);
            what = "up";
        }
        if (slot < 0) continue;
        Trace("touch " + std::to_string(slot) + " " + what + " " + std::to_string(x) + " " +
              std::to_string(y));
    }
    Woken();
    // Handled: no page scroll or zoom, and no mouse events made up from it.
    return EM_TRUE;
}

EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* e, void*) {
    if (e->button != 0 && type != EMSCRIPTEN_EVENT_MOUSEMOVE) return EM_FALSE;
    // A finger holds the primary pointer: the mouse waits.
    if (g.touches.Held(0)) return EM_FALSE;
    int32_t x = 0, y = 0;
    ToSurface(e->targetX, e->targetY, &x, &y);
    const char* what = "move";
    if (type == EMSCRIPTEN_EVENT_MOUSEDOWN) {
        g.mouseHeld = true;
        host::PointerDown(x, y);
        host::TouchDown(0, x, y);
        what = "down";
    } else if (type == EMSCRIPTEN_EVENT_MOUSEUP) {
        // A click elsewhere on the page (the dialog's buttons) is not the game's.
        if (!g.mouseHeld) return EM_FALSE;
        g.mouseHeld = false;
        host::PointerUp(x, y);
        host::TouchMove(0, x, y);
        host::TouchUp(0);
        what = "up";
    } else {
        if (!g.mouseHeld) return EM_FALSE;  // hovering changes nothing
        host::PointerMove(x, y);
        host::TouchMove(0, x, y);
    }
    Trace(std::string("mouse ") + what + " " + std::to_string(x) + " " + std::to_string(y));
    Woken();
    return EM_TRUE;
}

// A wheel: lists scroll by as many CSS pixels as the page would have (lines
// and pages as the page's own); with Ctrl, which is also how a touchpad's
// pinch arrives, it zooms by the browser's own measure of a pinch: a factor
// of e^(-deltaY / 100), at most an eighth of a doubling per event.
EM_BOOL OnWheel(int, const EmscriptenWheelEvent* e, void*) {
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size(kCanvas, &cssWidth, &cssHeight);
    double dy = e->deltaY;
    if (e->deltaMode == DOM_DELTA_LINE) dy *= 33.0;
    if (e->deltaMode == DOM_DELTA_PAGE) dy *= cssHeight;
    int32_t x = 0, y = 0;
    ToSurface(e->mouse.targetX, e->mouse.targetY, &x, &y);
    // The zoom happens about the pointer; a held button or finger keeps its own.
    if (!g.mouseHeld && !g.touches.Held(0)) host::PointerMove(x, y);
    if (e->mouse.ctrlKey) {
        const double zoom = -dy / 100.0 / std::log(2.0) * 1000.0;
        host::PointerWheel(0, static_cast<int32_t>(std::lround(std::clamp(zoom, -125.0, 125.0))));
    } else if (cssHeight > 0) {
        host::PointerWheel(static_cast<int32_t>(std::lround(dy * g.surfaceHeight / cssHeight)), 0);
    }
    Trace("wheel " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(dy) +
          (e->mouse.ctrlKey ? " zoom" : ""));
    Woken();
    // Neither the page nor the browser's zoom moves.
    return EM_TRUE;
}

// By position on the keyboard, so the shortcuts work whatever the layout.
int32_t KeyCode(const char* code) {
    static const struct {
        const char* code;
        int32_t key;
    } kKeys[] = {
        {"Escape", s3eKeyEsc},
        {"Backspace", s3eKeyBackspace},
        {"ControlLeft", s3eKeyLeftControl},
        {"ControlRight", s3eKeyRightControl},
        {"KeyZ", s3eKeyZ},
        {"F1", s3eKeyF1},
        {"Delete", s3eKeyDelete},
        {"BrowserBack", s3eKeyBack},
    };
    for (const auto& k : kKeys) {
        if (std::strcmp(code, k.code) == 0) return k.key;
    }
    return -1;
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void*) {
    const int32_t key = KeyCode(e->code);
    if (key < 0) return EM_FALSE;
    // The page's dialog has the keys while it is up. A key the game saw go
    // down (Escape, which opened the dialog) is still let go, or its next
    // press would not count as one.
    if (g.dialogShown) {
        if (type == EMSCRIPTEN_EVENT_KEYUP) host::KeyLost(key);
        return EM_FALSE;
    }
    if (e->repeat) return EM_TRUE;
    const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    if (down) {
        host::KeyDown(key);
    } else {
        host::KeyUp(key);
    }
    Trace("key " + std::to_string(key) + (down ? " down" : " up"));
    Woken();
    // Backspace, F1 and the like do nothing else in the page.
    return EM_TRUE;
}

EM_BOOL OnResize(int, const void*, void*) {
    g.resizePending = true;
    web_wake();
    return EM_FALSE;
}

EM_BOOL OnUiResize(int type, const EmscriptenUiEvent* e, void* user) {
    return OnResize(type, e, user);
}

EM_BOOL OnOrientation(int type, const EmscriptenOrientationChangeEvent* e, void* user) {
    return OnResize(type, e, user);
}

void ListenToPage() {
    emscripten_set_touchstart_callback(kCanvas, nullptr, EM_TRUE, &OnTouch);
    emscripten_set_touchmove_callback(kCanvas, nullptr, EM_TRUE, &OnTouch);
    emscripten_set_touchend_callback(kCanvas, nullptr, EM_TRUE, &OnTouch);
    emscripten_set_touchcancel_callback(kCanvas, nullptr, EM_TRUE, &OnTouch);
    emscripten_set_mousedown_callback(kCanvas, nullptr, EM_TRUE, &OnMouse);
    emscripten_set_mousemove_callback(kCanvas, nullptr, EM_TRUE, &OnMouse);
    emscripten_set_wheel_callback(kCanvas, nullptr, EM_TRUE, &OnWheel);
    // On the window, so a release outside the canvas still ends the press.
    emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, &OnMouse);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, &OnKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, &OnKey);
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, &OnUiResize);
    emscripten_set_orientationchange_callback(nullptr, EM_FALSE, &OnOrientation);
}

// ---------------------------------------------------------------------------
// Dialogs

void ShowOldestDialog() {
    const host::DialogBox* box = host::OpenDialog();
    if (g.dialogShown || !box) return;
    const char* buttons[3] = {};
    int32_t count = 0;
    for (const std::string& b : box->buttons) {
        if (count < 3) buttons[count++] = b.c_str();
    }
    Trace("dialog " + std::to_string(box->id) + " " + host::QuoteForLog(box->title) + " " +
          host::QuoteForLog(box->message));
    web_show_dialog(box->title.c_str(), box->message.c_str(), buttons, count);
    g.dialogShown = true;
}

// ---------------------------------------------------------------------------
// Service hooks

// Applies what arrived since the last pass; true when anything did.
bool ApplyPageEvents() {
    bool any = g.inputArrived;
    g.inputArrived = false;
    if (g.resizePending) {
        g.resizePending = false;
        // A new canvas size clears its pixels: the game redraws at once.
        if (FitCanvas()) host::RaiseSurfaceEvent(S3E_SURFACE_SCREENSIZE);
        any = true;
    }
    int32_t value = 0;
    while (int32_t kind = web_next_event(&value)) {
        any = true;
        if (kind == kEventBack) {
            // The device Back key, acted on when released: both in one pass.
            host::KeyDown(s3eKeyBack);
            host::KeyUp(s3eKeyBack);
            Trace("key 126 back");
        } else if (kind == kEventDialogAnswer) {
            g.dialogShown = false;
            Trace("answer " + std::to_string(value));
            host::AnswerDialog(value);
        }
    }
    return any;
}

void Yield(int32_t ms) {
    host::RunDeferredCallbacks();
    if (g.documentsDirty) {
        // Once per pass: a save of several files is written back as one.
        g.documentsDirty = false;
        web_storage_sync();
    }
    ShowOldestDialog();
    if (ApplyPageEvents() || host::PointerStepsWaiting()) return;
    web_wait(ms);
    ApplyPageEvents();
}

void Show(int32_t drawCalls) {
    // The browser presents the canvas when the module next sleeps.
    if (++g.frames == 1) web_first_frame();
    Trace("frame " + std::to_string(g.frames) + " " + std::to_string(g.surfaceWidth) + "x" +
          std::to_string(g.surfaceHeight) + " drawcalls=" + std::to_string(drawCalls));
}

void Log(const char* kind, const char* text) {
    web_log(kind, text ? text : "");
}

void DocumentsChanged() {
    g.documentsDirty = true;
}

// The game tells where the player is whenever that changes, as the place a
// new start should begin at; the tab's session keeps it for a reload.
void ConfigChanged(const char* group, const char* name, const char* value) {
    if (std::strcmp(group, "nonogram") != 0) return;
    if (std::strcmp(name, "StartScreen") == 0 || std::strcmp(name, "StartPuzzle") == 0) {
        web_session_set(name, value);
    }
}

// Where the game starts: a page that is the same one again (a reload, or a
// tab the phone discarded in the background) returns to the player's place
// in its session; else the debug start screen of the other hosts' --screen
// and --puzzle, from the address (?screen=board&puzzle=0/0/0), else the
// session's place. Bad values are ignored with a warning.
void ApplyStartScreen() {
    char value[64];
    host::StartScreen address, session;
    if (web_query_value("screen", value, sizeof value)) address.screen = value;
    if (web_query_value("puzzle", value, sizeof value)) address.puzzle = value;
    if (web_session_get("StartScreen", value, sizeof value)) session.screen = value;
    if (web_session_get("StartPuzzle", value, sizeof value)) session.puzzle = value;
    const bool fromSession =
        !session.screen.empty() && (web_page_returned() || address.screen.empty());
    const host::StartScreen& start = fromSession ? session : address;
    if (start.screen.empty()) return;
    if (!host::ParseStartScreenName(start.screen) ||
        (!start.puzzle.empty() && !host::ParsePuzzleAddress(start.puzzle))) {
        web_log("warning", fromSession
                               ? "nonogram: the screen or puzzle of this session is not known"
                               : "nonogram: the screen or puzzle in the address is not known");
        return;
    }
    Trace("start screen " + start.screen + " " + start.puzzle +
          (fromSession ? " (session)" : " (address)"));
    host::ApplyStartScreen(start);
}

}  // namespace

int main() {
    g.trace = web_trace_enabled() != 0;

    host::HostSetup setup;
    setup.dataDir = "/data";
    setup.documentsDir = "/Documents";
    setup.os = web_device_os();
    setup.language = web_device_russian() ? host::kLanguageRussian : host::kLanguageEnglish;
    setup.hooks.yield = &Yield;
    setup.hooks.show = &Show;
    setup.hooks.log = &Log;
    setup.hooks.documentsChanged = &DocumentsChanged;
    setup.hooks.dataWanted = &web_data_wanted;
    setup.hooks.configChanged = &ConfigChanged;
    host::ConfigureHost(setup);
    ApplyStartScreen();

    // Dialogs (shown at the next yield) and links; no ad services on the web.
    host::ExtensionSetup ext;
    ext.onLink = [](const std::string& address) {
        Trace("link " + address);
        return web_open_url(address.c_str()) != 0;
    };
    host::InstallExtensions(ext);

    host::ServiceRegistry registry;
    host::RegisterServices(registry);
    if (const char* warning = IwAppEntry(&registry.Descriptor())) web_log("warning", warning);

    if (!OpenCanvas()) {
        web_log("warning", "nonogram: this browser offers no WebGL");
        web_game_ended(1);
        return 1;
    }
    ListenToPage();
    Trace("start os=" + std::to_string(setup.os) + " language=" + std::to_string(setup.language));
    IwAppEntry(nullptr);
    const int32_t status = host::ExitCode() < 0 ? 1 : host::ExitCode();
    web_storage_sync();
    web_game_ended(status);
    return status;
}
